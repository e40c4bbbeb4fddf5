#include "views/file_opening.h"

#include "text/file_failure.h"
#include "views/message_box_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>

std::optional<ReadFile> AskAndRead(const OpenNameAsker& ask, const QString& title,
                                   const RefusalTeller& tell,
                                   const std::function<CsvReadOutcome(const QString&)>& read) {
    const QString path = ask(title, kCsvFilter);
    if (path.isEmpty())
        return std::nullopt;
    const CsvReadOutcome outcome = [&] {
        const BusyCursor busy;
        return read(path);
    }();
    if (!outcome.refusal.isEmpty()) {
        tell(outcome.refusal);
        return std::nullopt;
    }
    return ReadFile{path, outcome};
}

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
