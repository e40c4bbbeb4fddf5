#include "config/port_chooser.h"

#include "config/config_file.h"
#include "host/status_line.h"
#include "link/exchange_cycle.h"
#include "link/serial_port.h"

#include <utility>

namespace {
constexpr int kFirstProbed = 1;
constexpr int kLastProbed = 16;
} // namespace

PortChooser::PortChooser(SerialPort& port, ExchangeCycle& cycle, ConfigFile& config,
                         StatusLine& status, std::function<void()> letEventsRun)
    : port(port), cycle(cycle), config(config), status(status),
      let_events_run(std::move(letEventsRun)) {}

QList<int> PortChooser::probe() {
    cycle.setLineHeld(true);
    saved_port = config.com_port;
    if (port.isOpen())
        port.close();
    QList<int> free;
    for (int n = kFirstProbed; n <= kLastProbed; ++n) {
        bool probe_ok = openNumber(n);
        let_events_run();
        probe_ok = probe_ok && port.isOpen();
        if (port.isOpen())
            port.close();
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
    if (port.isOpen())
        port.close();
    openNumber(n);
}

void PortChooser::keep(int n) {
    port_dialog_ok = true;
    config.com_port = static_cast<std::uint8_t>(n);
    config.SaveConfig();
}

void PortChooser::finish() {
    if (port.isOpen())
        port.close();
    if (!port_dialog_ok)
        config.com_port = saved_port;
    ReopenPort();
}

void PortChooser::ReopenPort() {
    if (port.isOpen())
        return;
    if (!openNumber(config.com_port))
        status.setText(link_text::kNoPort);
}

bool PortChooser::openNumber(int n) {
    // A number that cannot be set leaves the port closed: opening whichever number was set
    // before would put the link on a port nobody chose.
    return port.setPortNumber(n) && port.open() == OpenOutcome::Opened;
}
