#include "link_rig.h"

#include <QtTest>

Q_DECLARE_METATYPE(Request)

// What the controller receives: every request builder with its CRC, as the bytes on the line.
class WireFramesTest : public QObject {
    Q_OBJECT
private slots:
    // One frame of each function code with its CRC-16/MODBUS worked out apart from the tool:
    // frames built with the tool's own CRC could not show a CRC fault.
    void frames_data() {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<Request>("request");
        const auto row = [](const char* name, const char* frame, const Request& request) {
            QTest::newRow(name) << QString(frame) << request;
        };
        row("4 poll", "07 04 01 2C 00 7D F0 78", PollRequest());
        row("6 СТАРТ", "07 06 01 92 12 38 24 CF", CommandRequest(Command::Start));
        row("16 transaction", "07 10 01 90 00 02 04 00 01 00 00 B8 1B",
            TransactionRequest(1, false));
        row("100 read 10", "07 64 01 00 0A 5F 37", ParamReadRequest(0x100, 10));
        row("100 read 21 as 20, low 16 address bits", "07 64 07 00 14 3F 3E",
            ParamReadRequest(0x10700, 21));
        row("101 2 bytes", "07 65 01 0A 02 12 34 F6 9A", ParamWriteRequest(0x10A, 0x1234, 2));
        row("101 6 bytes cut to 4", "07 65 02 40 04 81 22 33 44 AA E2",
            ParamWriteRequest(0x240, int(0x81223344u), 6));
    }
    void frames() {
        QFETCH(Request, request);
        LinkRig link;
        QVERIFY(request.pdu[0] == 0x04 || link.cycle.queue(request));
        QTEST(HexText(link.tick()), "frame");
    }

    // A queued СТАРТ must never be overwritten: the 512th frame is refused, the 511 leave in order.
    void fullRingRefusesAndKeepsItsOrder() {
        LinkRig link;
        for (int i = 0; i < RequestQueue::kCapacity; ++i)
            QVERIFY(link.cycle.queue(ParamReadRequest(i, 1)));
        QVERIFY(!link.cycle.queue(CommandRequest(Command::Start)));
        QByteArray sent = link.tick();
        for (int i = 0; i < RequestQueue::kCapacity; ++i, sent = link.answer())
            QCOMPARE(HexText(sent), HexText(WithCrc(Hex("07 64") + char(i >> 8) + char(i) + '\1')));
        QCOMPARE(HexText(sent), QString("07 04 01 2C 00 7D F0 78"));
    }
};

QTEST_GUILESS_MAIN(WireFramesTest)
#include "test_wire_frames.moc"
