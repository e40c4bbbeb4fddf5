#include "app/tool.h"

#include "config/com_port_map.h"
#include "config/startup_port.h"
#include "history/journal_kinds.h"
#include "params/param_catalogue.h"
#include "views/chart_window.h"
#include "views/journal_window.h"
#include "views/param_window/param_window.h"
#include "views/port_dialog.h"
#include "views/recording_window.h"
#include "views/scan_dialog.h"
#include "views/traffic_window.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

Tool::Tool(LineFactory makeLine, MessageBoxService& boxes, const ToolPlaces& places,
           QChar decimalSeparator)
    : run_modal([](PortDialog& dialog) { dialog.exec(); }),
      let_events_run([] { QCoreApplication::processEvents(); }), line(std::move(makeLine)),
      boxes(boxes), poll(decimalSeparator), cycle(line, frm_main, poll),
      config(places.config_path, frm_main, boxes), traffic_monitor(Catalogue(), decimalSeparator),
      session(decimalSeparator), decimal_separator(decimalSeparator),
      exchange_timer(new QTimer(&frm_main)),
      param_editor(cycle, frm_main, boxes, decimalSeparator, places.picker_folder, &frm_main),
      scan(cycle, decimalSeparator) {
    exchange_timer->setObjectName(QStringLiteral("Timer1"));
    exchange_timer->setInterval(100);
    connect(exchange_timer, &QTimer::timeout, this, [this] {
        // The ports the dialog probes are not the tool's: only the one it settles on is noted.
        if (!cycle.lineHeld())
            session.checkPort(line.openName());
        cycle.ExchangeTick();
        session.checkLink();
        param_editor.followTransfers();
        followScan();
    });
    poll.show_poll = [this](const PollPicture& picture) { showPoll(picture); };
    connect(&frm_main, &MainWindow::commandClicked, this, &Tool::queueCommand);
    connect(&frm_main, &MainWindow::paramMenuChosen, &param_editor, &ParamEditor::open);
    connect(&frm_main, &MainWindow::portMenuChosen, this, &Tool::openPortDialog);
    connect(&frm_main, &MainWindow::trafficMenuChosen, this, &Tool::openTrafficWindow);
    connect(&frm_main, &MainWindow::chartsMenuChosen, this, &Tool::openChartWindow);
    connect(&frm_main, &MainWindow::journalMenuChosen, this, &Tool::openJournalWindow);
    connect(&frm_main, &MainWindow::scanMenuChosen, this, &Tool::openScanDialog);
    connect(&frm_main, &MainWindow::fastExchangeSwitched, this, &Tool::switchFastExchange);
    scan.on_found = [this](const FoundController& controller) {
        session.note(JournalKind::Link, FoundText(controller));
        if (scan_dialog)
            scan_dialog->addFound(controller);
    };
    connect(&frm_main, &MainWindow::slaveAddressChosen, &param_editor,
            &ParamEditor::forgetController);
    cycle.on_event = [this](const LinkEvent& event) {
        traffic_monitor.take(event);
        session.takeLinkEvent(event);
    };
    param_editor.report_heading = [this] {
        return ReportHeading{QDateTime::currentDateTime(), panel_facts, frm_main.slaveAddress(),
                             ComPortName(config.path(), config.lineAddress())};
    };
    connect(&param_editor, &ParamEditor::performed, this,
            [this](const QString& text) { session.note(JournalKind::Parameter, text); });
    connect(&session, &SessionRecorder::recordingFailed, this, [this](const QString& error) {
        tellFileFailed(QStringLiteral("Запись в файл остановлена"), error);
    });
    connect(&session, &SessionRecorder::journalFailed, this, [this](const QString& error) {
        tellFileFailed(QStringLiteral("Журнал событий не записывается в файл"), error);
    });
    connect(&frm_main, &MainWindow::closing, this, &Tool::end);
}

Tool::~Tool() {
    delete port_dialog;
    line.close();
}

bool Tool::start() {
    config.LoadConfig();
    frm_main.showFastExchange(config.fast_exchange);
    cycle.setFast(config.fast_exchange);
    frm_main.fillSlaveAddresses();
    frm_main.createSignalGrid();
    if (!OpenPortAtStart())
        return false;
    frm_main.show();
    exchange_timer->start();
    return true;
}

bool Tool::OpenPortAtStart() {
    return ::OpenPortAtStart(line, config.lineAddress(), boxes, [this] {
        PortDialog dialog(line, cycle, config, frm_main, let_events_run, &frm_main);
        dialog.load();
        run_modal(dialog);
    });
}

void Tool::queueCommand(Command command) {
    if (!cycle.queue(CommandRequest(command)))
        return frm_main.setText(link_text::kQueueFull);
    session.note(JournalKind::Command, journal_text::kCommand + CommandCaption(command));
}

void Tool::switchFastExchange(bool on) {
    cycle.setFast(on);
    config.fast_exchange = on;
    config.saveFastExchange();
    session.note(JournalKind::Link,
                 on ? journal_text::kFastExchangeOn : journal_text::kFastExchangeOff);
}

void Tool::openPortDialog() {
    if (port_dialog) {
        port_dialog->raise();
        port_dialog->activateWindow();
        return;
    }
    port_dialog = new PortDialog(line, cycle, config, frm_main, let_events_run);
    port_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(port_dialog, &PortDialog::portSwitched, &param_editor, &ParamEditor::forgetController);
    connect(port_dialog, &QDialog::finished, &param_editor, &ParamEditor::forgetController);
    port_dialog->load();
    if (port_dialog)
        port_dialog->show();
}

void Tool::openTrafficWindow() {
    if (!traffic_window)
        traffic_window = new TrafficWindow(traffic_monitor, &frm_main);
    traffic_window->show();
    traffic_window->raise();
    traffic_window->activateWindow();
}

void Tool::openChartWindow() {
    if (!chart_window) {
        chart_window = new ChartWindow(session, decimal_separator, &frm_main);
        connect(chart_window, &ChartWindow::recordingRefused, this, [this](const QString& error) {
            tellFileFailed(QStringLiteral("Запись в файл не начата"), error);
        });
        connect(chart_window, &ChartWindow::recordingChosen, this, [this](const QString& path) {
            OpenRecordingWindow(path, decimal_separator, boxes, &frm_main);
        });
    }
    chart_window->show();
    chart_window->raise();
    chart_window->activateWindow();
}

void Tool::openJournalWindow() {
    if (!journal_window)
        journal_window = new JournalWindow(session.journal(), &frm_main);
    journal_window->show();
    journal_window->raise();
    journal_window->activateWindow();
}

void Tool::openScanDialog() {
    if (!scan_dialog) {
        scan_dialog = new ScanDialog(&frm_main);
        connect(scan_dialog, &ScanDialog::againClicked, this, &Tool::beginScan);
        connect(scan_dialog, &ScanDialog::stopClicked, this, [this] { scan.stop(); });
        connect(scan_dialog, &ScanDialog::chosen, this, [this](int address) {
            frm_main.setSlaveAddress(address);
            param_editor.forgetController();
        });
    }
    scan_dialog->show();
    scan_dialog->raise();
    scan_dialog->activateWindow();
    if (!scan_followed)
        beginScan();
}

void Tool::beginScan() {
    if (scan_followed || !scan.begin())
        return;
    scan_followed = true;
    session.note(JournalKind::Link, ScanBeginText());
    session.holdLink(true);
    if (scan_dialog)
        scan_dialog->showBegun();
    followScan();
}

void Tool::followScan() {
    if (!scan_followed)
        return;
    scan.follow();
    if (scan_dialog)
        scan_dialog->showProgress(scan.done(), ScanProgressText(scan));
    if (scan.over())
        endScan();
}

void Tool::endScan() {
    scan_followed = false;
    session.holdLink(false);
    session.note(JournalKind::Link, ScanEndText(scan));
    if (scan_dialog)
        scan_dialog->showEnded(ScanEndText(scan));
}

// Said once; the exchange goes on without the file.
void Tool::tellFileFailed(const QString& title, const QString& error) {
    boxes.ask(MessageIcon::Warning, title, error, MessageButtons::Ok);
}

void Tool::showPoll(const PollPicture& picture) {
    session.takePoll(picture);
    if (picture.object_look)
        param_editor.setObjectType(picture.object_look->caption);
    panel_facts.take(picture);
    frm_main.showPoll(picture);
    param_editor.setModbusBlocked(picture.modbus_blocked);
}

void Tool::end() {
    exchange_timer->stop();
    // Hidden, not closed: closing the port dialog would reopen the port.
    if (port_dialog)
        port_dialog->hide();
    if (param_editor.window())
        param_editor.window()->hide();
    if (traffic_window)
        traffic_window->hide();
    if (chart_window)
        chart_window->hide();
    if (journal_window)
        journal_window->hide();
    if (scan_dialog)
        scan_dialog->hide();
    line.close();
    QCoreApplication::quit();
}
