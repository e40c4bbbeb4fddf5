#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class ConfigFile;
class ExchangeCycle;
class QComboBox;
class SerialPort;
class StatusLine;

// wndSetCOM: lists the ports among COM1–COM16 that can be opened now, switches the tool's port
// to an entry as soon as it is picked, and makes the choice the configured port on OK. However
// it is closed, the port ends up on the configured number (or closed, with "Порт не выбран").
class PortDialog : public QDialog {
    Q_OBJECT
public:
    // letEventsRun keeps the windows responsive between probes.
    PortDialog(SerialPort& port, ExchangeCycle& cycle, ConfigFile& config, StatusLine& status,
               std::function<void()> letEventsRun, QWidget* owner = nullptr);

    // Probes the ports and fills the list; runs before the dialog is shown.
    void load();

    void done(int result) override;

private:
    void pick(int index);
    void takeChoice();
    void ReopenPort();
    // Opens COM<n>; false when the number cannot be set or the port not opened.
    bool openNumber(int n);

    SerialPort& port;
    ExchangeCycle& cycle;
    ConfigFile& config;
    StatusLine& status;
    std::function<void()> letEventsRun;
    QComboBox* cmbCOMList = nullptr;
    std::uint8_t saved_port = 0;
    bool port_dialog_ok = false;
};
