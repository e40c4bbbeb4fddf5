#pragma once

#include "config/port_chooser.h"

#include <QDialog>
#include <functional>

class ChosenLine;
class ConfigFile;
class ExchangeCycle;
class QComboBox;
class QLabel;
class QTimer;
class StatusLine;

// wndSetCOM: shows the ports the chooser found free, hands it every pick and the choice on OK,
// and lets it settle the port however the dialog closes.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    // letEventsRun runs between probes (keeping the windows responsive); the line is held then.
    PortDialog(ChosenLine& line, ExchangeCycle& cycle, ConfigFile& config, StatusLine& status,
               std::function<void()> letEventsRun, QWidget* owner = nullptr);

    // Probes the ports and fills the list; runs before the dialog is shown.
    void load();

    void done(int result) override;

signals:
    // The tool's port switched to a picked one, which may lead to another controller.
    void portSwitched();

private:
    void pick(int index);
    void takeChoice();
    void showLineState();

    PortChooser chooser;
    QComboBox* port_list = nullptr;
    // Why a network line picked does not carry; hidden for a port that does.
    QLabel* line_state = nullptr;
    QTimer* state_watch = nullptr;
};
