#include "frames.h"
#include "link/frame_crc.h"

#include <QtTest>

class FrameCrcTest : public QObject {
    Q_OBJECT
private slots:
    void knownVectors_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("crc");
        // Published check value of CRC-16/MODBUS.
        QTest::newRow("check 123456789") << QByteArray("123456789") << 0x4B37;
        // Frames as a Modbus analyser shows them (CRC low byte first on the wire).
        QTest::newRow("poll to 7") << Hex("07 04 01 2C 00 7D") << 0x78F0;
        QTest::newRow("poll to 1") << Hex("01 04 01 2C 00 7D") << 0x1EF0;
        QTest::newRow("start to 7") << Hex("07 06 01 92 12 38") << 0xCF24;
        QTest::newRow("single byte") << Hex("01") << 0x807E;
    }
    void knownVectors() {
        QFETCH(QByteArray, data);
        QFETCH(int, crc);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
        QCOMPARE(int(FrameCrc(bytes, int(data.size()) - 1)), crc);
    }
};

QTEST_GUILESS_MAIN(FrameCrcTest)
#include "test_frame_crc.moc"
