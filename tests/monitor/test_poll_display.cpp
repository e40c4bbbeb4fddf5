#include "poll_display_fixture.h"

namespace {
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);

QString led(int i) {
    return QStringLiteral("lbl_led_%1").arg(i);
}
QString signal(int i) {
    return QStringLiteral("lbl_sgl_%1").arg(i);
}
} // namespace

class PollDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void valuesBeforeTheFirstAnswer() {
        PollDisplay d;
        for (const char* name : {"lbl_object", "lbl_pr_ver", "lbl_eng_rpm", "lbl_acc", "lbl_ct",
                                 "lbl_oilp", "lbl_service", "lbl_motomin", "lbl_tr_id"})
            QCOMPARE(d.text(name), QString("-"));
        QVERIFY(!d.shown("lbl_modbus_off"));
        QVERIFY(d.window.findChild<QAction*>("mnu_param")->isEnabled());
    }

    void versionsAndBlockedFlag() {
        PollDisplay d;
        QAction* menu = d.window.findChild<QAction*>("mnu_param");
        d.answer({{0, 0x8105}, {1, 0x020F}});
        QCOMPARE(d.text("lbl_pr_ver"), QString("129 .5 "));
        QCOMPARE(d.text("lbl_sw_ver"), QString("2 .15 "));
        QVERIFY(d.shown("lbl_modbus_off"));
        QCOMPARE(d.text("lbl_modbus_off"), QString("Управление по Modbus заблокировано в ПКВ.604"));
        QVERIFY(!menu->isEnabled());
        d.answer({{0, 0x0105}});
        QCOMPARE(d.text("lbl_pr_ver"), QString("1 .5 "));
        QVERIFY(!d.shown("lbl_modbus_off"));
        QVERIFY(menu->isEnabled());
    }

    void scaledValues_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("raw");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* label, int reg, int raw, const char* separator,
                            const char* expected) {
            QTest::addRow("%s %s", label, expected) << label << reg << raw << separator << expected;
        };
        row("lbl_service", 72, 0xFFA6, ".", "-2 мч");
        row("lbl_service", 72, 0x005A, ".", "2 мч");
        row("lbl_service", 72, 0x0096, ".", "2 мч");
        row("lbl_service", 72, 0x00D2, ".", "4 мч");
        row("lbl_acc", 15, 245, ".", "24.5 ");
        row("lbl_acc", 15, 245, ",", "24,5 ");
        row("lbl_acc", 15, 240, ",", "24 ");
        row("lbl_ct", 7, 0x0352, ",", "85 ");
        row("lbl_oilt", 8, 0xFFEC, ".", "-2 ");
        row("lbl_goilt", 13, 701, ".", "70.1 ");
        row("lbl_oilp", 9, 0xFFF6, ".", "-0.1 ");
        row("lbl_goilp", 14, 2720, ".", "27.2 ");
        row("lbl_inp", 10, 105, ",", "1,05 ");
        row("lbl_outp", 11, 32767, ".", "327.67 ");
        row("lbl_adc_board_d", 66, 0x0ABC, ".", "0ABC");
    }
    void scaledValues() {
        QFETCH(QString, label);
        QFETCH(int, reg);
        QFETCH(int, raw);
        QFETCH(QString, separator);
        PollDisplay d(separator.front());
        d.answer({{reg, static_cast<std::uint16_t>(raw)}});
        QTEST(d.text(label), "expected");
    }

    void pairsOfRegisters_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("highReg");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("low");
        QTest::addColumn<QString>("expected");
        QTest::newRow("engine speed") << "lbl_eng_rpm" << 3 << 0 << 1500 << "1500 ";
        QTest::newRow("shaft speed") << "lbl_prop_rpm" << 5 << 0 << 750 << "750 ";
        QTest::newRow("65536 minutes") << "lbl_motomin" << 73 << 1 << 0 << "1092 мч";
        // High registers of 0x8000 and more stay positive.
        QTest::newRow("engine speed, top bit")
            << "lbl_eng_rpm" << 3 << 0x8000 << 0 << "2147483648 ";
        QTest::newRow("hours, all ones")
            << "lbl_motomin" << 73 << 0xFFFF << 0xFFFF << "71582788 мч";
    }
    void pairsOfRegisters() {
        QFETCH(QString, label);
        QFETCH(int, highReg);
        QFETCH(int, high);
        QFETCH(int, low);
        PollDisplay d;
        d.answer({{highReg, static_cast<std::uint16_t>(high)},
                  {highReg + 1, static_cast<std::uint16_t>(low)}});
        QTEST(d.text(label), "expected");
    }

    void objectTypeSwitchesTheTypeDependentControls() {
        PollDisplay d;
        d.answer({{2, 0}});
        QCOMPARE(d.text("lbl_object"), QString("ДГУ"));
        const auto typeDependent = [&d] {
            return QList<bool>{d.shown(led(6)),        d.shown(led(7)),  d.shown(led(8)),
                               d.shown(led(9)),        d.shown(led(10)), d.shown("lblc_prop_rpm"),
                               d.shown("lbl_prop_rpm")};
        };
        QCOMPARE(typeDependent(), (QList<bool>{true, false, false, false, true, false, false}));
        d.answer({{2, 1}, {6, 900}});
        QCOMPARE(d.text("lbl_object"), QString("ДРА"));
        QCOMPARE(typeDependent(), (QList<bool>{false, true, true, true, false, true, true}));
        QCOMPARE(d.text("lbl_prop_rpm"), QString("900 "));
        d.answer({{2, 7}, {6, 800}});
        QCOMPARE(d.text("lbl_object"), QString("ДРА"));
        QCOMPARE(typeDependent(), (QList<bool>{false, true, true, true, false, true, true}));
        QCOMPARE(d.dispatch.poll.object_type, 7);
        QCOMPARE(d.text("lbl_prop_rpm"), QString("800 "));
        for (int i = 0; i < 6; ++i)
            QVERIFY(d.shown(led(i)));
    }

    void ledsShowTheirColourWhenLit() {
        PollDisplay d;
        const QColor unlit = VisibleColour(d.label(led(3)));
        QVERIFY(unlit != kGreen);
        d.answer({{70, 0x0401}});
        QCOMPARE(VisibleColour(d.label(led(0))), kRed);
        QCOMPARE(VisibleColour(d.label(led(10))), kYellow);
        for (int i : {1, 2, 3, 4, 5, 6})
            QCOMPARE(VisibleColour(d.label(led(i))), unlit);
        d.answer({{70, 0x07FE}, {2, 1}});
        const QList<std::pair<int, QColor>> lit{{1, kRed},    {2, kGreen},  {3, kGreen},
                                                {4, kYellow}, {5, kYellow}, {7, kRed},
                                                {8, kYellow}, {9, kYellow}};
        for (const auto& [i, colour] : lit)
            QCOMPARE(VisibleColour(d.label(led(i))), colour);
        QCOMPARE(VisibleColour(d.label(led(0))), unlit);
        QCOMPARE(d.text(led(0)), QString("Авария"));
        QCOMPARE(d.text(led(10)), QString("Двиг. ост."));
    }

    void signalIndicatorsFollowTheirBits() {
        PollDisplay d;
        QCOMPARE(VisibleColour(d.label(signal(200))), kGreen);
        d.answer({{75, 0x8001}, {90, 0x8000}});
        const QColor unlit = VisibleColour(d.label(signal(1)));
        QVERIFY(unlit != kGreen);
        QCOMPARE(VisibleColour(d.label(signal(15))), kGreen);
        QCOMPARE(VisibleColour(d.label(signal(255))), kGreen);
        for (int i : {1, 7, 14, 240, 247, 254, 16, 100})
            QCOMPARE(VisibleColour(d.label(signal(i))), unlit);
        // The template is never seen but switched all the same.
        QVERIFY(!d.shown(signal(0)));
        QVERIFY(d.label(signal(0))->autoFillBackground());
        d.answer({{76, 0x0001}});
        QCOMPARE(VisibleColour(d.label(signal(16))), kGreen);
        QCOMPARE(VisibleColour(d.label(signal(15))), unlit);
    }

    void faultWordsFillTheHiddenGrid() {
        PollDisplay d;
        Registers faults;
        for (int i = 0; i < 9; ++i)
            faults[92 + i] = static_cast<std::uint16_t>(i * 0x1111);
        faults[100] = 0x1F;
        d.answer(faults);
        QCOMPARE(d.text("lbl_faults_0"), QString("0000"));
        QCOMPARE(d.text("lbl_faults_4"), QString("4444"));
        QCOMPARE(d.text("lbl_faults_8"), QString("001F"));
        QVERIFY(!d.window.findChild<QWidget*>("Frame4")->isVisibleTo(&d.window));
        // Column "Авария", row "Последняя" is register 94.
        QCOMPARE(d.label("lbl_faults_2")->accessibleName(), QString("Авария, последняя"));
    }
};

QTEST_MAIN(PollDisplayTest)
#include "test_poll_display.moc"
