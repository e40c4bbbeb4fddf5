#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

class ChosenLine;
class ConfigFile;
class ExchangeCycle;
class StatusLine;

// The rules of choosing the tool's port while the port dialog is open: probe the ports, switch
// to a picked one at once, keep the choice on OK, and however the dialog closes, end on the
// configured port (or closed, with "Порт не выбран").
class PortChooser {
public:
    // letEventsRun runs between probes; the line is held meanwhile, so the exchange cycle, if it
    // ticks then, neither reads nor writes.
    PortChooser(ChosenLine& line, ExchangeCycle& cycle, ConfigFile& config, StatusLine& status,
                std::function<void()> letEventsRun);

    // Opens and closes COM1..COM16 in turn and returns the numbers that opened; then the port is
    // back on the configured number. Each probed port may belong to another device, so the
    // queued requests (a СТАРТ, say) wait at the head of the ring until then.
    QList<int> probe();
    // The number the dialog starts on.
    int configuredPort() const;
    // The user picked COM<n>: the tool's port switches to it at once.
    void pick(int n);
    // OK with COM<n> chosen (0: none): it becomes the configured port and is saved.
    void keep(int n);
    // The dialog closes, whichever way.
    void finish();
    // Why the line the tool is on does not carry (a network line connecting, or without its
    // connection); empty when it carries or none is open.
    QString lineState();

private:
    void ReopenPort();
    // Opens COM<n>; false when the number names no line or the line did not open.
    bool openNumber(int n);

    ChosenLine& line;
    ExchangeCycle& cycle;
    ConfigFile& config;
    StatusLine& status;
    std::function<void()> let_events_run;
    std::uint8_t saved_port = 0;
    bool port_dialog_ok = false;
};
