#include "file_bytes.h"
#include "files/ini_file.h"
#include "params/param_catalogue.h"
#include "pdf_text.h"
#include "sim_process.h"
#include "tool_session.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

// zarn-tool --batch as a script runs it: a copy of the program in a folder of its own (so its
// тп.ini, mapping COM1, lies beside it and no user file is touched), no display, against
// zarn-sim over a pseudo-terminal.
namespace {
const QString kSection = "Parameters";

struct Outcome {
    int exit_code = -1;
    QStringList lines; // standard output
    QString errors;    // standard error
    qint64 ms = 0;
};

class BatchTool {
public:
    BatchTool() {
        QFile::copy(qEnvironmentVariable("ZARN_TOOL"), path("zarn-tool"));
        QFile::setPermissions(path("zarn-tool"), QFile::ReadOwner | QFile::ExeOwner);
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    void mapCom1(const QString& device) const { WriteToolConfig(folder.path(), device); }

    Outcome run(const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(display);
        env.insert("HOME", folder.path());
        env.insert("XDG_DATA_HOME", path("data"));
        env.insert("LC_ALL", "C.UTF-8");
        tool.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        tool.start(path("zarn-tool"), QStringList{"--backup-dir", path("backups")} + arguments);
        tool.waitForFinished(60000);
        return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
                QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(tool.readAllStandardError()), clock.elapsed()};
    }

private:
    QTemporaryDir folder;
};

// A parameter's value as the controller's EEPROM holds it, found through the catalogue.
int StoredValue(const QByteArray& eeprom, const ParamCatalogue& catalogue, int n) {
    int value = 0;
    for (int k = 0; k < catalogue.param_size[n]; ++k)
        value = value << 8 | static_cast<quint8>(eeprom[catalogue.param_address[n] + k]);
    const int span = 1 << (8 * catalogue.param_size[n]);
    return catalogue.param_scale[n] < 0 && value >= span / 2 ? value - span : value;
}

// A parameter of each size, sign and factor: the text written, as shown back, as stored.
struct Edit {
    int n;
    QString text;
    int stored;
};
const QList<Edit> kEdits = {{2, "1230", 123},    {10, "65535", 65535}, {53, "-12.5", -125},
                            {69, "-40.2", -402}, {328, "-10", -10},    {494, "1023", 1023}};
} // namespace

class BatchModeTest : public QObject {
    Q_OBJECT
private slots:
    // read → edit → write → compare, then compare with the file from before the write.
    void readWriteCompare() {
        SimProcess sim;
        const QString eeprom = sim.filePath("eeprom.bin");
        QVERIFY2(sim.start({"--eeprom-file", eeprom}), qPrintable(sim.errorText()));
        BatchTool tool;
        tool.mapCom1(sim.linkPath());
        const QString before = tool.path("до.ini"), edited = tool.path("после.ini");

        const Outcome read = tool.run({"--batch", "read", before});
        QVERIFY2(read.exit_code == 0, qPrintable(read.errors));
        QVERIFY(QFile::copy(before, edited));
        QStringList differing;
        for (const Edit& e : kEdits) {
            QVERIFY(WriteIniValue(edited, kSection, QString("PAR%1").arg(e.n), e.text));
            differing << QString("%1;%2;%3")
                             .arg(e.n)
                             .arg(e.text,
                                  ReadIniValue(before, kSection, QString("PAR%1").arg(e.n), ""));
        }

        const Outcome write = tool.run({"--batch", "write", edited, "--port", "1"});
        QVERIFY2(write.exit_code == 0, qPrintable(write.errors));
        QVERIFY2(write.errors.contains("Проверка записи: все 506 параметров записаны верно"),
                 qPrintable(write.errors));
        const QStringList backups = QDir(tool.path("backups")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(FileBytes(tool.path("backups/" + backups[0])), FileBytes(before));
        ParamCatalogue catalogue;
        catalogue.BuildParamCatalogue();
        for (const Edit& e : kEdits)
            QCOMPARE(StoredValue(FileBytes(eeprom), catalogue, e.n), e.stored);

        const Outcome same = tool.run({"--batch", "compare", edited, "--address", "7"});
        QCOMPARE(same.exit_code, 0);
        QCOMPARE(same.lines, QStringList());
        const Outcome changed = tool.run({"--batch", "compare", before});
        QCOMPARE(changed.exit_code, 1);
        QCOMPARE(changed.lines, differing);

        const Outcome report = tool.run({"--batch", "report", tool.path("отчёт.pdf")});
        QVERIFY2(report.exit_code == 0, qPrintable(report.errors));
        const QString pages = PdfPages(tool.path("отчёт.pdf")).join('\n');
        QVERIFY(pages.contains("Параметры контроллера ЗАРН") && pages.contains("COM1"));
        QVERIFY(pages.contains(QRegularExpression("\\b494\\b.*\\b1023\\b.*из ЭСППЗУ")));
        qInfo(
            "batch read %.1f s (59 frames: 5.9 s), write %.1f s (1 + 59 + 61 + 59 frames: 18.0 s)",
            read.ms / 1000.0, write.ms / 1000.0);
    }

    void nobodyAnswers_data() {
        QTest::addColumn<bool>("pty");
        QTest::newRow("a line nobody answers on") << true;
        QTest::newRow("a port mapped to nothing") << false;
    }
    void nobodyAnswers() {
        QFETCH(bool, pty);
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        BatchTool tool;
        QVERIFY(QFile::link(::ptsname(master), tool.path("tty")));
        tool.mapCom1(tool.path(pty ? "tty" : "no-such-device"));
        const Outcome outcome = tool.run({"--batch", "read", tool.path("p.ini")});
        ::close(master);
        QCOMPARE(outcome.exit_code, 2);
        QVERIFY2(outcome.ms < 10000, qPrintable(QString::number(outcome.ms)));
        QVERIFY(!QFile::exists(tool.path("p.ini")));
    }

    // Nothing reaches a port: COM1 leads nowhere, so an exit 2 would show a refusal missed.
    void badArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        const QString file = "p.ini";
        QTest::newRow("unknown command") << QStringList{"--batch", "load", file} << "load";
        QTest::newRow("no file") << QStringList{"--batch", "read"} << "один файл";
        QTest::newRow("port 0") << QStringList{"--batch", "read", file, "--port", "0"} << "255";
        QTest::newRow("address 128")
            << QStringList{"--batch", "read", file, "--address", "128"} << "127";
        QTest::newRow("unknown option") << QStringList{"--batch", "read", file, "--fast"} << "fast";
        QTest::newRow("file missing") << QStringList{"--batch", "write", "нет.ini"} << "нет.ini";
        QTest::newRow("file lacks a key")
            << QStringList{"--batch", "write", "partial.ini"} << "нет значений 1 параметров";
        QTest::newRow("values no parameter holds")
            << QStringList{"--batch", "write", "unfit.ini"} << "параметров 5, 23, 504 не числа";
        QTest::newRow("compare, file missing")
            << QStringList{"--batch", "compare", "нет.ini"} << "нет.ini";
    }
    void badArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, said);
        BatchTool tool;
        tool.mapCom1(tool.path("no-such-device"));
        QString partial = "[Parameters]\r\n";
        for (int i = 0; i < kParamCount - 1; ++i)
            partial += QString("PAR%1=0\r\n").arg(i);
        WriteFileBytes(tool.path("partial.ini"), partial.toUtf8());
        WriteFileBytes(tool.path("unfit.ini"), (partial + "PAR505=0\r\n").toUtf8());
        for (const auto& [key, text] :
             {std::pair{"PAR5", "abc"}, {"PAR23", "128"}, {"PAR504", "99999999"}})
            QVERIFY(WriteIniValue(tool.path("unfit.ini"), kSection, key, text));
        for (QString& argument : arguments)
            if (argument.endsWith(".ini"))
                argument = tool.path(argument);
        const Outcome outcome = tool.run(arguments);
        QCOMPARE(outcome.exit_code, 3);
        QVERIFY2(outcome.errors.contains(said), qPrintable(outcome.errors));
    }
};

QTEST_GUILESS_MAIN(BatchModeTest)
#include "test_batch_mode.moc"
