#include "monitor/answer_dispatch.h"
#include "monitor/main_window.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>

namespace {
QString Read(QObject* label, QAccessible::Text what) {
    return QAccessible::queryAccessibleInterface(label)->text(what);
}

// A poll answer whose 125 registers all hold `value`.
RxBuffer PollAnswerOfAll(std::uint16_t value) {
    RxBuffer rx;
    rx.rx_buffer[0] = 7;
    rx.rx_buffer[1] = 4;
    rx.rx_buffer[2] = 250;
    for (int k = 0; k < 125; ++k) {
        rx.rx_buffer[3 + 2 * k] = static_cast<std::uint8_t>(value >> 8);
        rx.rx_buffer[4 + 2 * k] = static_cast<std::uint8_t>(value & 0xFF);
    }
    rx.rx_count = 255;
    return rx;
}
} // namespace

// A screen reader reads a label's accessible name: for every label that shows a value or the
// link state that must be the text shown at that moment, with its meaning in the description.
class AccessibleValuesTest : public QObject {
    Q_OBJECT
private slots:
    void screenReadersReadTheShownValues() {
        MainWindow window;
        AnswerDispatch dispatch(window, QLatin1Char(','));
        dispatch.showPoll = [&window](const PollPicture& picture) { window.showPoll(picture); };
        window.fillSlaveAddresses();
        window.createSignalGrid();
        window.show();

        const auto changingLabels = [&window] {
            QList<QLabel*> labels;
            for (QLabel* label : window.findChildren<QLabel*>())
                if (label->objectName().startsWith("lbl_") &&
                    !label->objectName().startsWith("lbl_led") &&
                    !label->objectName().startsWith("lbl_sgl"))
                    labels.append(label);
            return labels;
        };
        for (const std::uint16_t value : {0x0105, 0x8203}) {
            dispatch.DecodeAnswer(PollAnswerOfAll(value));
            window.setText(QStringLiteral("Ошибка обмена: Нет ответа от контроллера ЗАРН"));
            for (QLabel* label : changingLabels())
                QCOMPARE(Read(label, QAccessible::Name), label->text());
        }
        QCOMPARE(Read(window.findChild<QLabel*>("lbl_sys_mes"), QAccessible::Name),
                 QStringLiteral("Ошибка обмена: Нет ответа от контроллера ЗАРН"));
        QCOMPARE(Read(window.findChild<QLabel*>("lbl_sys_mes"), QAccessible::Description),
                 QStringLiteral("Состояние связи"));
        QCOMPARE(Read(window.findChild<QLabel*>("lbl_eng_rpm"), QAccessible::Description),
                 QStringLiteral("Частота вращения двигателя, об/мин"));
        QCOMPARE(Read(window.findChild<QLabel*>("lbl_faults_4"), QAccessible::Description),
                 QStringLiteral("Неисправность, сохран."));
        // The indicators keep their captions as names and say whether they are lit.
        QLabel* led = window.findChild<QLabel*>("lbl_led_0");
        QCOMPARE(Read(led, QAccessible::Name), QStringLiteral("Авария"));
        QVERIFY(Read(led, QAccessible::Description).endsWith(QStringLiteral("горит")));
    }
};

QTEST_MAIN(AccessibleValuesTest)
#include "test_accessible_values.moc"
