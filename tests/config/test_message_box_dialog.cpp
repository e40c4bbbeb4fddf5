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
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<MessageAnswer>("answer");
        const QStringList okCancel{"ОК", "Отмена"};
        const QStringList retryCancel{"Повтор", "Отмена"};
        QTest::newRow("OK alone") << MessageButtons::Ok << "ОК" << QStringList{"ОК"}
                                  << MessageAnswer::Ok;
        QTest::newRow("OK of two")
            << MessageButtons::OkCancel << "ОК" << okCancel << MessageAnswer::Ok;
        QTest::newRow("Cancel of OK and Cancel")
            << MessageButtons::OkCancel << "Отмена" << okCancel << MessageAnswer::Cancel;
        QTest::newRow("Retry") << MessageButtons::RetryCancel << "Повтор" << retryCancel
                               << MessageAnswer::Retry;
        QTest::newRow("Cancel of Retry and Cancel")
            << MessageButtons::RetryCancel << "Отмена" << retryCancel << MessageAnswer::Cancel;
        QTest::newRow("Escape cancels")
            << MessageButtons::RetryCancel << "Escape" << retryCancel << MessageAnswer::Cancel;
    }
    void answers() {
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, press);
        QFETCH(QStringList, shown);
        SeenBox seen;
        answerNextBox(press, seen);
        MessageBoxDialog dialog;
        const MessageAnswer answer =
            dialog.ask(MessageIcon::Critical, "Ошибка открытия порта",
                       "Порт COM3 не доступен\r\nВыберите другой порт", buttons);
        QCOMPARE(seen.title, QString("Ошибка открытия порта"));
        QCOMPARE(seen.text, QString("Порт COM3 не доступен\r\nВыберите другой порт"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(QSet<QString>(seen.buttons.begin(), seen.buttons.end()),
                 QSet<QString>(shown.begin(), shown.end()));
        QTEST(answer, "answer");
    }

    void questionIcon() {
        SeenBox seen;
        answerNextBox("ОК", seen);
        MessageBoxDialog().ask(MessageIcon::Question, "t", "x", MessageButtons::OkCancel);
        QCOMPARE(seen.icon, QMessageBox::Question);
    }
};

QTEST_MAIN(MessageBoxDialogTest)
#include "test_message_box_dialog.moc"
