#include "views/row_table.h"

#include <QHeaderView>
#include <QTableView>

QTableView* MakeRowTable(QWidget* parent, const QString& objectName, QAbstractItemModel* model) {
    auto* table = new QTableView(parent);
    table->setObjectName(objectName);
    table->setModel(model);
    table->setWordWrap(false);
    table->setShowGrid(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(parent->fontMetrics().height() + 4);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}
