#include "frames.h"
#include "monitor/answer_dispatch.h"
#include "monitor/main_window.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

Q_DECLARE_METATYPE(Registers)

namespace {
const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kYellow(255, 255, 0);
const QString kOk = QStringLiteral("Связь с контроллером ЗАРН установлена");

// The colour a user sees in the middle of the widget's left edge, just inside its border.
QColor VisibleColour(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(2, widget->height() / 2));
    return widget->window()->grab(QRect(at, QSize(1, 1))).toImage().pixelColor(0, 0);
}
QString Accessible(QWidget* widget, QAccessible::Text what = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
}

// The main window after its start-up, fed through the answer dispatch as the link feeds it;
// `routed` tells where the dispatch sent the answers.
struct LiveDisplay {
    MainWindow window;
    AnswerDispatch dispatch;
    QString routed;

    explicit LiveDisplay(QChar separator = QLatin1Char('.')) : dispatch(window, separator) {
        dispatch.showPoll = [this](const PollPicture& p) { routed += "poll", window.showPoll(p); };
        dispatch.paramAnswer = [this](const RxBuffer&) { routed += "param"; };
        window.fillSlaveAddresses();
        window.createSignalGrid();
        window.show();
    }
    void answer(const Registers& registers) { dispatch.DecodeAnswer(RxOf(PollFrame(registers))); }
    template <typename T = QLabel> T* find(const QString& name) const {
        T* found = window.findChild<T*>(name);
        return found ? found : (qFatal("no control %s", qPrintable(name)), nullptr);
    }
    QLabel* led(int i) const { return find(QStringLiteral("lbl_led_%1").arg(i)); }
    QLabel* signal(int i) const { return find(QStringLiteral("lbl_sgl_%1").arg(i)); }
    QString text(const QString& name) const { return find(name)->text(); }
    bool shown(const QWidget* widget) const { return widget->isVisibleTo(&window); }
};
} // namespace

class LiveDisplayTest : public QObject {
    Q_OBJECT
private slots:
    // Every signed quantity is fed a register of 0x8000 or more, so reading it unsigned shows;
    // pairs of registers stay unsigned in both halves.
    void labelsShowTheirRegisters() {
        LiveDisplay d(QLatin1Char(','));
        // Register, value; register, value ...
        const std::array flat{0,  0x8105, 3,  0x8000, 4,  0x8001, 7,  0x8000,
                              8,  0xFFEC, 13, 0xFD44, 9,  0xFFF6, 14, 0x8000,
                              10, 0xFF97, 11, 0x8000, 15, 0x8001, 72, 0x8000,
                              73, 0x8000, 74, 0x8000, 66, 0xF00D, 92, 0x001F};
        Registers registers;
        for (std::size_t i = 0; i < flat.size(); i += 2)
            registers[flat[i]] = std::uint16_t(flat[i + 1]);
        d.answer(registers);
        QStringList seen;
        for (const char* name : {"lbl_pr_ver", "lbl_eng_rpm", "lbl_ct", "lbl_oilt", "lbl_goilt",
                                 "lbl_oilp", "lbl_goilp", "lbl_inp", "lbl_outp", "lbl_acc",
                                 "lbl_service", "lbl_motomin", "lbl_adc_board_d", "lbl_faults_0"})
            seen << d.text(name);
        QCOMPARE(seen, (QStringList{"129 .5 ", "2147516417 ", "-3276,8 ", "-2 ", "-70 ", "-0,1 ",
                                    "-327,68 ", "-1,05 ", "-327,68 ", "-3276,7 ", "-546 мч",
                                    "35791940 мч", "F00D", "001F"}));
    }

    // What reaches the status line, the live picture and the parameter boxes.
    void answersGoToTheirConsumers() {
        LiveDisplay d;
        QStringList seen;
        for (const char* answer : {"07 84 02", "07 FF FF", "07 06 01 92 12 38", "07 7F 00",
                                   "07 04 02 00 00", "07 64 00 10 01 05", "07 65 00 10 01 05"}) {
            d.window.setText(kOk);
            d.routed.clear();
            d.dispatch.DecodeAnswer(RxOf(WithCrc(Hex(answer))));
            seen << d.window.text().remove(kOk) + d.routed;
        }
        const QString refused = " Нарушение протокола, код: ";
        QCOMPARE(seen,
                 (QStringList{refused + "2", refused + "255", "", "", "poll", "param", "param"}));
    }

    // Values read "-" until the first answer. A screen reader reads a value label's text as its
    // name, and what it means as its description.
    void blockedFlagAndWhatAScreenReaderReads() {
        LiveDisplay d;
        QCOMPARE(d.find<QGroupBox>("Frame2")->title(), QString("Температура, °C"));
        QCOMPARE(d.text("lbl_object") + d.text("lbl_eng_rpm") + d.text("lbl_motomin"), "---");
        auto* menu = d.find<QAction>("mnu_param");
        QLabel* blocked = d.find("lbl_modbus_off");
        QVERIFY(!d.shown(blocked) && menu->isEnabled() && !d.shown(d.find<QWidget>("Frame4")));
        d.answer({{0, 0x8105}, {4, 1500}, {94, 7}});
        d.window.setText(kOk);
        QVERIFY(d.shown(blocked) && !menu->isEnabled());
        QCOMPARE(blocked->text(), QString("Управление по Modbus заблокировано в ПКВ.604"));
        QCOMPARE(blocked->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        for (QLabel* label : d.window.findChildren<QLabel*>(QRegularExpression("^lbl_(?!led|sgl)")))
            QCOMPARE(Accessible(label), label->text());
        QCOMPARE(Accessible(d.find("lbl_sys_mes"), QAccessible::Description), "Состояние связи");
        QCOMPARE(Accessible(d.find("lbl_eng_rpm"), QAccessible::Description),
                 "Частота вращения двигателя, об/мин");
        QCOMPARE(Accessible(d.find("lbl_faults_2"), QAccessible::Description), "Авария, последняя");
        d.answer({{0, 0x0105}});
        QVERIFY(!d.shown(blocked) && menu->isEnabled());
    }

    // ДГУ and ДРА show different indicators and the propeller speed; an unknown type keeps the
    // last look.
    void objectTypeSwitchesTheTypeDependentControls() {
        LiveDisplay d;
        const auto look = [&d] {
            QString shown = d.text("lbl_object");
            for (QWidget* w :
                 {d.led(6), d.led(7), d.led(8), d.led(9), d.led(10), d.find("lbl_prop_rpm")})
                shown += d.shown(w) ? '1' : '0';
            return shown;
        };
        d.answer({{2, 0}});
        QCOMPARE(look(), QString("ДГУ100010"));
        d.answer({{2, 1}});
        QCOMPARE(look(), QString("ДРА011101"));
        d.answer({{2, 7}, {6, 800}});
        QCOMPARE(look() + d.text("lbl_prop_rpm"), QString("ДРА011101800 "));
    }

    // One indicator of each colour lit, its neighbours not; the signals follow their bits.
    void indicatorsShowTheirColourWhenLit() {
        LiveDisplay d;
        const QColor unlit = VisibleColour(d.led(3));
        QVERIFY(unlit != kGreen);
        QCOMPARE(VisibleColour(d.signal(200)), kGreen); // all lit until the first answer
        d.answer({{70, 0x0405}, {75, 0x8001}, {90, 0x8000}, {76, 0x0001}});
        QList<QColor> seen;
        for (QLabel* l : {d.led(0), d.led(1), d.led(2), d.led(3), d.led(10), d.signal(15),
                          d.signal(16), d.signal(255), d.signal(1), d.signal(14), d.signal(254)})
            seen << VisibleColour(l);
        QCOMPARE(seen, (QList<QColor>{kRed, unlit, kGreen, unlit, kYellow, kGreen, kGreen, kGreen,
                                      unlit, unlit, unlit}));
        QCOMPARE(d.led(0)->text() + d.led(10)->text(), QString("АварияДвиг. ост."));
    }
};

QTEST_MAIN(LiveDisplayTest)
#include "test_live_display.moc"
