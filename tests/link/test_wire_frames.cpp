#include "link/frame_crc.h"
#include "link_rig.h"

#include <QtTest>
#include <functional>

using Build = std::function<bool(RequestQueue&)>;
Q_DECLARE_METATYPE(Build)

// What the controller receives: the CRC and every request builder, as the bytes on the line.
class WireFramesTest : public QObject {
    Q_OBJECT
private slots:
    // Expected values from Debian's python3-crcmod (predefined "modbus"); "123456789" gives the
    // catalogued check value of CRC-16/MODBUS.
    void crc_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("crc");
        QTest::newRow("check value") << QByteArray("123456789") << 0x4B37;
        QTest::newRow("poll to 1") << Hex("01 04 01 2C 00 7D") << 0x1EF0;
        QTest::newRow("single byte") << Hex("01") << 0x807E;
    }
    void crc() {
        QFETCH(QByteArray, data);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
        QTEST(int(FrameCrc(bytes, int(data.size()) - 1)), "crc");
    }

    // One frame of each function code with its CRC written out: frames built with the tool's own
    // CRC could not show a CRC fault.
    void frames_data() {
        QTest::addColumn<Build>("build");
        QTest::addColumn<QByteArray>("frame");
        using Q = RequestQueue;
        QTest::newRow("4 poll") << Build([](Q&) { return true; }) << Hex("07 04 01 2C 00 7D F0 78");
        QTest::newRow("6 СТАРТ") << Build([](Q& q) { return QueueCommandWrite(q, 0x1238); })
                                 << Hex("07 06 01 92 12 38 24 CF");
        QTest::newRow("16 transaction")
            << Build([](Q& q) { return QueueTransactionWrite(q, 1, false); })
            << Hex("07 10 01 90 00 02 04 00 01 00 00 B8 1B");
        QTest::newRow("100 read 10 bytes")
            << Build([](Q& q) { return QueueReadRequest(q, 0x100, 10); })
            << Hex("07 64 01 00 0A 5F 37");
        QTest::newRow("101 0x1234 as 2 bytes")
            << Build([](Q& q) { return QueueWriteRequest(q, 0x10A, 0x1234, 2); })
            << Hex("07 65 01 0A 02 12 34 F6 9A");
        QTest::newRow("100 count 25 sent as 20, low 16 address bits")
            << Build([](Q& q) { return QueueReadRequest(q, 0x10700, 25); })
            << WithCrc(Hex("07 64 07 00 14"));
        QTest::newRow("101 -1 as 2 bytes")
            << Build([](Q& q) { return QueueWriteRequest(q, 0x710, -1, 2); })
            << WithCrc(Hex("07 65 07 10 02 FF FF"));
        QTest::newRow("101 0x1234 as 1 byte")
            << Build([](Q& q) { return QueueWriteRequest(q, 0x10A, 0x1234, 1); })
            << WithCrc(Hex("07 65 01 0A 01 34"));
        QTest::newRow("101 count 6 cut to 4")
            << Build([](Q& q) { return QueueWriteRequest(q, 0x240, int(0x81223344u), 6); })
            << WithCrc(Hex("07 65 02 40 04 81 22 33 44"));
    }
    void frames() {
        QFETCH(Build, build);
        QFETCH(QByteArray, frame);
        LinkRig link;
        QVERIFY(build(link.cycle.request_queue));
        QCOMPARE(HexText(link.tick()), HexText(frame));
    }

    // A queued СТАРТ must never be overwritten: the 512th frame is refused, the 511 leave in order.
    void fullRingRefusesAndKeepsItsOrder() {
        LinkRig link;
        auto& ring = link.cycle.request_queue;
        for (int i = 0; i < RequestQueue::kCapacity; ++i)
            QVERIFY(QueueReadRequest(ring, i, 1));
        QVERIFY(!QueueCommandWrite(ring, 0x1238));
        QByteArray sent = link.tick();
        for (int i = 0; i < RequestQueue::kCapacity; ++i, sent = link.answer()) {
            const char address[] = {char(i >> 8), char(i & 0xFF)};
            QCOMPARE(HexText(sent), HexText(WithCrc(Hex("07 64") + QByteArray(address, 2) + '\1')));
        }
        QCOMPARE(HexText(sent), QString("07 04 01 2C 00 7D F0 78"));
    }
};

QTEST_GUILESS_MAIN(WireFramesTest)
#include "test_wire_frames.moc"
