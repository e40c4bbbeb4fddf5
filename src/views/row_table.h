#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

// What the windows that list rows of the session (the traffic monitor, the journal) share.

// A table of one-line rows, newest at the bottom: no grid, no wrapping, whole rows selected,
// rows of one fixed height (so thousands of them lay out at once), the last column stretched.
QTableView* MakeRowTable(QWidget* parent, const QString& objectName, QAbstractItemModel* model);
