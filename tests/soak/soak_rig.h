#pragma once

#include "link/exchange_cycle.h"
#include "link/qt_serial_port.h"
#include "monitor/answer_dispatch.h"
#include "monitor/main_window.h"
#include "params/param_catalogue.h"
#include "params/param_window.h"

#include <QTimer>
#include <functional>

// The tool's link and both windows on the simulator's pty: the real serial port, the exchange
// cycle ticking every 100 ms, the answer dispatch writing the poll into the main window and
// parameter answers into the parameter window's boxes.
class SoakRig {
public:
    static constexpr QChar kShownSeparator = u',';

    explicit SoakRig(const QString& devicePath);

    OpenOutcome start();

    // Queues a transfer with `queue` and lets the link run until every frame it queued has been
    // answered. False when the ring refused it or it did not finish within timeoutMs.
    bool run(const std::function<bool()>& queue, int timeoutMs);

    // Every box white, as the buttons of the bulk transfers make them.
    void whitenBoxes();

    // Ticks so far, and frames that got an answer with a correct CRC.
    int ticks() const { return tick_count; }
    int answeredFrames() const { return answered_count; }

    ParamCatalogue catalogue;
    MainWindow frm_main;
    ParamWindow frm_param;
    QtSerialPort port;
    AnswerDispatch dispatch;
    ExchangeCycle cycle;
    QTimer Timer1;

private:
    int tick_count = 0;
    int answered_count = 0;
};
