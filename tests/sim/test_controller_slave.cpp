#include "controller_slave.h"
#include "eeprom_image.h"
#include "engine_model.h"
#include "frames.h"

#include <QtTest>

namespace {
constexpr std::int64_t kStartMs = 1000;

struct Controller {
    EepromImage eeprom;
    EngineModel engine{kStartMs, 1};
    ControllerSlave slave{7, 0, eeprom, engine};

    QString ask(const char* requestHex, std::int64_t nowMs = kStartMs) {
        return HexText(slave.handle(WithCrc(Hex(requestHex)), nowMs).answer);
    }
    // Register k of the poll block as the controller reports it now.
    int reg(int k, std::int64_t nowMs) {
        const QByteArray pdu = QByteArray::fromHex(
            QByteArray::number(300 + k, 16).rightJustified(4, '0').prepend("0704") + "0001");
        const QByteArray answer = slave.handle(WithCrc(pdu), nowMs).answer;
        return 256 * std::uint8_t(answer[3]) + std::uint8_t(answer[4]);
    }
};

QString answer(const char* hex) {
    return HexText(WithCrc(Hex(hex)));
}
} // namespace

class ControllerSlaveTest : public QObject {
    Q_OBJECT
private slots:
    // Cases beyond those the end-to-end test asks the running simulator.
    void answersAsAModbusSlave_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("expected");
        QTest::newRow("transaction write")
            << "07 10 01 90 00 02 04 00 05 00 00" << answer("07 10 01 90 00 02");
        QTest::newRow("transaction write of register 401 alone")
            << "07 10 01 91 00 01 02 00 01" << answer("07 10 01 91 00 01");
        QTest::newRow("holding registers elsewhere")
            << "07 10 00 00 00 01 02 00 00" << answer("07 90 02");
        QTest::newRow("byte count not twice the quantity")
            << "07 10 01 90 00 02 02 00 05" << answer("07 90 03");
        QTest::newRow("input register 299") << "07 04 01 2B 00 01" << answer("07 84 02");
        QTest::newRow("input register 425") << "07 04 01 A9 00 01" << answer("07 84 02");
        QTest::newRow("past the end") << "07 04 01 A8 00 02" << answer("07 84 02");
        QTest::newRow("quantity 0") << "07 04 01 2C 00 00" << answer("07 84 03");
        QTest::newRow("quantity 126") << "07 04 01 2C 00 7E" << answer("07 84 03");
        QTest::newRow("last register") << "07 04 01 A8 00 01" << answer("07 04 02 00 00");
        QTest::newRow("parameter bytes past the memory") << "07 64 0F FF 02" << answer("07 E4 02");
        QTest::newRow("parameter write past the memory")
            << "07 65 0F FF 02 00 00" << answer("07 E5 02");
        QTest::newRow("no parameter bytes") << "07 64 01 00 00" << answer("07 64 01 00 00");
        QTest::newRow("another slave") << "08 04 01 2C 00 7D"
                                       << "";
        QTest::newRow("broadcast") << "00 06 01 92 12 38"
                                   << "";
    }
    void answersAsAModbusSlave() {
        QFETCH(QString, request);
        QFETCH(QString, expected);
        Controller controller;
        QCOMPARE(controller.ask(request.toLatin1()), expected);
    }

    void pollAnswerCarriesTheWholeBlock() {
        Controller controller;
        const QByteArray poll =
            controller.slave.handle(WithCrc(Hex("07 04 01 2C 00 7D")), kStartMs).answer;
        QCOMPARE(poll.size(), 255);
        QCOMPARE(HexText(poll.left(5)), QString("07 04 FA 02 03"));
        QCOMPARE(HexText(WithCrc(poll.left(253))), HexText(poll));
    }

    void parameterWriteIsStoredAndReadBack() {
        Controller controller;
        QCOMPARE(controller.ask("07 65 01 0A 02 07 D0"), answer("07 65 01 0A 02 07 D0"));
        QCOMPARE(controller.ask("07 64 01 0A 02"), answer("07 64 01 0A 02 07 D0"));
        QCOMPARE(controller.eeprom.at(0x10A), std::uint8_t{0x07});
        QCOMPARE(controller.eeprom.at(0x10B), std::uint8_t{0xD0});
    }

    void parameterWriteReportsTheChange() {
        Controller controller;
        QVERIFY(controller.slave.handle(WithCrc(Hex("07 65 01 00 01 50")), kStartMs).eepromChanged);
        QVERIFY(!controller.slave.handle(WithCrc(Hex("07 64 01 00 01")), kStartMs).eepromChanged);
        QVERIFY(
            !controller.slave.handle(WithCrc(Hex("07 65 0F FF 02 00 00")), kStartMs).eepromChanged);
    }

    void newOwnAddressAfterTheAnswer() {
        Controller controller;
        QCOMPARE(controller.ask("07 65 01 17 01 09"), answer("07 65 01 17 01 09"));
        QCOMPARE(controller.slave.address(), 9);
        QCOMPARE(controller.ask("07 04 01 2C 00 01"), QString());
        QCOMPARE(controller.ask("09 04 01 2C 00 01"), answer("09 04 02 02 03"));
        // A write that covers the address byte among others counts as well.
        QCOMPARE(controller.ask("09 65 01 16 02 19 0B"), answer("09 65 01 16 02 19 0B"));
        QCOMPARE(controller.slave.address(), 11);
    }

    void addressOutsideTheSlaveRangeIsStoredButNotTaken() {
        Controller controller;
        QCOMPARE(controller.ask("07 65 01 17 01 00"), answer("07 65 01 17 01 00"));
        QCOMPARE(controller.slave.address(), 7);
    }

    void transactionWriteIsKept() {
        Controller controller;
        controller.ask("07 10 01 90 00 02 04 01 02 00 01");
        QCOMPARE(controller.slave.holdingRegister(0), std::uint16_t{0x0102});
        QCOMPARE(controller.slave.holdingRegister(1), std::uint16_t{1});
    }

    void commandsDriveThePolledState() {
        Controller controller;
        constexpr int kLeds = 70;
        QCOMPARE(controller.reg(kLeds, kStartMs) & 0x0C, 0x08); // "Готов", not "Работа"
        controller.ask("07 06 01 92 12 38");
        const std::int64_t running = kStartMs + 10000;
        QCOMPARE(controller.reg(3, running) * 65536 + controller.reg(4, running),
                 EngineModel::kWorkingRpm);
        QCOMPARE(controller.reg(kLeds, running) & 0x0C, 0x04);

        controller.ask("07 06 01 92 AB C4", running);
        QVERIFY(controller.reg(kLeds, running) & 0x20);
        QVERIFY(controller.reg(93, running) != 0);
        controller.ask("07 06 01 92 78 9A", running);
        for (int k = 92; k <= 100; ++k)
            QCOMPARE(controller.reg(k, running), 0);

        controller.ask("07 06 01 92 45 69", running);
        QCOMPARE(controller.reg(4, running + 10000), 0);
    }
};

QTEST_GUILESS_MAIN(ControllerSlaveTest)
#include "test_controller_slave.moc"
