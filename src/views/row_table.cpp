#include "views/row_table.h"

#include <QFileDialog>
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

QString AskSaveName(QWidget* parent, const QString& title, const QString& filter, SaveMode mode) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                        mode == SaveMode::Append ? QFileDialog::DontConfirmOverwrite
                                                                 : QFileDialog::Options());
}

QString AskCsvSaveName(QWidget* parent, const QString& title, SaveMode mode) {
    return AskSaveName(parent, title, kCsvFilter, mode);
}
