#pragma once

#include "config/line_address.h"

#include <QString>

// The device behind COM<n>: an entry COM<n>=<device> in section "Ports" of the configuration
// file wins (a stable /dev/serial/by-id link keeps an adapter on its number whichever socket
// it is plugged into; tests point numbers at pseudo-terminals). Without one, COM1–COM4 are the
// on-board ports, COM5–COM12 USB serial adapters and COM13–COM16 USB modem-class devices.
// Empty for a number that names no device.
QString DevicePathForCom(const QString& configPath, int n);

// The line as a report names it: with its device where that has another name ("COM3
// (/dev/ttyS2)"); "не выбран" for COM0, the number of no port.
QString ComPortName(const QString& configPath, const LineAddress& address);
