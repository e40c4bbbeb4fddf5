#include "controller_bus.h"
#include "controller_slave.h"
#include "file_bytes.h"
#include "frames.h"
#include "sim_loop.h"

#include <QtTest>

class ControllerSlaveTest : public QObject {
    Q_OBJECT
private slots:
    // Answers carry the tool's CRC, an implementation apart from the simulator's. Each row goes
    // to a fresh controller at address 7 unless `after` is given: then that request goes first.
    void answers_data() {
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* request, const char* expected,
                            const char* after = "") {
            QTest::newRow(name) << QString(after) << QString(request) << QString(expected);
        };
        row("command СТОП echoed", "07 06 01 92 45 69", "07 06 01 92 45 69");
        row("unknown command code", "07 06 01 92 00 01", "07 86 03");
        row("command to another register", "07 06 01 93 12 38", "07 86 02");
        row("last input register", "07 04 01 A8 00 01", "07 04 02 00 00");
        row("input register 299", "07 04 01 2B 00 02", "07 84 02");
        row("past the end", "07 04 01 A8 00 02", "07 84 02");
        row("quantity 0", "07 04 01 2C 00 00", "07 84 03");
        row("quantity 126", "07 04 01 2C 00 7E", "07 84 03");
        row("transaction write", "07 10 01 90 00 02 04 00 05 00 00", "07 10 01 90 00 02");
        row("byte count not twice the quantity", "07 10 01 90 00 02 02 00 05", "07 90 03");
        row("unknown function", "07 2B 0E 01 00", "07 AB 01");
        row("parameter read past the memory", "07 64 0F FF 02", "07 E4 02");
        row("another slave", "08 04 01 2C 00 7D", "");
        // The write of the own address is answered from the old one; 0 is stored but not taken.
        row("own address 0 not taken", "07 04 01 2C 00 01", "07 04 02 02 03", "07 65 01 17 01 00");
        row("own address 9, old one", "07 04 01 2C 00 01", "", "07 65 01 17 01 09");
        row("own address 9, new one", "09 04 01 2C 00 01", "09 04 02 02 03", "07 65 01 17 01 09");
    }
    void answers() {
        QFETCH(QString, after);
        EepromImage eeprom;
        EngineModel engine{1000, 1};
        ControllerSlave slave{7, 0, eeprom, engine};
        const auto framed = [](const QString& hex) {
            return hex.isEmpty() ? QString() : HexText(WithCrc(Hex(qPrintable(hex))));
        };
        const auto ask = [&](const QString& hex) {
            return HexText(slave.handle(Hex(qPrintable(framed(hex))), 1000).answer);
        };
        QCOMPARE(ask(after), framed(after)); // the own address write is echoed
        QFETCH(QString, request);
        QFETCH(QString, expected);
        QCOMPARE(ask(request), framed(expected));
    }

    // The counter line scripts read, with each answer's fate forced by probabilities of 0 or 1:
    // a bad CRC or another slave's request is not taken, a dropped answer is neither spoiled
    // nor sent, and a split one counts as sent only once its second part is out.
    void lineCounters() {
        FaultInjector faults{0, 0, 0, 1};
        SimLine unopened; // takes no bytes; the counters count what the simulator hands it
        const SimOptions options;
        ControllerBus controllers;
        QString error;
        QVERIFY(controllers.build(options, 1, 1000, error));
        SimLoop loop{unopened, controllers, faults, options};
        std::int64_t now = 1000000;
        const auto send = [&](const QByteArray& request, const FaultInjector& fate) {
            faults = fate;
            loop.step(request, now += 10000);
            loop.step({}, now += 10000); // the answer has fallen due
        };
        const QByteArray poll = WithCrc(Hex("07 04 01 2C 00 01"));
        send(poll, faults);
        send(FaultInjector::corrupted(poll), faults);
        send(WithCrc(Hex("08 04 01 2C 00 01")), faults);
        send(poll, FaultInjector{1, 1, 0, 1});
        send(poll, FaultInjector{0, 1, 1, 1});
        QCOMPARE(loop.counters().line(),
                 "zarn-sim counters: received=3 sent=1 dropped=1 corrupted=1 split=1");
        loop.step({}, now += FaultInjector::kSplitGapMs * 1000);
        QCOMPARE(loop.counters().line(),
                 "zarn-sim counters: received=3 sent=2 dropped=1 corrupted=1 split=1");
    }

    // Two controllers on one line, each with its own memory file and object type, each
    // answering its own address only; a broadcast write reaches both and neither answers.
    void severalControllersOnALine() {
        QTemporaryDir dir;
        const ParsedSimOptions parsed =
            ParseSimOptions({"zarn-sim", "--address", "7", "--address", "12", "--object-type",
                             "12=1", "--eeprom-file", dir.filePath("eeprom.bin")});
        QCOMPARE(parsed.error, QString());
        ControllerBus controllers;
        QString error;
        QVERIFY(controllers.build(parsed.options, 1, 1000, error));
        const auto ask = [&](const char* hex) {
            const QByteArray answer = controllers.handle(WithCrc(Hex(hex)), 1000);
            return HexText(answer.left(answer.size() - 2));
        };
        QCOMPARE(ask("07 04 01 2E 00 01"), QString("07 04 02 00 00"));
        QCOMPARE(ask("0C 04 01 2E 00 01"), QString("0C 04 02 00 01"));
        QCOMPARE(ask("08 04 01 2E 00 01"), QString());
        QCOMPARE(ask("0C 65 01 00 01 2A"), QString("0C 65 01 00 01 2A"));
        QCOMPARE(ask("00 65 01 01 01 33"), QString());
        QCOMPARE(ask("07 64 01 01 01"), QString("07 64 01 01 01 33"));
        QCOMPARE(ask("0C 64 01 00 02"), QString("0C 64 01 00 02 2A 33"));
        QCOMPARE(ask("0C 64 01 17 01"), QString("0C 64 01 17 01 0C"));
        QCOMPARE(FileBytes(dir.filePath("eeprom-12.bin")).mid(0x100, 2), Hex("2A 33"));
        QCOMPARE(FileBytes(dir.filePath("eeprom-7.bin")).mid(0x101, 1), Hex("33"));
        QVERIFY(!QFileInfo::exists(dir.filePath("eeprom.bin")));
        const SimOptions one = ParseSimOptions({"zarn-sim", "--eeprom-file", "e.bin"}).options;
        QCOMPARE(one.addresses, std::vector<int>{7});
        QCOMPARE(one.eepromFileOf(7), QString("e.bin"));
    }
};

QTEST_GUILESS_MAIN(ControllerSlaveTest)
#include "test_controller_slave.moc"
