#include "link_rig.h"

#include <QtTest>
#include <functional>

using Before = std::function<void(LinkRig&)>;
Q_DECLARE_METATYPE(Before)

namespace {
const QString kPoll = "07 04 01 2C 00 7D F0 78";
const QString kTransaction1 = "07 10 01 90 00 02 04 00 01 00 00 B8 1B";
} // namespace

class ExchangeCycleTest : public QObject {
    Q_OBJECT
private slots:
    // The first frame goes out; then `arrived` is on the line by the next tick, which judges it
    // (status line), hands a good answer on and sends the next frame.
    void whatArrived_data() {
        QTest::addColumn<Before>("before"); // before the first tick
        QTest::addColumn<QByteArray>("arrived");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QByteArrayList>("handedOn");
        const Before nothing = [](LinkRig&) {};
        const auto waiting = [](const QByteArray& bytes) {
            return Before([bytes](LinkRig& link) { link.port.feed(bytes); });
        };
        const QByteArray poll = WithCrc(Hex("07 04 02 00 00"));
        QByteArray spoilt = poll;
        spoilt.back() = char(spoilt.back() ^ 0x01);
        const QByteArray longest = WithCrc(Hex("07 04 FA") + QByteArray(251, '\x11'));
        using namespace link_text;

        QTest::newRow("poll answered")
            << nothing << poll << kAnswerOk << kTransaction1 << QByteArrayList{poll};
        QTest::newRow("silence, repeated")
            << nothing << QByteArray() << kNoAnswer << kPoll << QByteArrayList{};
        QTest::newRow("two bytes")
            << nothing << Hex("07 04") << kNoAnswer << kPoll << QByteArrayList{};
        QTest::newRow("CRC mismatch")
            << nothing << spoilt << kCrcMismatch << kPoll << QByteArrayList{};
        QTest::newRow("two answers in one tick") << nothing << poll + WithCrc(Hex("07 04 02 00 01"))
                                                 << kCrcMismatch << kPoll << QByteArrayList{};
        // The CRC of the single byte 01 is 0x807E.
        QTest::newRow("three bytes") << nothing << Hex("01 7E 80") << kAnswerOk << kTransaction1
                                     << QByteArrayList{Hex("01 7E 80")};
        QTest::newRow("bytes beyond 256 dropped")
            << nothing << longest + QByteArray(44, '\x55') << kAnswerOk << kTransaction1
            << QByteArrayList{longest};
        QTest::newRow("another slave answers")
            << Before([](LinkRig& link) { QueueCommandWrite(link.cycle.request_queue, 0x1238); })
            << WithCrc(Hex("09 06 01 92 12 38")) << kAnswerOk << kPoll
            << QByteArrayList{WithCrc(Hex("09 06 01 92 12 38"))};
        QTest::newRow("exception answer")
            << Before([](LinkRig& link) { QueueReadRequest(link.cycle.request_queue, 0x100, 10); })
            << WithCrc(Hex("07 E4 02")) << kAnswerOk << kPoll
            << QByteArrayList{WithCrc(Hex("07 E4 02"))};
        // Found by the receive-path fuzzer: a frame that checks can be waiting before anything was
        // sent (a late answer to a session just ended, or noise). It answers no request, so the
        // ring stays put; advancing the empty ring made it look full of blank frames.
        for (const QByteArray& early : {poll, WithCrc(Hex("04")), WithCrc(Hex("07 84 02"))})
            QTest::addRow("%s before the first send", qPrintable(HexText(early)))
                << waiting(early) << poll << kAnswerOk << kTransaction1
                << QByteArrayList{early, poll};
    }
    void whatArrived() {
        QFETCH(Before, before);
        QFETCH(QByteArray, arrived);
        LinkRig link;
        before(link);
        link.tick();
        link.port.feed(arrived);
        QTEST(HexText(link.tick()), "next");
        QTEST(link.host.status, "status");
        QTEST(link.answers, "handedOn");
        QCOMPARE(link.port.waitingBytes(), 0);
    }

    void backgroundPollAndTransactionAlternate() {
        LinkRig link;
        QCOMPARE(HexText(link.tick()), kPoll);
        QCOMPARE(HexText(link.answer("07 04 02 00 00")), kTransaction1);
        QCOMPARE(link.host.shownCounter, 1);
        QCOMPARE(HexText(link.answer("07 10 01 90 00 02")), kPoll);
        link.host.armOff = true;
        QCOMPARE(HexText(link.answer("07 04 02 00 00")),
                 HexText(WithCrc(Hex("07 10 01 90 00 02 04 00 02 00 01"))));
    }

    void transactionCounterWrapsAfter65534() {
        LinkRig link;
        QByteArray last = link.tick();
        for (int i = 0; i < 2 * 65535 - 1; ++i)
            last = link.answer("07 04 00");
        // 65535 transaction writes: 1..65534, then 0.
        QCOMPARE(HexText(last), HexText(WithCrc(Hex("07 10 01 90 00 02 04 00 00 00 00"))));
        QCOMPARE(link.host.shownCounter, 0);
    }

    void addressSwitchFiresOnItsSlot() {
        LinkRig link;
        link.tick(); // poll in flight
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x1238));
        QVERIFY(link.cycle.QueueAddressWrite(0x117, 127, 1));
        QVERIFY(QueueWriteRequest(link.cycle.request_queue, 0x11F, 1, 1));
        // The frames up to the address write itself still go to the old address ...
        QCOMPARE(HexText(link.answer("07 04 00")), QString("07 06 01 92 12 38 24 CF"));
        QCOMPARE(HexText(link.answer("07 06 01 92 12 38")),
                 HexText(WithCrc(Hex("07 65 01 17 01 7F"))));
        QCOMPARE(link.host.address, 127);
        // ... its repetition, and every frame after it, to the new one.
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex("7F 65 01 17 01 7F"))));
        QCOMPARE(HexText(link.answer("7F 65 01 17 01 7F")),
                 HexText(WithCrc(Hex("7F 65 01 1F 01 01"))));
    }

    void closedPortOrHeldLineWritesNothing() {
        LinkRig link;
        link.port.close();
        QVERIFY(link.tick().isEmpty());
        QCOMPARE(link.host.status, link_text::kNoAnswer);
        link.port.open();
        QCOMPARE(HexText(link.tick()), kPoll);
        // While the port dialog probes, ticks neither read, write nor move the ring.
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x1238));
        link.cycle.setLineHeld(true);
        link.port.feed(WithCrc(Hex("07 04 00")));
        QVERIFY(link.tick().isEmpty());
        QVERIFY(link.tick().isEmpty());
        link.cycle.setLineHeld(false);
        QCOMPARE(HexText(link.tick()), QString("07 06 01 92 12 38 24 CF"));
    }
};

QTEST_GUILESS_MAIN(ExchangeCycleTest)
#include "test_exchange_cycle.moc"
