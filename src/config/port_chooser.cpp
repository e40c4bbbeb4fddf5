#include "config/port_chooser.h"

#include "config/chosen_line.h"
#include "config/config_file.h"
#include "host/status_line.h"
#include "link/exchange_cycle.h"

#include <utility>

namespace {
constexpr int kFirstProbed = 1;
constexpr int kLastProbed = 16;
} // namespace

PortChooser::PortChooser(ChosenLine& line, ExchangeCycle& cycle, ConfigFile& config,
                         StatusLine& status, std::function<void()> letEventsRun)
    : line(line), cycle(cycle), config(config), status(status),
      let_events_run(std::move(letEventsRun)) {}

QList<int> PortChooser::probe() {
    cycle.setLineHeld(true);
    saved_port = config.com_port;
    if (line.isOpen())
        line.close();
    QList<int> free;
    for (int n = kFirstProbed; n <= kLastProbed; ++n) {
        bool probe_ok = openNumber(n);
        let_events_run();
        probe_ok = probe_ok && line.isOpen();
        if (line.isOpen())
            line.close();
        if (probe_ok)
            free.append(n);
    }
    openNumber(config.com_port);
    cycle.setLineHeld(false);
    return free;
}

int PortChooser::configuredPort() const {
    return config.com_port;
}

void PortChooser::pick(int n) {
    if (line.isOpen())
        line.close();
    openNumber(n);
}

void PortChooser::keep(int n) {
    port_dialog_ok = true;
    config.com_port = static_cast<std::uint8_t>(n);
    config.SaveConfig();
}

void PortChooser::finish() {
    if (line.isOpen())
        line.close();
    if (!port_dialog_ok)
        config.com_port = saved_port;
    ReopenPort();
}

QString PortChooser::lineState() {
    // Looked at here too: at start-up the dialog is up before the exchange cycle ticks.
    return line.isOpen() && line.state() != LineState::Carrying ? line.stateText() : QString();
}

void PortChooser::ReopenPort() {
    if (line.isOpen())
        return;
    if (!openNumber(config.com_port))
        status.setText(link_text::kNoPort);
}

bool PortChooser::openNumber(int n) {
    // A number that names no line leaves the line closed: opening whichever was chosen before
    // would put the link on a port nobody chose.
    return line.choose(LineAddress{n}) && line.open() == OpenOutcome::Opened;
}
