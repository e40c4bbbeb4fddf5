#pragma once

#include <QString>
#include <cstdint>

// Measurements of the running tool. Each prints its figures on stdout and returns the exit
// status of the benchmark program (non-zero when the measurement itself failed).

// Start-up in a fresh process of this program, against a pty of its own: `launchedNs` is the
// steady clock when the launcher started it, `enteredNs` when main() was entered. Prints the
// raw times for StartupSplit.
int StartupChild(std::int64_t launchedNs, std::int64_t enteredNs);
// Process start → window shown → first request on the line, median of `repeats` launches of
// this program (path `self`), the tool built in process as main() builds it.
int StartupSplit(const QString& self, int repeats);
// Process start → first request on the line for the built zarn-tool itself.
int StartupOfTool(const QString& toolPath, int repeats);

// CPU per wall second over `repeats` windows of `seconds` and poll answers per second while
// the tool in this process polls the simulator; `extra` "params" opens the parameter window,
// "monitor" the traffic monitor with its log file written, "charts" the chart window following
// all ten quantities over ten minutes, "fast" switches the fast exchange on.
int PollingInProcess(int seconds, int repeats, const QString& extra);
// The same for the built zarn-tool as its own process, and its resident memory.
int PollingOfTool(const QString& toolPath, int seconds, int repeats);

// Resident memory of the traffic monitor's window holding 10,000 rows of the line's usual mix
// (poll, its 255-byte answer, transaction write and its answer), against the window empty.
int MonitorRows();

// The chart window over a full day of samples (24 h at 5 a second), all quantities shown:
// redraw time, median of `repeats`, and the resident memory the samples take.
int ChartsDay(int repeats);
// A recording file of a day (432,000 rows) read back: read time, median of `repeats`, the
// resident memory of the samples, the time to the window shown, its redraw over «Всё».
int RecordingDay(int repeats);
// Ten minutes of samples before now, as a session that has polled that long would hold.
class EngineHistory;
class QWidget;
void FillHistory(EngineHistory& history, std::int64_t endMs, int samples);
void ShowAllQuantities(QWidget& chartWindow);

// Read-all against the simulator: wall time of the 59 frames, CPU per answer, and the
// resident memory with both windows open; `overTcp`: COM1 mapped to the simulator's TCP port.
int BulkRead(int repeats, bool overTcp);

// Read-all and the checked write-all with the fast exchange against tick by tick, in one run:
// with a controller turnaround of 5 ms, of none (against the line's own time), and on a line
// that drops and spoils answers (repeats per lost answer, and whether the values agree).
int FastTransfers();

// Heap growth per minute of polling, against the history's own samples, over `minutes` after
// `warmUpMinutes` (the monitor's rows full by then): the whole tool with only its main window,
// polling the simulator's controller on a line that answers at once, its tick driven directly.
int MemoryOverAnHour(int warmUpMinutes, int minutes);
