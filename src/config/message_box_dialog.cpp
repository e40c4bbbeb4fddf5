#include "message_box_dialog.h"

#include <QApplication>
#include <QMessageBox>

MessageAnswer MessageBoxDialog::ask(MessageIcon icon, const QString& title, const QString& text,
                                    MessageButtons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel)
        shown = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == MessageButtons::RetryCancel)
        shown = QMessageBox::Retry | QMessageBox::Cancel;
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Question,
                    title, text, shown, QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Cancel;
    }
}
