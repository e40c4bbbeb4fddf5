#include "views/row_table.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

RowTable::RowTable(QWidget* parent, const QString& objectName, QAbstractItemModel* model)
    : QTableView(parent) {
    setObjectName(objectName);
    setModel(model);
    setWordWrap(false);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(parent->fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(true);
}

bool RowTable::atEnd() const {
    return verticalScrollBar()->value() == verticalScrollBar()->maximum();
}

void RowTable::goToEnd() {
    if (const int rows = model()->rowCount(); rows > 0)
        setCurrentIndex(
            model()->index(rows - 1, currentIndex().isValid() ? currentIndex().column() : 0));
    scrollToBottom();
}

void RowTable::keyPressEvent(QKeyEvent* event) {
    // A table moves End along the row and, with no row current, Ctrl+End to the first row; in a
    // list of frames and events both mean "the newest".
    if (event->key() == Qt::Key_End &&
        (event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier)) == Qt::NoModifier) {
        goToEnd();
        emit endPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}
