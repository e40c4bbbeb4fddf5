#include "e2e_link.h"
#include "file_bytes.h"
#include "frames.h"
#include "sim_process.h"

#include <QFile>
#include <QtTest>

namespace {
constexpr int kLeds = 70;
constexpr std::uint16_t kStart = 0x1238;
constexpr std::uint16_t kStop = 0x4569;
constexpr std::uint16_t kAcknowledge = 0x789A;
constexpr std::uint16_t kProtectionsOff = 0xABC4;

int engineRpm(const QByteArray& poll) {
    return PollRegister(poll, 3) * 65536 + PollRegister(poll, 4);
}

} // namespace

class E2eLinkTest : public QObject {
    Q_OBJECT
private slots:
    void pollAnswersArrive_data() {
        QTest::addColumn<int>("objectType");
        QTest::newRow("ДГУ") << 0;
        QTest::newRow("ДРА") << 1;
    }
    void pollAnswersArrive() {
        QFETCH(int, objectType);
        SimProcess sim;
        QVERIFY2(sim.start({"--object-type", QString::number(objectType)}),
                 qPrintable(sim.errorText()));
        QVERIFY(sim.ptyPath().startsWith("/dev/"));
        E2eLink link(sim.linkPath());
        QCOMPARE(link.start(), OpenOutcome::Opened);

        const QByteArray poll = link.nextPoll();
        QCOMPARE(link.host.status, link_text::kAnswerOk);
        QCOMPARE(poll.size(), 255);
        QVERIFY(EndsInGoodCrc(poll));
        QCOMPARE(HexText(poll.left(3)), QString("07 04 FA"));
        QCOMPARE(PollRegister(poll, 0), 0x0203);
        QCOMPARE(PollRegister(poll, 2), objectType);
        QVERIFY(PollRegister(poll, 15) > 200 && PollRegister(poll, 15) < 300); // battery, 0.1 V
        QCOMPARE(engineRpm(poll), 0);
        QVERIFY(PollRegister(poll, kLeds) & 0x08); // "Готов"

        // The background transaction write that follows is answered the standard way.
        QVERIFY(link.waitForExchanges(2, 5000));
        const auto& transaction = link.answered.exchanges[1];
        QCOMPARE(HexText(transaction.request), QString("10 01 90 00 02 04 00 01 00 00"));
        QCOMPARE(HexText(transaction.answer), HexText(WithCrc(Hex("07 10 01 90 00 02"))));
    }

    // Each answer checked byte for byte; the CRC comes from the tool's own FrameCrc.
    void answersAsAModbusSlave_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("command СТОП echoed") << Hex("06 01 92 45 69") << Hex("07 06 01 92 45 69");
        QTest::newRow("one input register") << Hex("04 01 2C 00 01") << Hex("07 04 02 02 03");
        QTest::newRow("input registers before the block")
            << Hex("04 01 2B 00 02") << Hex("07 84 02");
        QTest::newRow("unknown command code") << Hex("06 01 92 00 01") << Hex("07 86 03");
        QTest::newRow("command to another register") << Hex("06 01 93 12 38") << Hex("07 86 02");
        QTest::newRow("parameter read outside the memory") << Hex("64 0F FF 02") << Hex("07 E4 02");
        QTest::newRow("unknown function") << Hex("2B 0E 01 00") << Hex("07 AB 01");
        QTest::newRow("holding register read, not offered")
            << Hex("03 01 90 00 02") << Hex("07 83 01");
    }
    void answersAsAModbusSlave() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        E2eLink link(sim.linkPath());
        QCOMPARE(link.start(), OpenOutcome::Opened);
        QCOMPARE(HexText(link.ask(request)), HexText(WithCrc(answer)));
        QCOMPARE(link.host.status, link_text::kAnswerOk);
    }

    void commandsDriveTheEngine() {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        E2eLink link(sim.linkPath());
        QCOMPARE(link.start(), OpenOutcome::Opened);

        QVERIFY(PollRegister(link.nextPoll(), 93) != 0);
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, kAcknowledge));
        QTRY_VERIFY_WITH_TIMEOUT(PollRegister(link.nextPoll(), 93) == 0, 5000);
        QVERIFY(QueueCommandWrite(link.cycle.request_queue, kProtectionsOff));
        QTRY_VERIFY_WITH_TIMEOUT(PollRegister(link.nextPoll(), kLeds) & 0x20, 5000);

        QCOMPARE(HexText(link.ask(Hex("06 01 92 12 38"))),
                 HexText(WithCrc(Hex("07 06 01 92 12 38"))));
        QTRY_VERIFY_WITH_TIMEOUT(PollRegister(link.nextPoll(), kLeds) & 0x04, 5000); // "Работа"
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(engineRpm(link.nextPoll()) - 1500) <= 10, 20000);

        QVERIFY(QueueCommandWrite(link.cycle.request_queue, kStop));
        QTRY_VERIFY_WITH_TIMEOUT(engineRpm(link.nextPoll()) == 0, 20000);
        QVERIFY(PollRegister(link.nextPoll(), kLeds) & 0x08);
    }

    void parameterWriteThenRead() {
        SimProcess sim;
        const QString eeprom = sim.filePath("eeprom.bin");
        QVERIFY2(sim.start({"--eeprom-file", eeprom}), qPrintable(sim.errorText()));
        E2eLink link(sim.linkPath());
        QCOMPARE(link.start(), OpenOutcome::Opened);

        // "Обороты двиг., соотв. 20 мА": two bytes at 0x10A.
        QVERIFY(QueueWriteRequest(link.cycle.request_queue, 0x10A, 2345, 2));
        QVERIFY(QueueReadRequest(link.cycle.request_queue, 0x100, 20));
        QVERIFY(link.waitForExchanges(2, 10000));
        const auto write = link.answered.exchanges.at(link.answered.exchanges.size() - 2);
        QCOMPARE(HexText(write.answer), HexText(WithCrc(Hex("07 65 01 0A 02 09 29"))));
        const QByteArray read = link.ask(Hex("64 01 00 14"));
        QCOMPARE(read.size(), 5 + 20 + 2);
        QVERIFY(EndsInGoodCrc(read));
        QCOMPARE(HexText(read.left(5)), QString("07 64 01 00 14"));
        QCOMPARE(HexText(read.mid(5 + 10, 2)), QString("09 29"));

        const QByteArray saved = FileBytes(eeprom);
        QCOMPARE(saved.size(), 4096);
        QCOMPARE(HexText(saved.mid(0x100, 20)), HexText(read.mid(5, 20)));

        // A restarted controller still holds it.
        QVERIFY(sim.stop());
        SimProcess again;
        QVERIFY2(again.start({"--eeprom-file", eeprom}), qPrintable(again.errorText()));
        E2eLink relink(again.linkPath());
        QCOMPARE(relink.start(), OpenOutcome::Opened);
        QCOMPARE(HexText(relink.ask(Hex("64 01 0A 02"))),
                 HexText(WithCrc(Hex("07 64 01 0A 02 09 29"))));
    }

    void addressSwitchThroughTheParameter() {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorText()));
        E2eLink link(sim.linkPath());
        QCOMPARE(link.start(), OpenOutcome::Opened);
        QVERIFY(!link.nextPoll().isEmpty());

        QVERIFY(link.cycle.QueueAddressWrite(0x117, 9, 1));
        QTRY_COMPARE_WITH_TIMEOUT(link.host.address, 9, 5000);
        // The write itself was answered from the old address, the polls after it from the new.
        QVERIFY(link.waitForExchanges(3, 5000));
        QCOMPARE(HexText(link.ask(Hex("64 01 17 01"))), HexText(WithCrc(Hex("09 64 01 17 01 09"))));
        const auto& exchanges = link.answered.exchanges;
        const auto write = std::find_if(exchanges.begin(), exchanges.end(), [](const auto& e) {
            return e.request == Hex("65 01 17 01 09");
        });
        QVERIFY(write != exchanges.end());
        QCOMPARE(HexText(write->answer), HexText(WithCrc(Hex("07 65 01 17 01 09"))));
        QCOMPARE(std::uint8_t(link.nextPoll()[0]), std::uint8_t{9});

        // The old address is no longer answered (the first tick still judges the answer to the
        // last frame sent to 9).
        link.host.address = 7;
        link.host.statusHistory.clear();
        QTRY_VERIFY_WITH_TIMEOUT(link.host.statusHistory.size() >= 5, 5000);
        QVERIFY(!link.host.statusHistory.mid(1).contains(link_text::kAnswerOk));
        QCOMPARE(link.host.status, link_text::kNoAnswer);
    }

    void faultyLineStillCompletesEveryRequest_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("drops and bad CRCs")
            << QStringList{"--drop", "0.3", "--corrupt", "0.1", "--seed", "1"};
        QTest::newRow("answers in two parts") << QStringList{"--split", "0.3", "--seed", "2"};
    }
    void faultyLineStillCompletesEveryRequest() {
        QFETCH(QStringList, faults);
        SimProcess sim;
        QVERIFY2(sim.start(faults), qPrintable(sim.errorText()));
        E2eLink link(sim.linkPath());
        constexpr int kReads = 30;
        for (int i = 0; i < kReads; ++i)
            QVERIFY(QueueReadRequest(link.cycle.request_queue, 0x700 + i, 1));
        QCOMPARE(link.start(), OpenOutcome::Opened);
        QVERIFY(link.waitForExchanges(kReads, 60000));

        for (int i = 0; i < kReads; ++i) {
            const auto& exchange = link.answered.exchanges[i];
            QCOMPARE(static_cast<std::uint8_t>(exchange.request[2]), std::uint8_t(i));
            QCOMPARE(static_cast<std::uint8_t>(exchange.answer[3]), std::uint8_t(i));
            QCOMPARE(exchange.answer.size(), 8);
            QVERIFY(EndsInGoodCrc(exchange.answer));
        }
        const QStringList& statuses = link.host.statusHistory;
        QVERIFY(statuses.contains(link_text::kNoAnswer) ||
                statuses.contains(link_text::kCrcMismatch));
        QVERIFY(statuses.count(link_text::kAnswerOk) >= kReads);
    }
};

QTEST_GUILESS_MAIN(E2eLinkTest)
#include "test_e2e_link.moc"
