#include "link_fixture.h"

#include <QtTest>

namespace {
const QString kPoll7 = "07 04 01 2C 00 7D F0 78";
const QString kTransaction1 = "07 10 01 90 00 02 04 00 01 00 00 B8 1B";
} // namespace

class ExchangeCycleTest : public QObject {
    Q_OBJECT
private slots:
    void backgroundRequestsAlternate() {
        LinkFixture link;
        QCOMPARE(HexText(link.tick()), kPoll7);
        QCOMPARE(link.host.status, link_text::kNoAnswer);
        QCOMPARE(HexText(link.answerAndTick("07 04 02 00 00")), kTransaction1);
        QCOMPARE(link.host.shownCounter, 1);
        QCOMPARE(link.host.status, link_text::kAnswerOk);
        QCOMPARE(HexText(link.answerAndTick("07 10 01 90 00 02")), kPoll7);
        link.host.armOff = true;
        QCOMPARE(HexText(link.answerAndTick("07 04 02 00 00")),
                 HexText(WithCrc(Hex("07 10 01 90 00 02 04 00 02 00 01"))));
    }

    void transactionCounterWrapsAfter65534() {
        LinkFixture link;
        QByteArray last;
        link.tick();
        for (int i = 0; i < 2 * 65535 - 1; ++i)
            last = link.answerAndTick("07 04 00");
        // 65535 transaction writes: 1..65534, then 0.
        QCOMPARE(HexText(last).mid(0, 26), QString("07 10 01 90 00 02 04 00 00"));
        QCOMPARE(link.host.shownCounter, 0);
    }

    void unansweredFrameIsRepeatedIdentically() {
        LinkFixture link;
        link.tick();
        const QByteArray transaction = link.answerAndTick("07 04 00");
        QCOMPARE(link.tick(), transaction);
        QCOMPARE(link.host.status, link_text::kNoAnswer);
        link.port.feed(Hex("07 10"));
        QCOMPARE(link.tick(), transaction);
        QCOMPARE(link.host.status, link_text::kNoAnswer);
        QCOMPARE(link.host.shownCounter, 1);
    }

    void crcMismatchRepeats() {
        LinkFixture link;
        link.tick();
        QByteArray bad = WithCrc(Hex("07 04 02 00 00"));
        bad[bad.size() - 1] = char(bad[bad.size() - 1] ^ 0x01);
        link.port.feed(bad);
        QCOMPARE(HexText(link.tick()), kPoll7);
        QCOMPARE(link.host.status, link_text::kCrcMismatch);
        QVERIFY(link.decoder.answers.isEmpty());
    }

    void threeByteAnswerIsJudgedOverItsFirstByte() {
        LinkFixture link;
        link.tick();
        // CRC of the single byte 0x01 is 0x807E: low byte 7E, then 80.
        link.port.feed(Hex("01 7E 80"));
        QCOMPARE(HexText(link.tick()), kTransaction1);
        QCOMPARE(link.host.status, link_text::kAnswerOk);
        QCOMPARE(link.decoder.answers.size(), 1);
    }

    void twoFramesInOneTickAreOneFailingFrame() {
        LinkFixture link;
        link.tick();
        link.port.feed(WithCrc(Hex("07 04 02 00 00")) + WithCrc(Hex("07 04 02 00 01")));
        QCOMPARE(HexText(link.tick()), kPoll7);
        QCOMPARE(link.host.status, link_text::kCrcMismatch);
    }

    void moreThan256BytesKeepsTheFirst256() {
        LinkFixture link;
        link.tick();
        QByteArray answer = Hex("07 04 FA");
        answer.append(QByteArray(251, char(0x11)));
        answer = WithCrc(answer); // 256 bytes with a correct CRC at the end
        QCOMPARE(answer.size(), 256);
        link.port.feed(answer + QByteArray(44, char(0x55)));
        link.tick();
        QCOMPARE(link.host.status, link_text::kAnswerOk);
        QCOMPARE(link.decoder.answers.first(), answer);
        QCOMPARE(link.port.waitingBytes(), 0);
    }

    void answerFromAnotherAddressCompletesTheRequest() {
        LinkFixture link;
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, 0x1238));
        link.tick();
        QCOMPARE(HexText(link.answerAndTick("09 06 01 92 12 38")), kPoll7);
    }

    void exceptionAnswerCompletesTheRequest() {
        LinkFixture link;
        QVERIFY(QueueReadRequest(link.cycle.request_queue, 0x100, 10));
        link.tick();
        QCOMPARE(HexText(link.answerAndTick("07 E4 02")), kPoll7);
        QCOMPARE(link.decoder.answers.size(), 1);
        QCOMPARE(HexText(link.decoder.answers.first()), HexText(WithCrc(Hex("07 E4 02"))));
    }

    void addressSwitchFiresOnItsSlot() {
        LinkFixture link;
        link.tick(); // poll in flight
        QVERIFY(link.cycle.QueueAddressWrite(0x117, 127, 1));
        QVERIFY(QueueWriteRequest(link.cycle.request_queue, 0x11F, 1, 1));
        QCOMPARE(link.host.address, 7);
        // The address write itself still goes to the old address ...
        QCOMPARE(HexText(link.answerAndTick("07 04 00")),
                 HexText(WithCrc(Hex("07 65 01 17 01 7F"))));
        QCOMPARE(link.host.address, 127);
        // ... its repetition, and every frame after it, to the new one.
        QCOMPARE(HexText(link.tick()), HexText(WithCrc(Hex("7F 65 01 17 01 7F"))));
        QCOMPARE(HexText(link.answerAndTick("7F 65 01 17 01 7F")),
                 HexText(WithCrc(Hex("7F 65 01 1F 01 01"))));
    }

    void closedPortSendsNothingButStillQueues() {
        LinkFixture link;
        link.port.close();
        QVERIFY(link.tick().isEmpty());
        QCOMPARE(link.host.status, link_text::kNoAnswer);
        QCOMPARE(link.cycle.request_queue.waiting(), 1);
        link.port.open();
        QCOMPARE(HexText(link.tick()), kPoll7);
    }

    void heldLineWritesNothingAndKeepsTheHeadFrame() {
        LinkFixture link;
        link.tick();
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
