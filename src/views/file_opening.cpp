#include "views/file_opening.h"

#include "text/file_failure.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>

RefusalTeller RefusalBox() {
    return [](const QString& text) {
        MessageBoxDialog().ask(MessageIcon::Warning, file_text::kOpenErrorTitle, text,
                               MessageButtons::Ok);
    };
}

void ShowOpenedFile(QLabel* label, const QString& path, const CsvReadOutcome& read) {
    label->setText(QStringLiteral("Файл: ") + QDir::toNativeSeparators(path) +
                   (read.unread ? QLatin1Char('\n') + read.unreadText() : QString()));
    if (!read.unread)
        return;
    QPalette look = label->palette();
    look.setColor(QPalette::WindowText, QColor::fromRgb(0xC00000));
    label->setPalette(look);
}

BusyCursor::BusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}
