#include "config/ini_file.h"
#include "file_bytes.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

QByteArray RandomBytes(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(604);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace

class IniFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        path = dir.filePath("t.ini");
        QFile::remove(path);
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const auto at = [](const char* name, const QByteArray& content, const QString& section,
                           const QString& key, const QString& expected) {
            QTest::newRow(name) << content << section << key << expected;
        };
        const auto row = [&](const char* name, const QByteArray& content, const QString& expected) {
            at(name, content, "s", "k", expected);
        };
        const QByteArray pc = "[PC config]\r\nCOM=3\r\n";
        at("letter case", pc, "pc CONFIG", "com", "3");
        at("blanks around names and value", "  [ PC config ]  \r\n\t COM \t=  3 \t\r\n",
           "PC config", "COM", "3");
        at("missing key", pc, "PC config", "MBSLAD", "dflt");
        at("missing section", pc, "QLA config", "COM", "dflt");
        at("key of another section", "[a]\r\nk=1\r\n[b]\r\n", "b", "k", "dflt");
        row("blanks inside value kept", "[s]\r\nk= a  b \r\n", "a  b");
        row("double quotes", "[s]\r\nk=\" a \"\r\n", " a ");
        row("single quotes", "[s]\r\nk='x'\r\n", "x");
        row("unmatched quotes", "[s]\r\nk=\"x'\r\n", "\"x'");
        row("lone quote", "[s]\r\nk=\"\r\n", "\"");
        row("equals in value", "[s]\r\nk=a=b\r\n", "a=b");
        row("empty value", "[s]\r\nk=\r\n", "");
        row("key before any section", "k=1\r\n[s]\r\n", "dflt");
        row("comment is no key", "[s]\r\n;k=1\r\n", "dflt");
        row("line without equals", "[s]\r\nk\r\nk=2\r\n", "2");
        row("first of two keys", "[s]\r\nk=1\r\nK=2\r\n", "1");
        row("second section of one name", "[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n", "2");
        row("LF line ends, no end at the end", "[s]\nj=2\nk=7", "7");
        row("section without closing bracket", "[s\r\nk=1\r\n", "1");
        row("value cut to 254", "[s]\r\nk=" + QByteArray(300, 'x') + "\r\n", QString(254, 'x'));
        row("Windows-1251 value", "[s]\r\nk=\xcf\xf0\xe8\xe2\xe5\xf2\r\n", "Привет");
        at("Windows-1251 names, letter case", "[\xd2\xc5\xd1\xd2]\r\n\xea\xeb\xfe\xf7=1\r\n",
           "тест", "КЛЮЧ", "1");
        row("NUL bytes before", QByteArray("\0\0\n[s]\nk=1\n", 11), "1");
        // A no-break space (0xA0 in the code page) next to a name is a blank like any other.
        row("no-break space before the key", "[s]\r\n\xA0k=1\r\n", "1");
        row("no-break space after the section name", "[s\xA0]\r\nk=1\r\n", "1");
        at("no-break space asked for", "[s]\r\n\xA0k=1\r\n", "s", "\u00A0k", "1");
    }
    void reading() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        WriteFileBytes(path, content);
        QTEST(ReadIniValue(path, section, key, "dflt"), "expected");
    }

    // A name matches whatever blanks surround it in the file, the no-break space among them, so
    // a key is replaced where it stands rather than appended again.
    void writing_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        const auto keyed = [](const char* name, const QByteArray& before, const QString& section,
                              const QString& key, const QString& value, const QByteArray& after) {
            QTest::newRow(name) << before << section << key << value << after;
        };
        const auto row = [&](const char* name, const QByteArray& before, const QString& section,
                             const QString& value, const QByteArray& after) {
            keyed(name, before, section, "k", value, after);
        };
        row("new file", {}, "s", "1", "[s]\r\nk=1\r\n");
        row("second section appended", "[PC config]\r\nCOM=1\r\n", "s", "-1",
            "[PC config]\r\nCOM=1\r\n[s]\r\nk=-1\r\n");
        row("value replaced, neighbours kept", "[s]\r\na=1\r\nk = old \r\nb=2\r\n", "s", "new",
            "[s]\r\na=1\r\nk=new\r\nb=2\r\n");
        row("replaced in other letter case", "[S]\r\nK=old\r\n", "s", "v", "[S]\r\nk=v\r\n");
        row("new key at the end of its section", "[s]\r\na=1\r\n;note\r\n\r\n[t]\r\nb=2\r\n", "s",
            "v", "[s]\r\na=1\r\nk=v\r\n;note\r\n\r\n[t]\r\nb=2\r\n");
        row("new key under a bare header", "[s]\r\n\r\n[t]\r\n", "s", "v",
            "[s]\r\nk=v\r\n\r\n[t]\r\n");
        row("LF lines kept as they are", "[s]\nk=1\nj=2\n", "s", "v", "[s]\nk=v\r\nj=2\n");
        row("no line end at the end", "[t]\r\nb=2", "s", "v", "[t]\r\nb=2\r\n[s]\r\nk=v\r\n");
        row("CR at the end", "[t]\r", "t", "v", "[t]\r\nk=v\r\n");
        row("CR and LF in the value become blanks", {}, "s", "a\r\nb\nc", "[s]\r\nk=a  b c\r\n");
        row("value written without quotes", {}, "s", "12,5 ", "[s]\r\nk=12,5 \r\n");
        row("Windows-1251 bytes of other sections",
            "; \xea\xee\r\n[\xd1\xe5\xea]\r\nx=\xff\xc0\r\n", "s", "Пуск",
            "; \xea\xee\r\n[\xd1\xe5\xea]\r\nx=\xff\xc0\r\n[s]\r\nk=\xcf\xf3\xf1\xea\r\n");
        row("no-break space before the key", "[s]\r\n\xA0k=1\r\n", "s", "2", "[s]\r\nk=2\r\n");
        keyed("no-break space asked for", "[s]\r\n\xA0k=1\r\n", "s", "\u00A0k", "2",
              "[s]\r\n\xA0k=2\r\n");
        row("no-break space after the section name", "[s\xA0]\r\nk=1\r\nother=3\r\n", "s", "2",
            "[s\xA0]\r\nk=2\r\nother=3\r\n");
        keyed("no-break space as the fuzzer found it",
              QByteArray("[(aramete\x8F\r\nP\0=&2P\n\xA0rame\xD2=1\0`\0\0\x18\n", 33), "(arameteЏ",
              "\u00A0rameТ", "", QByteArray("[(aramete\x8F\r\nP\0=&2P\n\xA0rame\xD2=\r\n", 28));
    }
    void writing() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        if (!before.isEmpty())
            WriteFileBytes(path, before);
        QVERIFY(WriteIniValue(path, section, key, value));
        QTEST(FileBytes(path), "after");
        QCOMPARE(ReadIniValue(path, section, key, "dflt"),
                 QString(value).replace('\r', ' ').replace('\n', ' ').trimmed());
    }

    // Reading gives the default; writing creates a missing file and otherwise fails without
    // touching what is there.
    void notAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "none.ini";
        QTest::newRow("directory where the file should be") << "folder";
        QTest::newRow("removed folder") << "gone/t.ini";
        QTest::newRow("path through a plain file") << "plain/t.ini";
    }
    void notAFile() {
        QFETCH(QString, name);
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        WriteFileBytes(dir.filePath("plain"), "[s]\r\nk=1\r\n");
        QCOMPARE(ReadIniValue(dir.filePath(name), "s", "k", "dflt"), QString("dflt"));
        QCOMPARE(WriteIniValue(dir.filePath(name), "s", "k", "v"), name == "none.ini");
        QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
        QCOMPARE(FileBytes(dir.filePath("plain")), QByteArray("[s]\r\nk=1\r\n"));
    }

    // The old file stays whole until the new one is complete: a link to the old file still
    // holds the old bytes afterwards, which an in-place rewrite would have changed.
    void fileIsReplacedNotRewritten() {
        WriteFileBytes(path, "[s]\r\nk=1\r\n");
        const QString old_link = dir.filePath("old");
        QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(old_link)), 0);
        QVERIFY(WriteIniValue(path, "s", "k", "2"));
        QCOMPARE(FileBytes(old_link), QByteArray("[s]\r\nk=1\r\n"));
        QCOMPARE(FileBytes(path), QByteArray("[s]\r\nk=2\r\n"));
        QCOMPARE(QDir(dir.path()).entryList({"t.ini*"}, QDir::Files | QDir::Hidden),
                 QStringList{"t.ini"});
    }

    void binaryFileKeepsItsBytes() {
        const QByteArray binary = RandomBytes(300 * 1024);
        WriteFileBytes(path, binary);
        QVERIFY(WriteIniValue(path, "zarn test", "k", "v"));
        const QByteArray after = FileBytes(path);
        QVERIFY(after.startsWith(binary));
        QVERIFY(after.endsWith("[zarn test]\r\nk=v\r\n"));
        QCOMPARE(ReadIniValue(path, "zarn test", "k", "dflt"), QString("v"));
    }

    // A huge file is looked at only up to its first megabyte, and never rewritten, since
    // writing back what was looked at would cut it.
    void hugeFileIsNeitherScannedWholeNorCut() {
        QByteArray huge = "[s]\r\nk=1\r\n" + RandomBytes(3 * 1024 * 1024) + "\n[t]\r\nj=2\r\n";
        WriteFileBytes(path, huge);
        QCOMPARE(ReadIniValue(path, "s", "k", "dflt"), QString("1"));
        QCOMPARE(ReadIniValue(path, "t", "j", "dflt"), QString("dflt"));
        QVERIFY(!WriteIniValue(path, "s", "k", "2"));
        QCOMPARE(FileBytes(path), huge);
    }

    void longLines_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("long value") << "[s]\nk=" + QByteArray(900 * 1024, 'x') + "\n"
                                    << QString(254, 'x');
        QTest::newRow("long line before the key")
            << "[s]\n" + QByteArray(900 * 1024, 'y') + "\nk=v\n"
            << QString("v");
        QTest::newRow("many keys")
            << "[s]\n" + QByteArray(300 * 1024, 'a').replace("a", "a=\n") + "k=v\n"
            << QString("v");
    }
    void longLines() {
        QFETCH(QByteArray, content);
        WriteFileBytes(path, content);
        QTEST(ReadIniValue(path, "s", "k", "dflt"), "expected");
        QVERIFY(WriteIniValue(path, "s", "n", "1"));
        QCOMPARE(FileBytes(path).size(), content.size() + 5);
    }

private:
    QTemporaryDir dir;
    QString path;
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "test_ini_file.moc"
