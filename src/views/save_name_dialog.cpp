#include "views/save_name_dialog.h"

#include <QFileDialog>

QString AskSaveName(QWidget* parent, const QString& title, const QString& filter, SaveMode mode) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                        mode == SaveMode::Append ? QFileDialog::DontConfirmOverwrite
                                                                 : QFileDialog::Options());
}

QString AskCsvSaveName(QWidget* parent, const QString& title, SaveMode mode) {
    return AskSaveName(parent, title, kCsvFilter, mode);
}
