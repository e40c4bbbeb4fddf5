#pragma once

#include <QTableView>

// What the windows that list rows of the session (the traffic monitor, the journal) share: a
// table of one-line rows, newest at the bottom: no grid, no wrapping, whole rows selected, rows of
// one fixed height (so thousands of them lay out at once), the last column stretched. End and
// Ctrl+End go to the newest row, which the window then follows again.
class RowTable : public QTableView {
    Q_OBJECT
public:
    RowTable(QWidget* parent, const QString& objectName, QAbstractItemModel* model);

    // The newest row is in view: new rows keep it there.
    bool atEnd() const;
    // Makes the newest row current and shows it.
    void goToEnd();

signals:
    // End or Ctrl+End was pressed (and the view went to the newest row).
    void endPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
