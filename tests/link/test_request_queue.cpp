#include "link_fixture.h"

#include <QtTest>

// Every builder checked as the controller sees it: the bytes that leave the port.
class RequestQueueTest : public QObject {
    Q_OBJECT
private slots:
    void framesOnTheWire_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("read 10 bytes at 0x100") << 0 << WithCrc(Hex("07 64 01 00 0A"));
        QTest::newRow("read count 25 sent as 20") << 1 << WithCrc(Hex("07 64 07 00 14"));
        QTest::newRow("write 0x1234 as 2 bytes") << 2 << WithCrc(Hex("07 65 01 0A 02 12 34"));
        QTest::newRow("write 0x1234 as 1 byte") << 3 << WithCrc(Hex("07 65 01 0A 01 34"));
        QTest::newRow("write count 6 cut to 4") << 4 << WithCrc(Hex("07 65 02 40 04 81 22 33 44"));
        QTest::newRow("write -1 as 2 bytes") << 5 << WithCrc(Hex("07 65 07 10 02 FF FF"));
        QTest::newRow("СТАРТ") << 6 << Hex("07 06 01 92 12 38 24 CF");
        QTest::newRow("ОТКЛ. ЗАЩ") << 7 << WithCrc(Hex("07 06 01 92 AB C4"));
    }
    void framesOnTheWire() {
        QFETCH(int, kind);
        QFETCH(QByteArray, expected);
        LinkFixture link;
        auto& q = link.cycle.request_queue;
        switch (kind) {
        case 0:
            QVERIFY(QueueReadRequest(q, 0x100, 10));
            break;
        case 1:
            QVERIFY(QueueReadRequest(q, 0x10700, 25));
            break; // only the low 16 bits go out
        case 2:
            QVERIFY(QueueWriteRequest(q, 0x10A, 0x1234, 2));
            break;
        case 3:
            QVERIFY(QueueWriteRequest(q, 0x10A, 0x1234, 1));
            break;
        case 4:
            QVERIFY(QueueWriteRequest(q, 0x240, int(0x81223344u), 6));
            break;
        case 5:
            QVERIFY(QueueWriteRequest(q, 0x710, -1, 2));
            break;
        case 6:
            QVERIFY(QueueCommandWrite(q, 0x1238));
            break;
        case 7:
            QVERIFY(QueueCommandWrite(q, 0xABC4));
            break;
        }
        QCOMPARE(HexText(link.tick()), HexText(expected));
    }

    void ringWrapsAfterSlot511() {
        LinkFixture link;
        auto& q = link.cycle.request_queue;
        q.queue_read = q.queue_write = 511;
        QVERIFY(QueueCommandWrite(q, 0x4569));
        QCOMPARE(q.queue_write, 0);
        QVERIFY(QueueCommandWrite(q, 0x789A));
        QCOMPARE(q.queue_write, 1);
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex("07 06 01 92 45 69"))));
        QCOMPARE(HexText(link.answerAndTick()), HexText(WithCrc(Hex("07 06 01 92 78 9A"))));
        QCOMPARE(link.cycle.request_queue.queue_read, 0);
    }

    void fullRingRefusesAndKeepsWaitingFrames() {
        LinkFixture link;
        auto& q = link.cycle.request_queue;
        for (int i = 0; i < RequestQueue::kCapacity; ++i)
            QVERIFY(QueueReadRequest(q, i, 1));
        QCOMPARE(q.waiting(), 511);
        QVERIFY(!QueueCommandWrite(q, 0x1238));
        QVERIFY(!QueueReadRequest(q, 0x100, 1));
        QCOMPARE(q.waiting(), 511);
        QVERIFY(!q.empty());
        // The waiting frames go out in order, the refused command never does.
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex("07 64 00 00 01"))));
        for (int i = 1; i < RequestQueue::kCapacity; ++i) {
            const QByteArray sent = link.answerAndTick();
            QCOMPARE(quint8(sent[1]), quint8(0x64));
            QCOMPARE(quint8(sent[3]), quint8(i & 0xFF));
        }
        // Once drained, the background poll resumes.
        QCOMPARE(HexText(link.answerAndTick()), QString("07 04 01 2C 00 7D F0 78"));
    }
};

QTEST_GUILESS_MAIN(RequestQueueTest)
#include "test_request_queue.moc"
