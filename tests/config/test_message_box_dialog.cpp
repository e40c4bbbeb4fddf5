#include "config/message_box_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Waits for the box to show, notes what it shows, then presses Escape or clicks the button
// captioned `press`. A box that never shows, or lacks the button, ends within the deadline.
void answerNextBox(const QString& press, SeenBox& seen) {
    auto* poll = new QTimer;
    auto* deadline = new QElapsedTimer;
    deadline->start();
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, press, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        const bool late = deadline->hasExpired(5000);
        if (!box && !late)
            return;
        poll->stop();
        poll->deleteLater();
        delete deadline;
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->icon(), {}};
        QAbstractButton* target = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.append(button->text());
            if (button->text() == press)
                target = button;
        }
        if (press == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (target)
            target->click();
        else
            box->done(-1);
    });
    poll->start(10);
}
} // namespace

class MessageBoxDialogTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<MessageAnswer>("answer");
        const auto row = [](const char* name, MessageIcon icon, MessageButtons buttons,
                            const char* press, MessageAnswer answer) {
            QTest::newRow(name) << icon << buttons << QString(press) << answer;
        };
        const auto critical = MessageIcon::Critical, question = MessageIcon::Question;
        row("OK alone", critical, MessageButtons::Ok, "ОК", MessageAnswer::Ok);
        row("OK of two", question, MessageButtons::OkCancel, "ОК", MessageAnswer::Ok);
        row("Cancel of two", question, MessageButtons::OkCancel, "Отмена", MessageAnswer::Cancel);
        row("Retry", critical, MessageButtons::RetryCancel, "Повтор", MessageAnswer::Retry);
        row("Cancel of Retry", critical, MessageButtons::RetryCancel, "Отмена",
            MessageAnswer::Cancel);
        row("Escape cancels", critical, MessageButtons::RetryCancel, "Escape",
            MessageAnswer::Cancel);
    }
    void answers() {
        QFETCH(MessageIcon, icon);
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, press);
        SeenBox seen;
        answerNextBox(press, seen);
        const MessageAnswer answer =
            MessageBoxDialog().ask(icon, "Ошибка открытия порта",
                                   "Порт COM3 не доступен\r\nВыберите другой порт", buttons);
        QCOMPARE(seen.title, QString("Ошибка открытия порта"));
        QCOMPARE(seen.text, QString("Порт COM3 не доступен\r\nВыберите другой порт"));
        QCOMPARE(seen.icon,
                 icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Question);
        const QMap<MessageButtons, QStringList> captions{
            {MessageButtons::Ok, {"ОК"}},
            {MessageButtons::OkCancel, {"ОК", "Отмена"}},
            {MessageButtons::RetryCancel, {"Повтор", "Отмена"}}};
        seen.buttons.sort();
        QStringList shown = captions[buttons];
        shown.sort();
        QCOMPARE(seen.buttons, shown);
        QTEST(answer, "answer");
    }
};

QTEST_MAIN(MessageBoxDialogTest)
#include "test_message_box_dialog.moc"
