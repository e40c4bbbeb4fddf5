#pragma once

#include <QLabel>

// What became of a window's last «Сохранить…», on a line of its own beside the recording state,
// which it never replaces: the file saved, or the file and why it could not be. The next save
// replaces it; it is cleared while a picture of the window is taken.
class SaveOutcomeLabel : public QLabel {
public:
    // `saved`, `notSaved`: the words before the file's name («Файл сохранён», «Файл не сохранён»).
    SaveOutcomeLabel(QWidget* parent, QString saved, QString notSaved);

    // `error`: what the file layer said, empty when the file was written.
    void showOutcome(const QString& path, const QString& error);

private:
    QString saved_words;
    QString not_saved_words;
};
