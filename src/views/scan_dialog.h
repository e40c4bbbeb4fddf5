#pragma once

#include "live/controller_scan.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// «Поиск контроллеров»: how far the scan of the line is, the controllers found as they answer,
// and the choice of one of them for the main window. It shows what its owner tells it and says
// what the user asked for.
class ScanDialog : public QDialog {
    Q_OBJECT
public:
    explicit ScanDialog(QWidget* owner = nullptr);

    void showBegun();
    void showProgress(int done, const QString& text);
    void addFound(const FoundController& controller);
    void showEnded(const QString& text);

signals:
    void againClicked();
    void stopClicked();
    // The user chose the controller at this address (double click or «Выбрать»).
    void chosen(int address);

protected:
    // However it goes (its close button, Esc, «Закрыть»), a dialog gone stops its scan.
    void hideEvent(QHideEvent* event) override;

private:
    void chooseCurrent();

    QLabel* state_label = nullptr;
    QProgressBar* progress_bar = nullptr;
    QTreeWidget* found_list = nullptr;
    QPushButton* again_button = nullptr;
    QPushButton* stop_button = nullptr;
    QPushButton* choose_button = nullptr;
};
