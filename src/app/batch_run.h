#pragma once

#include "app/batch_console.h"
#include "app/batch_job.h"
#include "files/param_report.h"
#include "history/session_recorder.h"
#include "link/exchange_cycle.h"
#include "live/poll_decoder.h"
#include "params/controller_image.h"
#include "params/memory_param_boxes.h"
#include "params/param_answers.h"
#include "params/param_catalogue.h"
#include "params/transfer_progress.h"
#include "traffic/traffic_monitor.h"

#include <QChar>
#include <QString>
#include <functional>

class ChosenLine;

// The window's parameter operations without a window, run to their end on the exchange cycle
// (the 100 ms tick, driven by a timer of its own): read all into a file, write a file with the
// backup before and the read-back check after, compare with a file, report. The refusals and the
// backup are the window's own, answered as the console answers questions; and the search for
// the controllers on the line. The traffic log and the journal are kept as the windows keep them.
class BatchRun {
public:
    // `portName`: the line as the report names it.
    BatchRun(const BatchJob& job, ChosenLine& line, QString portName, BatchConsole& console,
             QChar decimalSeparator);

    BatchExit run();

private:
    BatchExit runCommand();
    BatchExit read();
    BatchExit write();
    BatchExit compare();
    BatchExit report();
    // Every address of the line asked in turn; each controller found is a line of the result.
    BatchExit scan();
    // Opens the job's port; false, said on the console, when it does not open.
    bool openPort();
    // Waits while the opened line connects; false, said on the console, when it did not.
    bool connected();
    // The read of all parameters, after a poll when the panel's facts are wanted; NoAnswer
    // unless every parameter was reported.
    BatchExit readAll(bool withPoll);
    // Runs the exchange until every frame waiting now has been answered, showing how far the
    // step's own `frames`, the last queued, are; false, said on the console, when no answer came
    // for 5 s.
    bool awaitAnswers(TransferStep step, int frames);
    // Runs the exchange on its tick, showing what `progress` says, until `through` (asked after
    // each tick) says the step is through.
    void runTicks(const std::function<QString()>& progress, const std::function<bool()>& through);
    // What `progress` says of its transfer.
    std::function<QString()> shown(const TransferProgress& progress) const;
    void tellSilence();
    void journal(const QString& text);

    const BatchJob& job;
    ChosenLine& line;
    QString port_name;
    BatchConsole& console;
    QChar decimal_separator;
    const ParamCatalogue& catalogue = Catalogue();
    TrafficMonitor traffic;
    SessionRecorder session;
    PollDecoder poll;
    ExchangeCycle cycle;
    ControllerImage image;
    // What the controller reported, as the window's boxes would show it.
    MemoryParamBoxes controller_boxes;
    ParamAnswers answers;
    PanelFacts panel;
};

// The batch mode of zarn-tool: the port of the job, or the one of the configuration file at
// `configPath`, whose port map also turns the number into a device. A report needs a
// QGuiApplication (its fonts), the other commands a QCoreApplication.
BatchExit RunBatch(BatchJob job, const QString& configPath);
