#pragma once

#include <QString>
#include <functional>

class QWidget;

// A file saved is written anew, so the dialog asks before replacing one that exists; a recording
// appends to what the file holds, so there is nothing to ask.
enum class SaveMode { Replace, Append };
inline const QString kCsvFilter = QStringLiteral("Текст CSV (*.csv);;Все файлы (*)");

// How a window asks where a file goes; empty when the user cancels. Tests answer in place of the
// modal file dialog.
using SaveNameAsker =
    std::function<QString(const QString& title, const QString& filter, SaveMode mode)>;
// The file dialog over `parent`.
SaveNameAsker SaveNameDialog(QWidget* parent);

// How a window asks which file to open; empty when the user cancels.
using OpenNameAsker = std::function<QString(const QString& title, const QString& filter)>;
// The file dialog over `parent`.
OpenNameAsker OpenNameDialog(QWidget* parent);
