#include "link_rig.h"

#include <QtTest>

namespace {
const QString kPoll = "07 04 01 2C 00 7D F0 78";
const QString kTransaction1 = "07 10 01 90 00 02 04 00 01 00 00 B8 1B";
const QString kOk = "Связь с контроллером ЗАРН установлена";
const QString kSilence = "Ошибка обмена: Нет ответа от контроллера ЗАРН";
const QString kBadCrc = "Ошибка обмена: Несовпадение КС";
const QString kTransaction = "07 10 01 90 00 02 04 00 01 00 00";

// A consumer that keeps every answer it is handed.
struct Seen : AnswerConsumer {
    QList<QByteArray> answers;
    void DecodeAnswer(const RxBuffer& rx) override { answers.append(BytesOf(rx)); }
};
} // namespace

class ExchangeCycleTest : public QObject {
    Q_OBJECT
private slots:
    // The first frame goes out; then `arrived` is on the line by the next tick, which judges it
    // (status line), takes a good answer (its first 256 bytes) and sends the next frame.
    void whatArrived_data() {
        QTest::addColumn<QByteArray>("arrived");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QByteArray>("early"); // on the line before the first tick
        const auto row = [](const char* name, const QByteArray& arrived, const QString& status,
                            const QString& next, const QByteArray& early = {}) {
            QTest::newRow(name) << arrived << status << next << early;
        };
        const QByteArray poll = WithCrc(Hex("07 04 02 00 00"));
        const QByteArray foreign = WithCrc(Hex("09 06 01 92 12 38"));
        row("poll answered", poll, kOk, kTransaction1);
        row("silence, repeated", {}, kSilence, kPoll);
        row("two bytes", Hex("07 04"), kSilence, kPoll);
        row("three bytes (CRC of 01 is 0x807E)", Hex("01 7E 80"), kOk, kTransaction1);
        row("CRC mismatch", poll.chopped(1) + char(poll.back() ^ 1), kBadCrc, kPoll);
        row("bytes beyond 256 dropped", WithCrc(Hex("07 04 FA") + QByteArray(251, 1)) + Hex("55"),
            kOk, kTransaction1);
        row("another slave answers", foreign, kOk, kTransaction1);
        // It answers no request: advancing the empty ring made it look full of blank frames.
        row("answer before the first send", poll, kOk, kTransaction1, foreign);
    }
    void whatArrived() {
        QFETCH(QByteArray, arrived);
        QFETCH(QString, status);
        QFETCH(QByteArray, early);
        LinkRig link;
        link.port.feed(early);
        link.tick();
        link.port.feed(arrived);
        QTEST(HexText(link.tick()), "next");
        QCOMPARE(link.host.status, status);
        QCOMPARE(link.answers.value(link.answers.size() - 1),
                 status == kOk ? arrived.left(256) : QByteArray());
        QCOMPARE(link.port.waitingBytes(), 0);
    }

    // A network line without its connection: nothing goes out, no controller is blamed, the
    // line's own words stand in the status line; once it carries, the poll leaves.
    void lineNotCarrying() {
        LinkRig link;
        link.port.line_state = LineState::Down;
        link.port.state_text = "Нет связи с 10.0.0.50:4001: соединение отклонено";
        QVERIFY(link.tick().isEmpty());
        QCOMPARE(link.host.status, link.port.state_text);
        link.port.line_state = LineState::Carrying;
        QCOMPARE(HexText(link.tick()), kPoll);
        QCOMPARE(link.host.status, kSilence);
    }

    // Poll and transaction write alternate; the counter shown runs 1..65534, then 0.
    void pollAndTransactionAlternate() {
        LinkRig link;
        QCOMPARE(HexText(link.tick()), kPoll);
        QCOMPARE(HexText(link.answer("07 04 00")), kTransaction1);
        QCOMPARE(HexText(link.answer("07 10 01 90 00 02")), kPoll);
        link.host.arm_off = true;
        QByteArray last;
        for (int answers = 3; answers <= 2 * 65535 - 1; ++answers)
            last = link.answer("07 04 00");
        QCOMPARE(HexText(last), HexText(WithCrc(Hex("07 10 01 90 00 02 04 00 00 00 01"))));
        QCOMPARE(link.host.shown_counter, 0);
    }

    // While the port dialog probes, ticks neither read, write nor move the ring. Frames queued
    // ahead of an address write still go to the old address; each armed switch fires as its own
    // write leaves, so two writes take effect one after the other, address 0 among them.
    void heldLineAndAddressSwitches() {
        LinkRig link;
        link.tick(); // poll in flight
        QVERIFY(link.cycle.queue(CommandRequest(Command::Start)));
        QVERIFY(link.cycle.queue(OwnAddressWriteRequest(0x117, 127, 1)));
        QVERIFY(link.cycle.queue(OwnAddressWriteRequest(0x117, 0, 1)));
        QVERIFY(link.cycle.queue(ParamWriteRequest(0x11F, 1, 1)));
        link.cycle.setLineHeld(true);
        link.port.feed(WithCrc(Hex("07 04 00")));
        QVERIFY(link.tick().isEmpty());
        link.cycle.setLineHeld(false);
        QStringList sent{HexText(link.tick().chopped(2))};
        for (int i = 0; i < 3; ++i)
            sent << HexText(link.answer().chopped(2));
        QCOMPARE(sent, (QStringList{"07 06 01 92 12 38", "07 65 01 17 01 7F", "7F 65 01 17 01 00",
                                    "00 65 01 1F 01 01"}));
    }

    // By default every good frame completes the frame in flight, and goes to the consumer of the
    // request it answers: the one in flight when the function is its, else (an answer late) the
    // last one of its function; the echoes of commands and transaction writes go to nobody.
    void answersGoToTheRequestTheyAnswer() {
        LinkRig link;
        Seen params;
        link.tick(); // the poll in flight
        QVERIFY(link.cycle.queue(AnsweredBy(ParamReadRequest(0x100, 2), params)));
        QVERIFY(link.cycle.queue(CommandRequest(Command::Start)));
        const QByteArray poll = WithCrc(Hex("07 04 02 00 05"));
        const QByteArray read = WithCrc(Hex("07 64 01 00 02 AA BB"));
        QStringList sent;
        for (const QByteArray& arrived :
             {poll, poll, read, WithCrc(Hex("07 06 01 92 12 38")), read})
            link.port.feed(arrived), sent << HexText(link.tick().chopped(2));
        QCOMPARE(sent, (QStringList{"07 64 01 00 02", "07 06 01 92 12 38", kTransaction,
                                    kPoll.left(17), "07 10 01 90 00 02 04 00 02 00 00"}));
        QCOMPARE(link.decoded, (QList<QByteArray>{poll, poll}));
        QCOMPARE(params.answers, (QList<QByteArray>{read, read}));
        QCOMPARE(link.cycle.answered(), 5);
    }

    // The fast exchange: queued frames follow a whole good answer after 1.75 ms of silence, not
    // on the tick; a frame sent between ticks times out 100 ms after its own send and is
    // repeated; what is not plainly its answer (half of it, a wrong echo) waits for the tick;
    // the poll and the transaction still go on the tick alone.
    void fastExchange() {
        LinkRig link;
        std::int64_t now = 0;
        link.cycle.clock_us = [&now] { return now; };
        link.cycle.setFast(true);
        const auto watchAt = [&](std::int64_t at) {
            now = at;
            link.port.written.clear();
            link.cycle.watchLine();
            QString frame = HexText(link.port.written.value(0));
            frame.chop(6); // the CRC
            return frame;
        };
        link.tick(); // the poll in flight, alone: nothing to watch
        QVERIFY(!link.cycle.watching());
        RequestBatch reads{ParamReadRequest(0x100, 2), ParamReadRequest(0x102, 1),
                           ParamReadRequest(0x103, 1)};
        QVERIFY(link.cycle.queueAll(reads));
        QVERIFY(link.cycle.watching());
        link.port.feed(PollFrame({}));
        QCOMPARE(watchAt(1000), QString());
        QCOMPARE(watchAt(2749), QString());
        QCOMPARE(watchAt(2750), "07 64 01 00 02");
        const QByteArray read = WithCrc(Hex("07 64 01 00 02 AA BB"));
        link.port.feed(read.left(4));
        QCOMPARE(watchAt(3000), QString());
        link.port.feed(read.mid(4));
        QCOMPARE(watchAt(4000), QString());
        QCOMPARE(watchAt(5750), "07 64 01 02 01");
        // An echo of another address, CRC good: not taken early; the frame's own time-out
        // judges it as the tick would (any good frame completes it) and the next follows.
        link.port.feed(WithCrc(Hex("07 64 01 09 01 00")));
        QCOMPARE(watchAt(9000), QString());
        QVERIFY(link.tick().isEmpty());
        QCOMPARE(watchAt(105749), QString());
        QCOMPARE(watchAt(105750), "07 64 01 03 01");
        QCOMPARE(link.host.status, kOk);
        // Unanswered, repeated 100 ms after its own send, then answered; a command queued
        // meanwhile follows it.
        QVERIFY(link.cycle.queue(CommandRequest(Command::Stop)));
        QCOMPARE(watchAt(205750), "07 64 01 03 01");
        QCOMPARE(link.host.status, kSilence);
        link.port.feed(WithCrc(Hex("07 64 01 03 01 00")));
        QCOMPARE(watchAt(206000), QString());
        QCOMPARE(watchAt(207750), "07 06 01 92 45 69");
        link.port.feed(WithCrc(Hex("07 06 01 92 45 69")));
        QCOMPARE(watchAt(208000), QString());
        QVERIFY(!link.cycle.watching());
        QVERIFY(link.tick().isEmpty()); // within the silence after the answer
        now = 209750;
        QCOMPARE(HexText(link.tick()), kTransaction1);
        QCOMPARE(link.cycle.answered(), 5);
    }

    // A strict request to slave 9 (the window points at 7) is answered only by slave 9 with its
    // own function or that function's exception. Any other good frame is taken for silence:
    // nothing decoded, the request sent again; the monitor still sees the bytes.
    void strictRequest_data() {
        QTest::addColumn<QString>("arrived");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("next");
        QTest::addColumn<bool>("decoded");
        const QString read = "09 64 01 00 02";
        QTest::newRow("its answer") << "09 64 01 00 02 AA BB" << kOk << kTransaction << true;
        QTest::newRow("its exception")
            << "09 E4 02" << kOk + " Нарушение протокола, код: 2" << kTransaction << false;
        QTest::newRow("another slave") << "07 64 01 00 02 AA BB" << kSilence << read << false;
        QTest::newRow("another function") << "09 04 02 00 00" << kSilence << read << false;
        QTest::newRow("another exception") << "09 84 02" << kSilence << read << false;
    }
    void strictRequest() {
        QFETCH(QString, arrived);
        QFETCH(bool, decoded);
        LinkRig link;
        Seen params;
        Request read = AnsweredBy(ParamReadRequest(0x100, 2), params);
        read.slave = 9;
        read.strict = true;
        link.tick();
        QVERIFY(link.cycle.queue(read));
        QCOMPARE(HexText(link.answer("07 04 00").chopped(2)), QString("09 64 01 00 02"));
        QByteArray watched;
        link.cycle.on_event = [&watched](const LinkEvent& e) { watched += e.bytes; };
        const QByteArray frame = WithCrc(Hex(qPrintable(arrived)));
        link.port.feed(frame);
        const QByteArray next = link.tick();
        QTEST(HexText(next.chopped(2)), "next");
        QTEST(link.host.status, "status");
        QCOMPARE(params.answers, decoded ? QList<QByteArray>{frame} : QList<QByteArray>{});
        QCOMPARE(watched, frame + next);
    }
};

QTEST_GUILESS_MAIN(ExchangeCycleTest)
#include "test_exchange_cycle.moc"
