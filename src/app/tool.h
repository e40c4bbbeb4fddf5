#pragma once

#include "app/param_editor.h"
#include "config/chosen_line.h"
#include "config/config_file.h"
#include "config/tool_places.h"
#include "history/session_recorder.h"
#include "link/exchange_cycle.h"
#include "live/controller_scan.h"
#include "live/poll_decoder.h"
#include "traffic/traffic_monitor.h"
#include "views/main_window.h"

#include <QObject>
#include <QPointer>
#include <functional>

class ChartWindow;
class JournalWindow;
class PortDialog;
class ScanDialog;
class QTimer;
class TrafficWindow;

// The program: owns the line, the link, the configuration and the windows, and wires them
// together. Closing the main window ends it.
class Tool : public QObject {
    Q_OBJECT
public:
    // `makeLine` makes the line to each port the user opens.
    Tool(LineFactory makeLine, MessageBoxService& boxes, const ToolPlaces& places,
         QChar decimalSeparator);
    ~Tool() override;

    // Form_Load. False when the user chose to end the program instead of picking another port.
    bool start();

    MainWindow& window() { return frm_main; }
    ExchangeCycle& link() { return cycle; }
    ConfigFile& configuration() { return config; }
    TrafficMonitor& traffic() { return traffic_monitor; }
    SessionRecorder& recorder() { return session; }
    ParamEditor& parameters() { return param_editor; }

    // How the start-up port dialog is held modal; tests answer it without a nested event loop.
    std::function<void(PortDialog&)> run_modal;
    // What the port dialog runs between its probes.
    std::function<void()> let_events_run;

private:
    bool OpenPortAtStart();
    void queueCommand(Command command);
    void switchFastExchange(bool on);
    void openPortDialog();
    void openTrafficWindow();
    void openChartWindow();
    void openJournalWindow();
    void openScanDialog();
    // The scan of the line begun anew, followed after every tick, and its end noted.
    void beginScan();
    void followScan();
    void endScan();
    void tellFileFailed(const QString& title, const QString& error);
    void showPoll(const PollPicture& picture);
    void end();

    ChosenLine line;
    MessageBoxService& boxes;
    MainWindow frm_main;
    PollDecoder poll;
    ExchangeCycle cycle;
    ConfigFile config;
    TrafficMonitor traffic_monitor;
    QPointer<TrafficWindow> traffic_window;
    SessionRecorder session;
    QChar decimal_separator;
    QPointer<ChartWindow> chart_window;
    QPointer<JournalWindow> journal_window;
    QTimer* exchange_timer;
    QPointer<PortDialog> port_dialog;
    ParamEditor param_editor;
    PanelFacts panel_facts;
    ControllerScan scan;
    // A scan begun whose end has not been noted yet.
    bool scan_followed = false;
    QPointer<ScanDialog> scan_dialog;
};
