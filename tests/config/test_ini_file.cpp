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
        QVERIFY(dir.isValid());
        path = dir.filePath("t.ini");
        QFile::remove(path);
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray s = "[PC config]\r\nCOM=3\r\n";
        QTest::newRow("plain") << s << "PC config"
                               << "COM"
                               << "3";
        QTest::newRow("letter case") << s << "pc CONFIG"
                                     << "com"
                                     << "3";
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ PC config ]  \r\n\t COM \t=  3 \t\r\n") << "PC config"
            << "COM"
            << "3";
        QTest::newRow("blanks inside value kept") << QByteArray("[s]\r\nk= a  b \r\n") << "s"
                                                  << "k"
                                                  << "a  b";
        QTest::newRow("double quotes") << QByteArray("[s]\r\nk=\" a \"\r\n") << "s"
                                       << "k"
                                       << " a ";
        QTest::newRow("single quotes") << QByteArray("[s]\r\nk='x'\r\n") << "s"
                                       << "k"
                                       << "x";
        QTest::newRow("unmatched quotes") << QByteArray("[s]\r\nk=\"x'\r\n") << "s"
                                          << "k"
                                          << "\"x'";
        QTest::newRow("lone quote") << QByteArray("[s]\r\nk=\"\r\n") << "s"
                                    << "k"
                                    << "\"";
        QTest::newRow("equals in value") << QByteArray("[s]\r\nk=a=b\r\n") << "s"
                                         << "k"
                                         << "a=b";
        QTest::newRow("empty value") << QByteArray("[s]\r\nk=\r\n") << "s"
                                     << "k"
                                     << "";
        QTest::newRow("missing key") << s << "PC config"
                                     << "MBSLAD"
                                     << "dflt";
        QTest::newRow("missing section") << s << "QLA config"
                                         << "COM"
                                         << "dflt";
        QTest::newRow("key of another section") << QByteArray("[a]\r\nk=1\r\n[b]\r\n") << "b"
                                                << "k"
                                                << "dflt";
        QTest::newRow("key before any section") << QByteArray("k=1\r\n[s]\r\n") << "s"
                                                << "k"
                                                << "dflt";
        QTest::newRow("comment is no key") << QByteArray("[s]\r\n;k=1\r\n") << "s"
                                           << "k"
                                           << "dflt";
        QTest::newRow("line without equals") << QByteArray("[s]\r\nk\r\nk=2\r\n") << "s"
                                             << "k"
                                             << "2";
        QTest::newRow("first of two keys") << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << "s"
                                           << "k"
                                           << "1";
        QTest::newRow("second section of one name")
            << QByteArray("[s]\r\na=1\r\n[t]\r\n[S]\r\nk=2\r\n") << "s"
            << "k"
            << "2";
        QTest::newRow("LF line ends") << QByteArray("[s]\nk=1\nj=2\n") << "s"
                                      << "j"
                                      << "2";
        QTest::newRow("no line end at the end") << QByteArray("[s]\r\nk=7") << "s"
                                                << "k"
                                                << "7";
        QTest::newRow("section without closing bracket") << QByteArray("[s\r\nk=1\r\n") << "s"
                                                         << "k"
                                                         << "1";
        QTest::newRow("value cut to 254") << "[s]\r\nk=" + QByteArray(300, 'x') + "\r\n"
                                          << "s"
                                          << "k" << QString(254, 'x');
        QTest::newRow("Windows-1251 value")
            << QByteArray("[s]\r\nk=\xcf\xf0\xe8\xe2\xe5\xf2\r\n") << "s"
            << "k"
            << "Привет";
        QTest::newRow("Windows-1251 names, letter case")
            << QByteArray("[\xd2\xc5\xd1\xd2]\r\n\xea\xeb\xfe\xf7=1\r\n") << "тест"
            << "КЛЮЧ"
            << "1";
        QTest::newRow("NUL bytes before") << QByteArray("\0\0\n[s]\nk=1\n", 11) << "s"
                                          << "k"
                                          << "1";
    }
    void reading() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        WriteFileBytes(path, content);
        QCOMPARE(ReadIniValue(path, section, key, "dflt"), expected);
    }

    void readingWhatIsNotAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "none.ini";
        QTest::newRow("directory") << "folder";
        QTest::newRow("through a plain file") << "plain/t.ini";
    }
    void readingWhatIsNotAFile() {
        QFETCH(QString, name);
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        WriteFileBytes(dir.filePath("plain"), "[s]\r\nk=1\r\n");
        QCOMPARE(ReadIniValue(dir.filePath(name), "s", "k", "dflt"), QString("dflt"));
    }

    void writing_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << "PC config"
                                  << "COM"
                                  << "1" << QByteArray("[PC config]\r\nCOM=1\r\n");
        QTest::newRow("second section appended")
            << QByteArray("[PC config]\r\nCOM=1\r\n") << "QLA config"
            << "MBSLAD"
            << "-1" << QByteArray("[PC config]\r\nCOM=1\r\n[QLA config]\r\nMBSLAD=-1\r\n");
        QTest::newRow("value replaced, neighbours kept")
            << QByteArray("[s]\r\na=1\r\nk = old \r\nb=2\r\n") << "s"
            << "k"
            << "new" << QByteArray("[s]\r\na=1\r\nk=new\r\nb=2\r\n");
        QTest::newRow("replaced in other letter case") << QByteArray("[S]\r\nK=old\r\n") << "s"
                                                       << "k"
                                                       << "v" << QByteArray("[S]\r\nk=v\r\n");
        QTest::newRow("new key at the end of its section")
            << QByteArray("[s]\r\na=1\r\n;note\r\n\r\n[t]\r\nb=2\r\n") << "s"
            << "k"
            << "v" << QByteArray("[s]\r\na=1\r\nk=v\r\n;note\r\n\r\n[t]\r\nb=2\r\n");
        QTest::newRow("new key under a bare header")
            << QByteArray("[s]\r\n\r\n[t]\r\n") << "s"
            << "k"
            << "v" << QByteArray("[s]\r\nk=v\r\n\r\n[t]\r\n");
        QTest::newRow("LF lines kept as they are") << QByteArray("[s]\nk=1\nj=2\n") << "s"
                                                   << "k"
                                                   << "v" << QByteArray("[s]\nk=v\r\nj=2\n");
        QTest::newRow("no line end at the end")
            << QByteArray("[t]\r\nb=2") << "s"
            << "k"
            << "v" << QByteArray("[t]\r\nb=2\r\n[s]\r\nk=v\r\n");
        QTest::newRow("CR at the end") << QByteArray("[t]\r") << "t"
                                       << "k"
                                       << "v" << QByteArray("[t]\r\nk=v\r\n");
        QTest::newRow("CR and LF in the value become blanks")
            << QByteArray() << "s"
            << "k"
            << "a\r\nb\nc" << QByteArray("[s]\r\nk=a  b c\r\n");
        QTest::newRow("value written without blanks or quotes")
            << QByteArray() << "s"
            << "k"
            << "12,5 " << QByteArray("[s]\r\nk=12,5 \r\n");
        QTest::newRow("Windows-1251 bytes of other sections")
            << QByteArray("; \xea\xee\xec\xec\xe5\xed\xf2\r\n[\xd1\xe5\xea]\r\nx=\xff\xc0\r\n")
            << "s"
            << "k"
            << "v"
            << QByteArray("; \xea\xee\xec\xec\xe5\xed\xf2\r\n[\xd1\xe5\xea]\r\nx=\xff\xc0\r\n"
                          "[s]\r\nk=v\r\n");
        QTest::newRow("Cyrillic value") << QByteArray() << "s"
                                        << "k"
                                        << "Пуск" << QByteArray("[s]\r\nk=\xcf\xf3\xf1\xea\r\n");
    }
    void writing() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            WriteFileBytes(path, before);
        QVERIFY(WriteIniValue(path, section, key, value));
        QCOMPARE(FileBytes(path), after);
        QCOMPARE(ReadIniValue(path, section, key, "dflt"),
                 QString(value).replace('\r', ' ').replace('\n', ' ').trimmed());
    }

    void writeFailsWithoutHarm_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("directory where the file should be") << "folder";
        QTest::newRow("removed folder") << "gone/t.ini";
        QTest::newRow("path through a plain file") << "plain/t.ini";
    }
    void writeFailsWithoutHarm() {
        QFETCH(QString, name);
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        WriteFileBytes(dir.filePath("plain"), "x");
        QVERIFY(!WriteIniValue(dir.filePath(name), "s", "k", "v"));
        QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
        QCOMPARE(FileBytes(dir.filePath("plain")), QByteArray("x"));
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
        QTest::newRow("long blank run before the value")
            << "[s]\nk=" + QByteArray(900 * 1024, ' ') + "v\n"
            << QString("v");
        QTest::newRow("long line before the key")
            << "[s]\n" + QByteArray(900 * 1024, 'y') + "\nk=v\n"
            << QString("v");
        QTest::newRow("many short lines") << "[s]\n" + QByteArray(900 * 1024, '\n') + "k=v\n"
                                          << QString("v");
        QTest::newRow("many keys")
            << "[s]\n" + QByteArray(300 * 1024, 'a').replace("a", "a=\n") + "k=v\n"
            << QString("v");
    }
    void longLines() {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        WriteFileBytes(path, content);
        QCOMPARE(ReadIniValue(path, "s", "k", "dflt"), expected);
        QVERIFY(WriteIniValue(path, "s", "n", "1"));
        QCOMPARE(FileBytes(path).size(), content.size() + 5);
    }

private:
    QTemporaryDir dir;
    QString path;
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "test_ini_file.moc"
