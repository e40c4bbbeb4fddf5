#include "views/save_outcome_label.h"

#include "text/file_failure.h"

#include <QDir>

SaveOutcomeLabel::SaveOutcomeLabel(QWidget* parent, QString saved, QString notSaved)
    : QLabel(parent), saved_words(std::move(saved)), not_saved_words(std::move(notSaved)) {
    setObjectName(QStringLiteral("save_state"));
    setAccessibleDescription(QStringLiteral("Сохранение в файл"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path wraps instead of widening the window.
    setWordWrap(true);
}

void SaveOutcomeLabel::showOutcome(const QString& path, const QString& error) {
    QPalette look = parentWidget()->palette();
    if (error.isEmpty()) {
        setText(saved_words + QStringLiteral(": ") + QDir::toNativeSeparators(path));
    } else {
        setText(not_saved_words + QStringLiteral(": ") + FileFailure(path, error));
        look.setColor(QPalette::WindowText, QColor::fromRgb(0xC00000));
    }
    setPalette(look);
}
