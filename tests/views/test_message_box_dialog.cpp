#include "views/message_box_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// A real box: its icon, title, text and Russian captions, and the answer a click gives; found
// by polling, as a one-shot timer could fire before the box is up.
class MessageBoxDialogTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("shown"); // icon, then the captions in sorted order
        QTest::newRow("OK") << MessageIcon::Critical << MessageButtons::Ok << "ОК"
                            << MessageAnswer::Ok << "3 ОК";
        QTest::newRow("Cancel") << MessageIcon::Warning << MessageButtons::OkCancel << "Отмена"
                                << MessageAnswer::Cancel << "2 ОК Отмена";
        QTest::newRow("Retry") << MessageIcon::Question << MessageButtons::RetryCancel << "Повтор"
                               << MessageAnswer::Retry << "4 Отмена Повтор";
    }
    void answers() {
        QFETCH(QString, press);
        QStringList seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !poll.isActive())
                return;
            poll.stop();
            QStringList captions;
            for (QAbstractButton* button : box->buttons())
                (captions << button->text()).sort();
            seen << box->windowTitle() << box->text() << QString::number(box->icon()) << captions;
            for (QAbstractButton* button :
                 box->buttons()) // a missing caption must not leave it open
                if (button->text() == press)
                    return button->click();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        poll.start(10);
        QFETCH(MessageIcon, icon);
        QFETCH(MessageButtons, buttons);
        QTEST(MessageBoxDialog().ask(icon, "Ошибка порта", "Порт COM3\r\nне доступен", buttons),
              "answer");
        QFETCH(QString, shown);
        QCOMPARE(seen,
                 QStringList({"Ошибка порта", "Порт COM3\r\nне доступен"}) + shown.split(' '));
    }
};

QTEST_MAIN(MessageBoxDialogTest)
#include "test_message_box_dialog.moc"
