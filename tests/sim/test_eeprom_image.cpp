#include "eeprom_defaults.h"
#include "eeprom_image.h"
#include "file_bytes.h"
#include "params/param_catalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class EepromImageTest : public QObject {
    Q_OBJECT
private slots:
    void saveAndLoadTheWholeImage() {
        QTemporaryDir dir;
        const QString path = dir.filePath("eeprom.bin");
        EepromImage image;
        image.write(0x100, QByteArray("\x11\x22\x33", 3));
        image.write(0xFFF, QByteArray(1, char(0xEE)));
        QString error;
        QVERIFY2(image.save(path, error), qPrintable(error));
        const QByteArray saved = FileBytes(path);
        QCOMPARE(saved.size(), 4096);
        QCOMPARE(saved.mid(0x100, 3), QByteArray("\x11\x22\x33", 3));

        EepromImage loaded;
        QVERIFY2(loaded.load(path, error), qPrintable(error));
        QCOMPARE(loaded.read(0, 4096), image.read(0, 4096));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"eeprom.bin"});
    }

    void unusableFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("empty") << QByteArray() << "has 0";
        QTest::newRow("short") << QByteArray(4095, 'x') << "has 4095";
        QTest::newRow("long") << QByteArray(4097, 'x') << "has more";
    }
    void unusableFilesAreRefused() {
        QFETCH(QByteArray, content);
        QFETCH(QString, errorPart);
        QTemporaryDir dir;
        const QString path = dir.filePath("eeprom.bin");
        WriteFileBytes(path, content);
        EepromImage image;
        const QByteArray before = image.read(0, 4096);
        QString error;
        QVERIFY(!image.load(path, error));
        QVERIFY2(error.contains(errorPart) && error.contains(path), qPrintable(error));
        QCOMPARE(image.read(0, 4096), before);
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        // A folder standing where the file should be: even root cannot replace it by a file.
        const QString blocked = dir.filePath("blocked");
        QVERIFY(QDir().mkpath(blocked + "/inside"));
        EepromImage image;
        QString error;
        QVERIFY(!image.save(blocked, error));
        QVERIFY(error.startsWith(blocked));
        QVERIFY(QFileInfo(blocked).isDir());
    }

    void rangeChecks_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("inside");
        QTest::newRow("whole") << 0 << 4096 << true;
        QTest::newRow("last byte") << 0xFFF << 1 << true;
        QTest::newRow("one past") << 0xFFF << 2 << false;
        QTest::newRow("empty at the end") << 4096 << 0 << true;
        QTest::newRow("negative") << -1 << 1 << false;
    }
    void rangeChecks() {
        QFETCH(int, address);
        QFETCH(int, count);
        QFETCH(bool, inside);
        QCOMPARE(EepromImage().contains(address, count), inside);
    }

    void catalogueGetsPlausibleValues() {
        EepromImage image;
        const QByteArray pattern = image.read(0, 4096);
        StorePlausibleParameters(image, 9, 1);
        ParamCatalogue catalogue;
        catalogue.BuildParamCatalogue();
        const auto stored = [&](int i) {
            int value = 0;
            for (int k = 0; k < catalogue.param_size[i]; ++k)
                value = 256 * value + image.at(catalogue.param_address[i] + k);
            return value;
        };
        QCOMPARE(stored(23), 9);        // "Адрес Modbus"
        QCOMPARE(stored(1), 1);         // "Объект"
        QCOMPARE(stored(4) * 10, 1500); // working speed
        QCOMPARE(stored(10), 2000);     // 2-byte: speed at 20 mA
        QCOMPARE(stored(53), 800);      // first "П1" set point, 80.0
        QVERIFY(stored(328) <= 127);    // signed byte holds a positive temperature
        // Bytes that no parameter covers keep the pattern.
        QCOMPARE(image.at(280), std::uint8_t(pattern[280]));
        QCOMPARE(image.at(0xFFF), std::uint8_t(pattern[0xFFF]));
    }
};

QTEST_GUILESS_MAIN(EepromImageTest)
#include "test_eeprom_image.moc"
