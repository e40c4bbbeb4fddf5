#include "files/parameter_file.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// zarn-tool --batch compare-files as a script runs it: the parameters that differ between two
// files on standard output, in the compare's own format, and the exit status; no line needed.
class BatchCompareFilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    struct Outcome {
        int exit_code = -1;
        QString lines, errors;
    };
    Outcome run(const QStringList& files) {
        QProcess tool;
        tool.start(qEnvironmentVariable("ZARN_TOOL"),
                   QStringList{"--batch", "compare-files"} + files);
        tool.waitForFinished();
        return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
                QString::fromUtf8(tool.readAllStandardError())};
    }
    QString file(const QString& name, const std::function<std::optional<QString>(int)>& textOf) {
        const QString path = dir.filePath(name);
        [&] { QCOMPARE(SaveParameterTexts(path, textOf), QString()); }();
        return path;
    }

private slots:
    void differencesAndExitStatus() {
        const auto value = [](int i) { return std::optional(QString::number(i % 7)); };
        const QString backup = file("копия.ini", value);
        const QString same = file("образец.ini", [&](int i) {
            return i == 3 ? std::optional(QStringLiteral(" 3,0 ")) : value(i);
        });
        const QString other = file("другой.ini", [&](int i) {
            return i == 5 ? std::nullopt : i == 500 ? std::optional(QStringLiteral("9")) : value(i);
        });
        const Outcome equal = run({backup, same}), differ = run({backup, other});
        QCOMPARE((QStringList{QString::number(equal.exit_code), equal.lines}),
                 QStringList({"0", ""}));
        QVERIFY(equal.errors.contains("Все 506 параметров в файлах совпадают"));
        QCOMPARE((QStringList{QString::number(differ.exit_code), differ.lines}),
                 QStringList({"1", "5;5;\n500;3;9\n"}));
        QVERIFY(differ.errors.contains("Значения 2 параметров в файлах различаются"));
        QCOMPARE(run({other, backup}).lines, "5;;5\n500;9;3\n");
        const Outcome missing = run({backup, dir.filePath("нет.ini")});
        QVERIFY(missing.exit_code == 3 && missing.errors.contains("нет.ini: файл не найден"));
        QCOMPARE(run({backup}).exit_code, 3);
    }
};

QTEST_GUILESS_MAIN(BatchCompareFilesTest)
#include "test_batch_compare_files.moc"
