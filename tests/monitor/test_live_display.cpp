#include "frames.h"
#include "monitor/answer_dispatch.h"
#include "monitor/main_window.h"

#include <QAction>
#include <QLabel>
#include <QtTest>

Q_DECLARE_METATYPE(Registers)

namespace {
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QString kOk = QStringLiteral("Связь с контроллером ЗАРН установлена");

// The colour a user sees in the middle of the label's left edge, just inside its border.
QColor VisibleColour(QWidget* widget) {
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(2, widget->height() / 2));
    return window->grab(QRect(at, QSize(1, 1))).toImage().pixelColor(0, 0);
}

// The main window after its start-up, fed through the answer dispatch as the link feeds it.
struct LiveDisplay {
    MainWindow window;
    AnswerDispatch dispatch;
    int polls = 0;
    int paramAnswers = 0;

    explicit LiveDisplay(QChar separator = QLatin1Char('.')) : dispatch(window, separator) {
        dispatch.showPoll = [this](const PollPicture& picture) {
            ++polls;
            window.showPoll(picture);
        };
        dispatch.paramAnswer = [this](const RxBuffer&) { ++paramAnswers; };
        window.fillSlaveAddresses();
        window.createSignalGrid();
        window.show();
    }
    void answer(const Registers& registers) { dispatch.DecodeAnswer(RxOf(PollFrame(registers))); }
    QLabel* label(const QString& name) const {
        auto* found = window.findChild<QLabel*>(name);
        if (!found)
            qFatal("no label %s", qPrintable(name));
        return found;
    }
    QLabel* led(int i) const { return label(QStringLiteral("lbl_led_%1").arg(i)); }
    QLabel* signal(int i) const { return label(QStringLiteral("lbl_sgl_%1").arg(i)); }
    QString text(const QString& name) const { return label(name)->text(); }
    bool shown(const QWidget* widget) const { return widget->isVisibleTo(&window); }
    bool shown(const QString& name) const { return shown(label(name)); }
};
} // namespace

class LiveDisplayTest : public QObject {
    Q_OBJECT
private slots:
    // Every signed quantity is fed a register of 0x8000 or more, so reading it unsigned shows;
    // pairs of registers stay unsigned in both halves.
    void labels_data() {
        QTest::addColumn<Registers>("registers");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* label, const Registers& registers, char separator,
                            const char* expected) {
            QTest::addRow("%s %s", label, expected)
                << registers << QChar(separator) << QString(label) << QString(expected);
        };
        row("lbl_pr_ver", {{0, 0x8105}}, '.', "129 .5 ");
        row("lbl_sw_ver", {{1, 0x020F}}, '.', "2 .15 ");
        row("lbl_object", {{2, 0}}, '.', "ДГУ");
        row("lbl_object", {{2, 1}}, '.', "ДРА");
        row("lbl_eng_rpm", {{3, 0x8000}, {4, 0x8001}}, '.', "2147516417 ");
        row("lbl_prop_rpm", {{5, 0xFFFF}, {6, 0xFFFF}}, '.', "4294967295 ");
        row("lbl_ct", {{7, 0x8000}}, ',', "-3276,8 ");
        row("lbl_oilt", {{8, 0xFFEC}}, '.', "-2 ");
        row("lbl_goilt", {{13, 0xFD44}}, '.', "-70 ");
        row("lbl_oilp", {{9, 0xFFF6}}, '.', "-0.1 ");
        row("lbl_goilp", {{14, 0x8000}}, ',', "-327,68 ");
        row("lbl_inp", {{10, 0xFF97}}, ',', "-1,05 ");
        row("lbl_outp", {{11, 0x8000}}, '.', "-327.68 ");
        row("lbl_acc", {{15, 0x8001}}, ',', "-3276,7 ");
        row("lbl_acc", {{15, 245}}, '.', "24.5 ");
        row("lbl_service", {{72, 0x8000}}, '.', "-546 мч");
        row("lbl_motomin", {{73, 0x8000}, {74, 0x8000}}, '.', "35791940 мч");
        row("lbl_adc_board_d", {{66, 0x0ABC}}, '.', "0ABC");
        row("lbl_adc_board_d", {{66, 0xF00D}}, '.', "F00D");
        row("lbl_faults_0", {{92, 0x001F}}, '.', "001F");
        row("lbl_faults_8", {{100, 0x8000}}, '.', "8000");
    }
    void labels() {
        QFETCH(Registers, registers);
        QFETCH(QChar, separator);
        QFETCH(QString, label);
        LiveDisplay d(separator);
        d.answer(registers);
        QTEST(d.text(label), "expected");
    }

    // What reaches the status line, the live picture and the parameter boxes.
    void answersGoToTheirConsumers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("polls");
        QTest::addColumn<int>("paramAnswers");
        const QString refused = kOk + " Нарушение протокола, код: ";
        QTest::newRow("poll refused") << "07 84 02" << refused + "2" << 0 << 0;
        QTest::newRow("parameter write refused") << "07 E5 0B" << refused + "11" << 0 << 0;
        QTest::newRow("code 255") << "07 FF FF" << refused + "255" << 0 << 0;
        QTest::newRow("function 3") << "07 03 02 00 01" << kOk << 0 << 0;
        QTest::newRow("command echo") << "07 06 01 92 12 38" << kOk << 0 << 0;
        QTest::newRow("transaction echo") << "07 10 01 90 00 02" << kOk << 0 << 0;
        QTest::newRow("function 127") << "07 7F 00" << kOk << 0 << 0;
        QTest::newRow("poll") << "07 04 02 00 00" << kOk << 1 << 0;
        QTest::newRow("parameter read") << "07 64 00 10 01 05" << kOk << 0 << 1;
        QTest::newRow("parameter write") << "07 65 00 10 01 05" << kOk << 0 << 1;
    }
    void answersGoToTheirConsumers() {
        QFETCH(QString, answer);
        LiveDisplay d;
        d.window.setText(kOk);
        d.dispatch.DecodeAnswer(RxOf(WithCrc(Hex(answer.toLatin1().constData()))));
        QTEST(d.window.text(), "status");
        QTEST(d.polls, "polls");
        QTEST(d.paramAnswers, "paramAnswers");
    }

    void blockedFlagAndTheLookBeforeTheFirstAnswer() {
        LiveDisplay d;
        for (const char* name : {"lbl_object", "lbl_pr_ver", "lbl_eng_rpm", "lbl_acc", "lbl_oilp",
                                 "lbl_service", "lbl_motomin", "lbl_tr_id"})
            QCOMPARE(d.text(name), QString("-"));
        QAction* menu = d.window.findChild<QAction*>("mnu_param");
        QVERIFY(!d.shown("lbl_modbus_off") && menu->isEnabled());
        QVERIFY(!d.window.findChild<QWidget*>("Frame4")->isVisibleTo(&d.window));
        QCOMPARE(d.label("lbl_faults_2")->accessibleName(), QString("Авария, последняя"));
        d.answer({{0, 0x8105}});
        QVERIFY(d.shown("lbl_modbus_off") && !menu->isEnabled());
        QCOMPARE(d.text("lbl_modbus_off"), QString("Управление по Modbus заблокировано в ПКВ.604"));
        d.answer({{0, 0x0105}});
        QVERIFY(!d.shown("lbl_modbus_off") && menu->isEnabled());
    }

    void objectTypeSwitchesTheTypeDependentControls() {
        LiveDisplay d;
        const auto typeDependent = [&d] {
            return QList<bool>{d.shown(d.led(6)),      d.shown(d.led(7)),  d.shown(d.led(8)),
                               d.shown(d.led(9)),      d.shown(d.led(10)), d.shown("lblc_prop_rpm"),
                               d.shown("lbl_prop_rpm")};
        };
        const QList<bool> dgu{true, false, false, false, true, false, false};
        const QList<bool> dra{false, true, true, true, false, true, true};
        d.answer({{2, 0}});
        QCOMPARE(typeDependent(), dgu);
        d.answer({{2, 1}});
        QCOMPARE(typeDependent(), dra);
        // An unknown type keeps the last look.
        d.answer({{2, 7}, {6, 800}});
        QCOMPARE(d.text("lbl_object"), QString("ДРА"));
        QCOMPARE(typeDependent(), dra);
        QCOMPARE(d.text("lbl_prop_rpm"), QString("800 "));
        for (int i = 0; i < 6; ++i)
            QVERIFY(d.shown(d.led(i)));
    }

    void ledsShowTheirColourWhenLit() {
        LiveDisplay d;
        const QColor unlit = VisibleColour(d.led(3));
        QVERIFY(unlit != kGreen);
        d.answer({{70, 0x0401}});
        QCOMPARE(VisibleColour(d.led(0)), kRed);
        QCOMPARE(VisibleColour(d.led(10)), kYellow);
        for (int i : {1, 2, 3, 4, 5, 6})
            QCOMPARE(VisibleColour(d.led(i)), unlit);
        d.answer({{70, 0x07FE}, {2, 1}});
        const QList<std::pair<int, QColor>> lit{{1, kRed},    {2, kGreen},  {3, kGreen},
                                                {4, kYellow}, {5, kYellow}, {7, kRed},
                                                {8, kYellow}, {9, kYellow}};
        for (const auto& [i, colour] : lit)
            QCOMPARE(VisibleColour(d.led(i)), colour);
        QCOMPARE(VisibleColour(d.led(0)), unlit);
        QCOMPARE(d.led(0)->text(), QString("Авария"));
        QCOMPARE(d.led(10)->text(), QString("Двиг. ост."));
    }

    void signalIndicatorsFollowTheirBits() {
        LiveDisplay d;
        for (int i = 1; i < kSignalCount; ++i)
            QCOMPARE(d.signal(i)->text(), QString::number(i));
        QCOMPARE(VisibleColour(d.signal(200)), kGreen);
        d.answer({{75, 0x8001}, {90, 0x8000}});
        const QColor unlit = VisibleColour(d.signal(1));
        QVERIFY(unlit != kGreen);
        QCOMPARE(VisibleColour(d.signal(15)), kGreen);
        QCOMPARE(VisibleColour(d.signal(255)), kGreen);
        for (int i : {1, 7, 14, 240, 247, 254, 16, 100})
            QCOMPARE(VisibleColour(d.signal(i)), unlit);
        // The template is never seen but switched all the same.
        QVERIFY(!d.shown(d.signal(0)));
        QVERIFY(d.signal(0)->autoFillBackground());
        d.answer({{76, 0x0001}});
        QCOMPARE(VisibleColour(d.signal(16)), kGreen);
        QCOMPARE(VisibleColour(d.signal(15)), unlit);
    }
};

QTEST_MAIN(LiveDisplayTest)
#include "test_live_display.moc"
