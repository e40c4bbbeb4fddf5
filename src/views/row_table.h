#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

// What the windows that show the session (the traffic monitor, the journal, the charts) share.

// A table of one-line rows, newest at the bottom: no grid, no wrapping, whole rows selected,
// rows of one fixed height (so thousands of them lay out at once), the last column stretched.
QTableView* MakeRowTable(QWidget* parent, const QString& objectName, QAbstractItemModel* model);

// A file saved is written anew, so the dialog asks before replacing one that exists; a recording
// appends to what the file holds, so there is nothing to ask.
enum class SaveMode { Replace, Append };
inline const QString kCsvFilter = QStringLiteral("Текст CSV (*.csv);;Все файлы (*)");
// The file dialog asking where a file goes; empty when the user cancels.
QString AskSaveName(QWidget* parent, const QString& title, const QString& filter, SaveMode mode);
QString AskCsvSaveName(QWidget* parent, const QString& title, SaveMode mode = SaveMode::Replace);
