#include "text/file_failure.h"
#include "text/russian_count.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestText : public QObject {
    Q_OBJECT

private slots:
    void countsAgreeWithNouns_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        const QList<QPair<int, const char*>> rows{
            {0, "0 параметров"},     {1, "1 параметр"},       {2, "2 параметра"},
            {4, "4 параметра"},      {5, "5 параметров"},     {11, "11 параметров"},
            {12, "12 параметров"},   {14, "14 параметров"},   {20, "20 параметров"},
            {21, "21 параметр"},     {22, "22 параметра"},    {101, "101 параметр"},
            {111, "111 параметров"}, {112, "112 параметров"}, {506, "506 параметров"}};
        for (const auto& [n, text] : rows)
            QTest::addRow("%d", n) << n << QString::fromUtf8(text);
    }
    void countsAgreeWithNouns() {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(CountOf(n, nouns::kParameter), text);
    }

    // What a user reads when a file cannot be written: the file, and the reason in Russian,
    // whether Qt said something useful or not.
    void fileFailuresAreToldInRussian() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("нет"));
        const QString missing = folder + QStringLiteral("/rec.csv");
        QCOMPARE(FileFailure(missing, QStringLiteral("No such file or directory")),
                 missing + QStringLiteral(": папка ") + folder + QStringLiteral(" не существует"));

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("папка.csv")));
        QCOMPARE(FileFailureReason(dir.filePath(QStringLiteral("папка.csv")), QString()),
                 QStringLiteral("это папка, а не файл"));

        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QCOMPARE(FileFailureReason(plain.fileName() + QStringLiteral("/a/b.csv"), QString()),
                 QStringLiteral("часть пути не является папкой"));

        const QString good = dir.filePath(QStringLiteral("good.csv"));
        QCOMPARE(FileFailureReason(good, QStringLiteral("No space left on device")),
                 QStringLiteral("диск заполнен"));
        QCOMPARE(FileFailureReason(good, QStringLiteral("Operation not permitted")),
                 QStringLiteral("нет прав доступа"));
        QCOMPARE(FileFailureReason(good, QStringLiteral("Read-only file system")),
                 QStringLiteral("диск только для чтения"));
        // A reason told once is told alike by whoever shows it with its file.
        QCOMPARE(FileFailureReason(good, QStringLiteral("файл слишком велик")),
                 QStringLiteral("файл слишком велик"));
        // Qt's own words, and a file that is not there to be read.
        QCOMPARE(FileFailureReason(good, QStringLiteral("Unknown error")),
                 QStringLiteral("причина неизвестна"));
        QCOMPARE(FileFailureReason(good, QStringLiteral("No such file or directory")),
                 QStringLiteral("файл не найден"));
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
