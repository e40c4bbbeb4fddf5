#include "config/com_port_map.h"

#include <QTemporaryDir>
#include <QtTest>

class ComPortMapTest : public QObject {
    Q_OBJECT
private slots:
    void devices_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1") << 1 << "/dev/ttyS0";
        QTest::newRow("COM4") << 4 << "/dev/ttyS3";
        QTest::newRow("COM5") << 5 << "/dev/ttyUSB0";
        QTest::newRow("COM12") << 12 << "/dev/ttyUSB7";
        QTest::newRow("COM13") << 13 << "/dev/ttyACM0";
        QTest::newRow("COM16") << 16 << "/dev/ttyACM3";
        QTest::newRow("COM17 has no device") << 17 << "";
        QTest::newRow("COM0 has no device") << 0 << "";
        QTest::newRow("mapped in place of a default") << 3 << "/dev/pts/7";
        QTest::newRow("mapped beyond the defaults") << 200 << "/dev/serial/by-id/usb-RS485";
    }
    void devices() {
        QFETCH(int, n);
        QTemporaryDir dir;
        const QString path = dir.filePath("тп.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[PC config]\r\nCOM=3\r\n[Ports]\r\ncom3 = /dev/pts/7\r\n"
                   "COM200=/dev/serial/by-id/usb-RS485\r\n");
        file.close();
        QTEST(DevicePathForCom(path, n), "device");
    }

    void withoutAFileTheDefaultsHold() {
        QCOMPARE(DevicePathForCom(QStringLiteral("/nonexistent/тп.ini"), 6),
                 QString("/dev/ttyUSB1"));
    }
};

QTEST_GUILESS_MAIN(ComPortMapTest)
#include "test_com_port_map.moc"
