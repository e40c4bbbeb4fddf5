#include "disk/ini_file.h"
#include "file_bytes.h"
#include "files/parameter_file.h"
#include "params/param_catalogue.h"
#include "pdf_text.h"
#include "sim_process.h"
#include "tool_session.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <functional>
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
        QDir(folder.path()).mkdir("backups");
        QFile::copy(qEnvironmentVariable("ZARN_TOOL"), path("zarn-tool"));
        QFile::setPermissions(path("zarn-tool"), QFile::ReadOwner | QFile::ExeOwner);
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    void mapCom1(const QString& device) const { WriteToolConfig(folder.path(), device); }

    // `onTerminal`: standard error on a pseudo-terminal, as a user at a console has it.
    // `watch` sees standard error (of a pipe) as it grows.
    Outcome run(const QStringList& arguments, bool onTerminal = false,
                const char* locale = "C.UTF-8",
                const std::function<void(const QString&)>& watch = {}) const {
        QProcess tool;
        const int master = onTerminal ? ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK) : -1;
        if (onTerminal) {
            ::grantpt(master);
            ::unlockpt(master);
            const QByteArray slave = ::ptsname(master);
            tool.setChildProcessModifier(
                [slave] { ::dup2(::open(slave.constData(), O_RDWR | O_NOCTTY), STDERR_FILENO); });
        }
        QByteArray terminal, errors;
        const auto drain = [&] {
            char bytes[4096];
            for (ssize_t n; master >= 0 && (n = ::read(master, bytes, sizeof bytes)) > 0;)
                terminal.append(bytes, n);
            errors += tool.readAllStandardError();
            if (watch)
                watch(QString::fromUtf8(errors));
        };
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(display);
        env.insert("HOME", folder.path());
        env.insert("XDG_DATA_HOME", path("data"));
        env.insert("LC_ALL", locale);
        tool.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        tool.start(path("zarn-tool"), QStringList{"--backup-dir", path("backups")} + arguments);
        // Drained as it comes: a full terminal would stop the tool.
        while (!tool.waitForFinished(50) && clock.elapsed() < 60000)
            drain();
        drain();
        if (master >= 0)
            ::close(master);
        return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
                QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                QString::fromUtf8(onTerminal ? terminal : errors), clock.elapsed()};
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
    // read → edit → write (fast) → compare, then compare with the file from before the write.
    void readWriteCompare() {
        SimProcess sim;
        const QString eeprom = sim.filePath("eeprom.bin");
        QVERIFY2(sim.start({"--eeprom-file", eeprom}), qPrintable(sim.errorText()));
        BatchTool tool;
        tool.mapCom1(sim.linkPath());
        const QString before = tool.path("до.ini"), edited = tool.path("после.ini");

        // At a console the count of answers runs on one line, wiped when the step is through.
        const Outcome read = tool.run({"--batch", "read", before}, true);
        QVERIFY2(read.exit_code == 0, qPrintable(read.errors));
        const QString last = "Чтение всех параметров: 58 из 59 запросов";
        for (const QString& shown : {QString("\rЧтение всех параметров: 0 из 59 запросов\r"),
                                     "\r" + last + "\r\r" + QString(last.size(), ' ') + "\r"})
            QVERIFY2(read.errors.contains(shown), qPrintable(read.errors));
        QVERIFY(QFile::copy(before, edited));
        QStringList differing;
        for (const Edit& e : kEdits) {
            QVERIFY(WriteIniValue(edited, kSection, QString("PAR%1").arg(e.n), e.text));
            differing << QString("%1;%2;%3")
                             .arg(e.n)
                             .arg(e.text,
                                  ReadIniValue(before, kSection, QString("PAR%1").arg(e.n), ""));
        }

        // The write, its backup read and its read-back with the fast exchange.
        const Outcome write =
            tool.run({"--batch", "write", edited, "--port", "1", "--fast", "--journal",
                      tool.path("ж.csv"), "--traffic-log", tool.path("о.csv")});
        QVERIFY2(write.exit_code == 0, qPrintable(write.errors));
        QStringList journalled;
        for (const QString& line : QString::fromUtf8(FileBytes(tool.path("ж.csv"))).split("\r\n"))
            if (!line.contains("Связь"))
                journalled << line.section(';', 1);
        QVERIFY(journalled.value(1).startsWith("Пакетный режим: COM1 (") &&
                journalled.value(1).endsWith("), адрес 7"));
        QVERIFY2(write.errors.contains("Проверка записи: все 506 параметров записаны верно"),
                 qPrintable(write.errors));
        QVERIFY2(!write.errors.contains('\r') && !write.errors.contains(" из "),
                 qPrintable(write.errors)); // a pipe gets lines only
        const QStringList backups = QDir(tool.path("backups")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        QCOMPARE(journalled.mid(2),
                 (QStringList{"Чтение всех параметров",
                              "Резервная копия записана: " +
                                  QDir::toNativeSeparators(tool.path("backups/" + backups[0])),
                              "Запись всех параметров из файла " + edited,
                              "Проверка записи: все 506 параметров записаны верно", ""}));
        QVERIFY(QString::fromUtf8(FileBytes(tool.path("о.csv"))).count(";>;") >= 1 + 59 + 61 + 59);
        QVERIFY2(write.errors.contains("Запись всех параметров: 61 запрос\n"),
                 qPrintable(write.errors));
        QCOMPARE(FileBytes(tool.path("backups/" + backups[0])), FileBytes(before));
        const ParamCatalogue& catalogue = Catalogue();
        for (const Edit& e : kEdits)
            QCOMPARE(StoredValue(FileBytes(eeprom), catalogue, e.n), e.stored);

        const Outcome same = tool.run({"--batch", "compare", edited, "--address", "7"});
        QCOMPARE(same.exit_code, 0);
        QCOMPARE(same.lines, QStringList());
        const Outcome changed = tool.run({"--batch", "compare", before});
        QCOMPARE(changed.exit_code, 1);
        QCOMPARE(changed.lines, differing);
        QVERIFY2(changed.errors.contains("Значения 6 параметров отличаются от файла"),
                 qPrintable(changed.errors));

        const Outcome report = tool.run({"--batch", "report", tool.path("отчёт.pdf")});
        QVERIFY2(report.exit_code == 0, qPrintable(report.errors));
        const QString pages = PdfPages(tool.path("отчёт.pdf")).join('\n');
        QVERIFY(pages.contains("Параметры контроллера ЗАРН") && pages.contains("COM1"));
        QVERIFY(pages.contains(QRegularExpression("\\b494\\b.*\\b1023\\b.*из ЭСППЗУ")));
        qInfo(
            "batch read %.1f s (59 frames: 5.9 s), write %.1f s (1 + 59 + 61 + 59 frames: 18.0 s)",
            read.ms / 1000.0, write.ms / 1000.0);
    }

    // Qt's own words of the command line speak Russian on a Russian system.
    void helpInTheSystemLanguage() {
        BatchTool tool;
        const Outcome english = tool.run({"--help"});
        const Outcome russian = tool.run({"--help"}, false, "ru_RU.UTF-8");
        QVERIFY2(english.exit_code == 0 && english.lines.value(0).startsWith("Usage: "),
                 qPrintable(english.lines.value(0)));
        QVERIFY2(russian.exit_code == 0 && russian.lines.value(0).startsWith("Использование: "),
                 qPrintable(russian.lines.value(0)));
    }

    // Two files compared with no line: the parameters that differ on standard output, in the
    // compare's own format, the verdict on standard error and in the exit status.
    void compareFiles() {
        BatchTool tool;
        const auto value = [](int i) { return std::optional(QString::number(i % 7)); };
        const QString backup = tool.path("копия.ini"), same = tool.path("образец.ini"),
                      other = tool.path("другой.ini");
        QVERIFY(SaveParameterTexts(backup, value).isEmpty());
        QVERIFY(SaveParameterTexts(same, [&](int i) {
                    return i == 3 ? std::optional(QStringLiteral(" 3,0 ")) : value(i);
                }).isEmpty());
        QVERIFY(SaveParameterTexts(other, [&](int i) {
                    return i == 5     ? std::nullopt
                           : i == 500 ? std::optional(QStringLiteral("9"))
                                      : value(i);
                }).isEmpty());
        const Outcome equal = tool.run({"--batch", "compare-files", backup, same});
        QVERIFY(equal.exit_code == 0 && equal.lines.isEmpty());
        QVERIFY(equal.errors.contains("Все 506 параметров в файлах совпадают"));
        const Outcome differ = tool.run({"--batch", "compare-files", backup, other});
        QCOMPARE(differ.exit_code, 1);
        QCOMPARE(differ.lines, QStringList({"5;5;", "500;3;9"}));
        QVERIFY(differ.errors.contains("Значения 2 параметров в файлах различаются"));
        QCOMPARE(tool.run({"--batch", "compare-files", other, backup}).lines,
                 QStringList({"5;;5", "500;9;3"}));
        const Outcome missing =
            tool.run({"--batch", "compare-files", backup, tool.path("нет.ini")});
        QVERIFY(missing.exit_code == 3 && missing.errors.contains("нет.ini: файл не найден"));
        QCOMPARE(tool.run({"--batch", "compare-files", backup}).exit_code, 3);
    }

    // A parameter the controller limits: the write's verdict names it with both values, and
    // the exit status says the controller holds something else. A controller that falls
    // silent during a write is told as at any other step.
    void writeNamesWhatWasStoredOtherwise() {
        SimProcess sim;
        QVERIFY2(sim.start({"--eeprom-file", sim.filePath("eeprom.bin"), "--clamp", "10=60000"}),
                 qPrintable(sim.errorText()));
        BatchTool tool;
        tool.mapCom1(sim.linkPath());
        const QString file = tool.path("p.ini");
        QCOMPARE(tool.run({"--batch", "read", file}).exit_code, 0);
        QVERIFY(WriteIniValue(file, kSection, "PAR10", "65535"));
        const Outcome write = tool.run({"--batch", "write", file});
        QCOMPARE(write.exit_code, 1);
        QVERIFY2(write.errors.endsWith("Проверка записи: не совпал 1 параметр\n10 «Обороты "
                                       "двиг., соотв. 20 мА (об/мин)»: записано 65535, сохранено "
                                       "60000\n"),
                 qPrintable(write.errors));

        const qint64 simPid = sim.process().processId();
        const Outcome silent =
            tool.run({"--batch", "write", file}, false, "C.UTF-8", [simPid](const QString& errors) {
                if (errors.contains("Запись всех параметров: 61"))
                    ::kill(static_cast<pid_t>(simPid), SIGSTOP);
            });
        ::kill(static_cast<pid_t>(simPid), SIGCONT);
        QCOMPARE(silent.exit_code, 2);
        QVERIFY2(silent.errors.endsWith(
                     "Нет ответа от контроллера ЗАРН (COM1, адрес 7) в течение 5 с\n") &&
                     !silent.errors.contains("Проверка записи"),
                 qPrintable(silent.errors));
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

    // Each controller of the line a result line as it answers, the scan journalled without
    // taking their answers for the link to address 7; a line where nobody answers exits 2.
    void scanFindsTheControllers() {
        SimProcess sim;
        QVERIFY2(sim.start({"--address", "7", "--address", "12", "--address", "127",
                            "--object-type", "12=1"}),
                 qPrintable(sim.errorText()));
        BatchTool tool;
        tool.mapCom1(sim.linkPath());
        const Outcome found =
            tool.run({"--batch", "scan", "--port", "1", "--journal", tool.path("ж.csv")});
        QVERIFY2(found.exit_code == 0, qPrintable(found.errors));
        QCOMPARE(found.lines, (QStringList{"7;ДГУ;1.7;2.3", "12;ДРА;1.7;2.3", "127;ДГУ;1.7;2.3"}));
        QStringList journalled;
        for (const QString& line : QString::fromUtf8(FileBytes(tool.path("ж.csv"))).split("\r\n"))
            journalled << line.section(';', 1);
        QVERIFY2(journalled.filter("Связь").isEmpty() &&
                     journalled.filter("Найден контроллер: адрес ").size() == 3 &&
                     journalled.contains("Поиск контроллеров окончен: найдено 3 контроллера "
                                         "(адреса 7, 12, 127)"),
                 qPrintable(journalled.join('\n')));

        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        QVERIFY(QFile::link(::ptsname(master), tool.path("tty")));
        tool.mapCom1(tool.path("tty"));
        const Outcome none = tool.run({"--batch", "scan"});
        ::close(master);
        QCOMPARE(none.exit_code, 2);
        QVERIFY2(none.lines.isEmpty() &&
                     none.errors.contains("Поиск контроллеров окончен: контроллеры не найдены"),
                 qPrintable(none.errors));
    }

    // --port tcp://…: the read goes through a serial device server; one that refuses is told in
    // its own words, with exit status 2.
    void overTheNetwork() {
        SimProcess sim;
        QVERIFY2(sim.startOnTcp(), qPrintable(sim.errorText()));
        BatchTool tool;
        tool.mapCom1(tool.path("no-such-device"));
        const QStringList read{"--batch", "read", tool.path("p.ini"), "--port", sim.tcpAddress()};
        const Outcome done = tool.run(read);
        QCOMPARE(done.exit_code, 0);
        QCOMPARE(ReadIniValue(tool.path("p.ini"), kSection, "PAR23", "-").trimmed(), "7");
        sim.process().terminate();
        QVERIFY(sim.process().waitForFinished(5000));
        const Outcome refused = tool.run(read);
        QCOMPARE(refused.exit_code, 2);
        QVERIFY2(refused.errors.contains("Ошибка открытия порта: Нет связи с " +
                                         sim.tcpAddress().mid(6) + ": соединение отклонено"),
                 qPrintable(refused.errors));
    }

    // Nothing reaches a port: COM1 leads nowhere, so an exit 2 would show a refusal missed.
    void badArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("said");
        const QString file = "@p.ini";
        QTest::newRow("unknown command") << QStringList{"--batch", "load", file} << "load";
        QTest::newRow("no file") << QStringList{"--batch", "read"} << "один файл";
        QTest::newRow("scan with a file") << QStringList{"--batch", "scan", file} << "не нужен";
        QTest::newRow("port 0") << QStringList{"--batch", "read", file, "--port", "0"} << "255";
        QTest::newRow("network port 0")
            << QStringList{"--batch", "read", file, "--port", "tcp://127.0.0.1:0"}
            << "tcp://УЗЕЛ:ПОРТ";
        QTest::newRow("address 128")
            << QStringList{"--batch", "read", file, "--address", "128"} << "127";
        QTest::newRow("unknown option")
            << QStringList{"--batch", "read", file, "--quick"} << "неизвестный параметр --quick";
        QTest::newRow("file missing")
            << QStringList{"--batch", "write", "@нет.ini"} << "нет.ini: файл не найден";
        QTest::newRow("file lacks a key")
            << QStringList{"--batch", "write", "@partial.ini"} << "нет значений 1 параметра из 506";
        QTest::newRow("values no parameter holds")
            << QStringList{"--batch", "write", "@unfit.ini"} << "параметров 5, 23, 504 не числа";
        QTest::newRow("compare, file missing")
            << QStringList{"--batch", "compare", "@нет.ini"} << "нет.ini: файл не найден";
        // Told before any window system starts: no display crashes them.
        QTest::newRow("mistyped --batch")
            << QStringList{"--batc", "read", file} << "неизвестный параметр --batc\nИспользование";
        QTest::newRow("no value") << QStringList{"--traffic-log"} << "после --traffic-log нет";
        QTest::newRow("--port without --batch") << QStringList{"--port", "1"} << "--port действует";
        QTest::newRow("--address without --batch") << QStringList{"--address", "5"} << "--address";
        QTest::newRow("file without --batch") << QStringList{file} << "только в пакетном режиме";
        QTest::newRow("--record in the batch mode")
            << QStringList{"--batch", "read", file, "--record", "@з.csv"} << "--record";
        QTest::newRow("--open-record in the batch mode")
            << QStringList{"--open-record", "@з.csv", "--batch", "read", file}
            << "параметр --open-record не сочетается с --batch";
        // Named folders are not made.
        QTest::newRow("read into no folder")
            << QStringList{"--batch", "read", "@нет/p.ini"} << "p.ini: папка @нет не существует";
        QTest::newRow("report into no folder")
            << QStringList{"--batch", "report", "@нет/p.pdf"} << "папка @нет не существует";
        QTest::newRow("backups into no folder")
            << QStringList{"--batch", "write", "@partial.ini", "--backup-dir", "@нет"}
            << "папка резервных копий @нет не существует";
        QTest::newRow("journal into no folder")
            << QStringList{"--batch", "read", file, "--journal", "@нет/ж.csv"}
            << "ж.csv: папка @нет не существует";
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
            argument.replace("@", tool.path("") + "/");
        const Outcome outcome = tool.run(arguments);
        QCOMPARE(outcome.exit_code, 3);
        QVERIFY2(outcome.errors.contains(said.replace("@", tool.path("") + "/")),
                 qPrintable(outcome.errors));
        QVERIFY(!QFile::exists(tool.path("нет")));
    }
};

QTEST_GUILESS_MAIN(BatchModeTest)
#include "test_batch_mode.moc"
