#pragma once

#include "config/line_address.h"

#include <QString>
#include <optional>

// The device behind COM<n>: an entry COM<n>=<device> in section "Ports" of the configuration
// file wins (a stable /dev/serial/by-id link keeps an adapter on its number whichever socket
// it is plugged into; tests point numbers at pseudo-terminals). Without one, COM1–COM4 are the
// on-board ports, COM5–COM12 USB serial adapters and COM13–COM16 USB modem-class devices.
// Empty for a number that names no device.
QString DevicePathForCom(const QString& configPath, int n);

// The serial device server an entry COM<n>=tcp://HOST:PORT sends COM<n> to, so that the COM
// number, the port dialog and the configuration work for it as for any port. Read on every
// system, Windows too (where the map holds nothing else). An entry that starts as one but is
// malformed gives an address that names no line; none when COM<n> is not mapped to the network.
std::optional<LineAddress> NetworkLineForCom(const QString& configPath, int n);

// The line as a report names it: with its device where that has another name ("COM3
// (/dev/ttyS2)", "COM9 (tcp://10.0.0.50:4001)"); "не выбран" for COM0, the number of no port.
QString ComPortName(const QString& configPath, const LineAddress& address);
