#include "config/message_box_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

class MessageBoxDialogTest : public QObject {
    Q_OBJECT
private slots:
    // A real box: its icon, title, text and Russian captions, and the answer a click gives; found
    // by polling, as a one-shot timer could fire before the box is up.
    void answers_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QMessageBox::Icon>("shownIcon");
        QTest::addColumn<QString>("captions");
        QTest::newRow("OK") << MessageIcon::Critical << MessageButtons::Ok << "ОК"
                            << MessageAnswer::Ok << QMessageBox::Critical << "ОК";
        QTest::newRow("Cancel") << MessageIcon::Warning << MessageButtons::OkCancel << "Отмена"
                                << MessageAnswer::Cancel << QMessageBox::Warning << "ОК Отмена";
        QTest::newRow("Retry") << MessageIcon::Question << MessageButtons::RetryCancel << "Повтор"
                               << MessageAnswer::Retry << QMessageBox::Question << "Отмена Повтор";
    }
    void answers() {
        QFETCH(MessageIcon, icon);
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, press);
        QStringList seen; // title, text, icon, then the captions in sorted order
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            QStringList captions;
            for (QAbstractButton* button : box->buttons())
                (captions << button->text()).sort();
            seen << box->windowTitle() << box->text() << QString::number(box->icon()) << captions;
            // A caption that is not there must not leave the box open.
            for (QAbstractButton* button : box->buttons())
                if (button->text() == press)
                    return button->click();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        poll.start(10);
        QTEST(MessageBoxDialog().ask(icon, "Ошибка порта", "Порт COM3\r\nне доступен", buttons),
              "answer");
        QFETCH(QMessageBox::Icon, shownIcon);
        QFETCH(QString, captions);
        QCOMPARE(seen, QStringList({"Ошибка порта", "Порт COM3\r\nне доступен",
                                    QString::number(shownIcon)}) +
                           captions.split(' '));
    }
};

QTEST_MAIN(MessageBoxDialogTest)
#include "test_message_box_dialog.moc"
