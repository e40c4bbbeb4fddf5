#include "fake_byte_line.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "live/number_format.h"
#include "live/poll_decoder.h"
#include "views/main_window.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QtTest>

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

// Stands in for the parameter boxes' consumer.
struct ParamAnswersSeen : AnswerConsumer {
    QString& routed;
    explicit ParamAnswersSeen(QString& routed) : routed(routed) {}
    void DecodeAnswer(const RxBuffer&) override { routed += "param"; }
};

// The started main window fed as the link feeds it; `routed`: where each answer was sent.
struct LiveDisplay {
    MainWindow window;
    PollDecoder poll;
    QString routed;
    ParamAnswersSeen params{routed};
    FakeByteLine port;
    ExchangeCycle link{port, window, poll};

    explicit LiveDisplay(QChar separator = QLatin1Char('.')) : poll(separator) {
        poll.show_poll = [this](const PollPicture& p) { routed += "poll", window.showPoll(p); };
        window.fillSlaveAddresses();
        window.createSignalGrid();
        window.show();
        port.open();
        link.ExchangeTick(); // the poll in flight
    }
    void answer(const Registers& registers) { poll.DecodeAnswer(RxOf(PollFrame(registers))); }
    // Puts `hex` and its CRC on the line while a request of its function (the poll for one that
    // has none) is in flight, and lets the link judge it.
    void answerThroughLink(const char* hex) {
        const QByteArray frame = WithCrc(Hex(hex));
        const auto function = std::uint8_t(frame[1] & 0x7F);
        const std::map<std::uint8_t, Request> requests{
            {6, CommandRequest(Command::Start)},
            {100, AnsweredBy(ParamReadRequest(0x10, 1), params)},
            {101, AnsweredBy(ParamWriteRequest(0x10, 5, 1), params)}};
        const Request request =
            requests.count(function) ? requests.at(function) : AnsweredBy(PollRequest(), poll);
        link.queue(request);
        while (std::uint8_t(port.written.last()[1]) != request.pdu.front())
            port.feed(WithCrc(Hex("01"))), link.ExchangeTick(); // answers nobody's function
        window.setText(kOk), routed.clear();
        port.feed(frame), link.ExchangeTick();
    }
    template <typename T = QLabel> T* find(const QString& name) const {
        return window.findChild<T*>(name);
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
    // Values read "-" until the first answer; signed ones are fed 0x8000 or more, pairs stay
    // unsigned. A screen reader reads a value label's text as its name, its meaning as description.
    void valuesAnswersAndWhatAScreenReaderReads() {
        LiveDisplay d(QLatin1Char(','));
        QCOMPARE(d.find<QWidget>("Frame2")->property("title").toString(),
                 QString("Температура, °C"));
        QCOMPARE(d.text("lbl_object") + d.text("lbl_eng_rpm") + d.text("lbl_motomin"), "---");
        auto* menu = d.find<QAction>("mnu_param");
        QLabel* blocked = d.find("lbl_modbus_off");
        QVERIFY(!d.shown(blocked) && menu->isEnabled() && !d.shown(d.find<QWidget>("Frame4")));
        const std::array flat{0,  0x8105, 3,  0x8000, 4,  0x8001, 7,  0x8000,
                              8,  0xFFEC, 13, 0xFD44, 9,  0xFFF6, 14, 0x8000,
                              10, 0xFF97, 11, 0x8000, 15, 0x8001, 72, 0x8000,
                              73, 0x8000, 74, 0x8000, 66, 0xF00D, 92, 0x001F};
        Registers registers;
        for (std::size_t i = 0; i < flat.size(); i += 2)
            registers[flat[i]] = std::uint16_t(flat[i + 1]);
        d.answer(registers);
        d.window.setText(kOk);
        QStringList seen;
        for (const char* name : {"lbl_pr_ver", "lbl_eng_rpm", "lbl_ct", "lbl_oilt", "lbl_goilt",
                                 "lbl_oilp", "lbl_goilp", "lbl_inp", "lbl_outp", "lbl_acc",
                                 "lbl_service", "lbl_motomin", "lbl_adc_board_d", "lbl_faults_0"})
            seen << d.text(name);
        QCOMPARE(seen, (QStringList{"129 .5 ", "2147516417 ", "-3276,8 ", "-2 ", "-70 ", "-0,1 ",
                                    "-327,68 ", "-1,05 ", "-327,68 ", "-3276,7 ", "-546 мч",
                                    "35791940 мч", "F00D", "001F"}));
        for (QLabel* label : d.window.findChildren<QLabel*>(QRegularExpression("^lbl_(?!led|sgl)")))
            QCOMPARE(Accessible(label), label->text());
        QCOMPARE(Accessible(d.find("lbl_sys_mes"), QAccessible::Description), "Состояние связи");
        QCOMPARE(Accessible(d.find("lbl_eng_rpm"), QAccessible::Description),
                 "Частота вращения двигателя, об/мин");
        QCOMPARE(Accessible(d.find("lbl_faults_2"), QAccessible::Description), "Авария, последняя");
        QVERIFY(d.shown(blocked) && !menu->isEnabled());
        QCOMPARE(blocked->text(), QString("Управление по Modbus заблокировано в ПКВ.604"));
        QCOMPARE(blocked->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        d.answer({{0, 0x0105}});
        QVERIFY(!d.shown(blocked) && menu->isEnabled());
        // What reaches the status line, the live picture and the parameter boxes.
        seen.clear();
        for (const char* answer : {"07 84 02", "07 FF FF", "07 06 01 92 12 38", "07 7F 00",
                                   "07 04 02 00 00", "07 64 00 10 01 05", "07 65 00 10 01 05"}) {
            d.answerThroughLink(answer);
            seen << d.window.text().remove(kOk) + d.routed;
        }
        const QString refused = " Нарушение протокола, код: ";
        QCOMPARE(seen,
                 (QStringList{refused + "2", refused + "255", "", "", "poll", "param", "param"}));
    }

    // Indicators of each colour lit, neighbours not; signals follow their bits. ДГУ and ДРА show
    // other indicators (6 and 7 share a place) and the propeller speed; an unknown type keeps it.
    void indicatorsAndTheObjectType() {
        LiveDisplay d;
        const QColor u = VisibleColour(d.led(3)), r = kRed, g = kGreen, y = kYellow;
        QVERIFY(u != g);
        QCOMPARE(VisibleColour(d.signal(200)), g); // all lit until the first answer
        const auto seen = [&d](const Registers& answer) {
            d.answer(answer);
            QList<QColor> colours;
            for (int i = 0; i < kLedCount; ++i)
                colours << VisibleColour(d.led(i));
            for (int i : {15, 16, 255, 1, 14, 254})
                colours << VisibleColour(d.signal(i));
            return colours;
        };
        QCOMPARE(seen({{70, 0x07C5}, {2, 0}, {75, 0x8001}, {90, 0x8000}, {76, 1}}),
                 (QList<QColor>{r, u, g, u, u, u, y, y, u, u, y, g, g, g, u, u, u}));
        QVERIFY(d.shown(d.led(6)) && !d.shown(d.led(7)) && !d.shown(d.find("lbl_prop_rpm")));
        const QList<QColor> dra{r, u, g, u, u, u, r, r, y, y, u, u, u, u, u, u, u};
        QCOMPARE(seen({{70, 0x07C5}, {2, 1}}), dra);
        QCOMPARE(seen({{70, 0x07C5}, {2, 7}, {6, 800}}), dra);
        QVERIFY(!d.shown(d.led(6)) && d.shown(d.led(7)) && d.shown(d.find("lbl_prop_rpm")));
        QCOMPARE(d.text("lbl_object") + d.text("lbl_prop_rpm"), QString("ДРА800 "));
    }

    void numberFormat() {
        const auto f = [](qint64 value, int decimals, double scale, char separator = '.') {
            return FormatScaled(value, decimals, scale, QString(), QLatin1Char(separator));
        };
        // Ties go to the even digit; so do 2.675 and 2.665, stored a little below their value.
        QCOMPARE((QStringList{f(5, 0, 0.5), f(-3, 0, 0.5), f(3, 3, 0.0005), f(2675, 2, 0.001),
                              f(2665, 2, 0.001)}),
                 (QStringList{"2 ", "-2 ", "0.002 ", "2.68 ", "2.66 "}));
        QCOMPARE(
            (QStringList{f(9995, 2, 0.001), f(5, 3, 10.0), f(-1, 3, 0.0005),
                         f(1234567890123456789LL, 0, 1.0), f(1, 15, 1e-6),
                         f(1234567, 3, 0.0001, ',')}),
            (QStringList{"10 ", "50 ", "0 ", "1234567890123460000 ", "0.000001 ", "123,457 "}));
        // Beyond 10^13 units the digits come from the printed double: its ties go even as well.
        QCOMPARE(f(20000000000001LL, 0, 0.5), QString("10000000000000 "));
    }
};

QTEST_MAIN(LiveDisplayTest)
#include "test_live_display.moc"
