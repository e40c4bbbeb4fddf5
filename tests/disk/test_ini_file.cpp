#include "disk/ini_file.h"
#include "file_bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <numeric>
#include <unistd.h>

// A file as users edit it by hand, NUL bytes and all; each reading row looks up one key of it.
static const QByteArray kEdited =
    QByteArray("\0\0\n", 3) +
    "k=0\r\n  [ PC config ]  \r\n\t COM \t=  3 \t\r\n[s]\r\n;z=1\r\nj\r\n" +
    "q=\" a \"\r\no='x'\r\nl=\"\r\ne=a=b\r\nd=1\r\nD=2\r\n[t]\r\n[S]\r\n" +
    "m=2\r\n[\xd2\xc5\xd1\xd2\xA0]\r\n\xea\xeb\xfe\xf7=\xcf\xf0\xe8\r\n[nb\r\nk=1\r\n" +
    "[cut]\r\nk=" + QByteArray(300, 'x') + "\n[lf]\nj=2\nk=7";

class IniFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;

private slots:
    void init() {
        path = dir.filePath("t.ini");
        QFile::remove(path);
    }

    void reading_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* section, const char* key,
                            const QString& expected) {
            QTest::newRow(name) << QString(section) << QString(key) << expected;
        };
        row("letter case and blanks around names", "pc CONFIG", "com", "3");
        row("key before any section", "", "k", "dflt");
        row("line without equals", "s", "j", "dflt");
        row("double quotes", "s", "q", " a ");
        row("single quotes", "s", "o", "x");
        row("lone quote", "s", "l", "\"");
        row("equals in value", "s", "e", "a=b");
        row("first of two keys", "s", "d", "1");
        row("second section of one name", "s", "m", "2");
        row("key of another section", "t", "m", "dflt");
        row("Windows-1251, letter case, no-break space", "тест", "КЛЮЧ", "При");
        row("LF line ends, no end at the end", "lf", "k", "7");
        row("section without closing bracket", "nb", "k", "1");
        row("value cut to 254", "cut", "k", QString(254, 'x'));
    }
    void reading() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        WriteFileBytes(path, kEdited);
        QTEST(ReadIniValue(path, section, key, "dflt"), "expected");
    }

    void writing_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const auto row = [](const char* name, const QByteArray& before, const QString& value,
                            const QByteArray& after) {
            QTest::newRow(name) << before << value << after;
        };
        QByteArray every(256, 0);
        std::iota(every.begin(), every.end(), 0);
        row("every byte kept, NUL included", every, "v", every + "\r\n[s]\r\nk=v\r\n");
        row("replaced", "[s]\r\na=1\r\nk = o \r\nb=2\r\n", "v", "[s]\r\na=1\r\nk=v\r\nb=2\r\n");
        row("added after the last key", "[s]\r\na=1\r\n;c\r\n\r\n[t]\r\n", "v",
            "[s]\r\na=1\r\nk=v\r\n;c\r\n\r\n[t]\r\n");
        row("no line end at the end", "[t]\r\nb=2", "v", "[t]\r\nb=2\r\n[s]\r\nk=v\r\n");
        row("CR at the end", "[s]\r", "v", "[s]\r\nk=v\r\n");
        row("CR and LF in the value", {}, "a\r\nb\nc", "[s]\r\nk=a  b c\r\n");
    }
    void writing() {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        const QString old = dir.filePath(QTest::currentDataTag());
        WriteFileBytes(path, before);
        // A link to the old file keeps the old bytes: the file is replaced whole once the new one
        // is complete, never rewritten in place, and no temporary file is left behind.
        QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(old)), 0);
        QVERIFY(WriteIniValue(path, "s", "k", value));
        QTEST(FileBytes(path), "after");
        QCOMPARE(FileBytes(old), before);
        QCOMPARE(QDir(dir.path()).entryList({"t.ini*"}, QDir::Files | QDir::Hidden),
                 QStringList{"t.ini"});
    }

    // Reading gives the default; writing creates a missing file and otherwise fails without
    // touching what is there (tests run as root, so no file mode stops the write).
    void notAFile() {
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        WriteFileBytes(dir.filePath("plain"), "[s]\r\nk=1\r\n");
        for (const QString name : {"none.ini", "folder", "gone/t.ini", "plain/t.ini"}) {
            QCOMPARE(ReadIniValue(dir.filePath(name), "s", "k", "dflt"), QString("dflt"));
            QCOMPARE(WriteIniValue(dir.filePath(name), "s", "k", "v"), name == "none.ini");
        }
        QCOMPARE(FileBytes(dir.filePath("plain")), QByteArray("[s]\r\nk=1\r\n"));
    }

    // Beyond the first megabyte nothing is looked at, and such a file is never rewritten, since
    // writing back what was looked at would cut it.
    void hugeFile() {
        const QByteArray huge = "[s]\r\nk=1\r\n" + QByteArray(3 << 20, 'x') + "\n[t]\r\nj=2\r\n";
        WriteFileBytes(path, huge);
        QCOMPARE(ReadIniValue(path, "s", "k", "dflt") + ReadIniValue(path, "t", "j", "-"), "1-");
        QVERIFY(!WriteIniValue(path, "s", "k", "2"));
        QCOMPARE(FileBytes(path), huge);
    }
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "test_ini_file.moc"
