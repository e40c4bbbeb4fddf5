#include "views/message_box_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

MessageAnswer MessageBoxDialog::ask(MessageIcon icon, const QString& title, const QString& text,
                                    MessageButtons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel)
        shown = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == MessageButtons::RetryCancel)
        shown = QMessageBox::Retry | QMessageBox::Cancel;
    else if (buttons == MessageButtons::YesNo)
        shown = QMessageBox::Yes | QMessageBox::No;
    const QMessageBox::Icon shownIcon = icon == MessageIcon::Critical  ? QMessageBox::Critical
                                        : icon == MessageIcon::Warning ? QMessageBox::Warning
                                        : icon == MessageIcon::Information
                                            ? QMessageBox::Information
                                            : QMessageBox::Question;
    QMessageBox box(shownIcon, title, text, shown, QApplication::activeWindow());
    // The captions of the system's Russian boxes, whether or not Qt's translations are present.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "ОК"},
        {QMessageBox::Cancel, "Отмена"},
        {QMessageBox::Retry, "Повтор"},
        {QMessageBox::Yes, "Да"},
        {QMessageBox::No, "Нет"}};
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* shownButton = box.button(button))
            shownButton->setText(QString::fromUtf8(caption));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}
