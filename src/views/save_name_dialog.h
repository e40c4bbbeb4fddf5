#pragma once

#include <QString>

class QWidget;

// A file saved is written anew, so the dialog asks before replacing one that exists; a recording
// appends to what the file holds, so there is nothing to ask.
enum class SaveMode { Replace, Append };
inline const QString kCsvFilter = QStringLiteral("Текст CSV (*.csv);;Все файлы (*)");
// The file dialog asking where a file goes; empty when the user cancels.
QString AskSaveName(QWidget* parent, const QString& title, const QString& filter, SaveMode mode);
QString AskCsvSaveName(QWidget* parent, const QString& title, SaveMode mode = SaveMode::Replace);
