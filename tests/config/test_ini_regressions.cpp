#include "config/ini_file.h"
#include "file_bytes.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAbsent = QStringLiteral("absent");

} // namespace

// Files the INI fuzzer found, read and written through the helpers the tool uses.
class IniRegressionsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(dir.isValid());
        path = dir.filePath("t.ini");
    }

    // A no-break space (0xA0 in the code page) next to a name is a blank like any other: the
    // name read from the file was trimmed of ASCII blanks only and the name asked for of all,
    // so a key written under such a name could not be read back and was appended again.
    void noBreakSpaceAroundAName_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("before the key, asked without") << QByteArray("[s]\r\n\xA0k=1\r\n") << "s"
                                                       << "k" << QByteArray("[s]\r\nk=2\r\n");
        QTest::newRow("before the key, asked with")
            << QByteArray("[s]\r\n\xA0k=1\r\n") << "s" << QStringLiteral("\u00A0k")
            << QByteArray("[s]\r\n\xA0k=2\r\n");
        QTest::newRow("after the section name")
            << QByteArray("[s\xA0]\r\nk=1\r\nother=3\r\n") << "s"
            << "k" << QByteArray("[s\xA0]\r\nk=2\r\nother=3\r\n");
    }
    void noBreakSpaceAroundAName() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, written);
        WriteFileBytes(path, content);
        QCOMPARE(ReadIniValue(path, section, key, kAbsent), QString("1"));
        QVERIFY(WriteIniValue(path, section, key, "2"));
        QCOMPARE(FileBytes(path), written);
        QCOMPARE(ReadIniValue(path, section, key, kAbsent), QString("2"));
    }

    void noBreakSpaceKeyAsFound() {
        WriteFileBytes(path,
                       QByteArray("[(aramete\x8F\r\nP\0=&2P\n\xA0rame\xD2=1\0`\0\0\x18\n", 33));
        const QString section = QStringLiteral("(arameteЏ");
        const QString key = QStringLiteral("\u00A0rameТ");
        QVERIFY(WriteIniValue(path, section, key, QString()));
        QCOMPARE(ReadIniValue(path, section, key, kAbsent), QString());
        QCOMPARE(FileBytes(path), QByteArray("[(aramete\x8F\r\nP\0=&2P\n\xA0rame\xD2=\r\n", 28));
    }

private:
    QTemporaryDir dir;
    QString path;
};

QTEST_GUILESS_MAIN(IniRegressionsTest)
#include "test_ini_regressions.moc"
