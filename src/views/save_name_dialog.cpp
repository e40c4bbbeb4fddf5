#include "views/save_name_dialog.h"

#include <QFileDialog>

SaveNameAsker SaveNameDialog(QWidget* parent) {
    return [parent](const QString& title, const QString& filter, SaveMode mode) {
        return QFileDialog::getSaveFileName(
            parent, title, QString(), filter, nullptr,
            mode == SaveMode::Append ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options());
    };
}

OpenNameAsker OpenNameDialog(QWidget* parent) {
    return [parent](const QString& title, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, QString(), filter);
    };
}
