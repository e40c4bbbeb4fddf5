#pragma once

#include "link/serial_port.h"

#include <QString>
#include <functional>

class MessageBoxService;

namespace port_text {
inline const QString kOpenErrorTitle = QStringLiteral("Ошибка открытия порта");
// Why COM<n> did not open, and what to do about it.
QString OpenFailure(int comPort, OpenOutcome failure);
} // namespace port_text

// The port at start-up: the configured COM<n> is opened. When its number cannot be set or it
// does not open, the user is told why and may choose another port (chooseAnother shows the port
// dialog) or end the program (false).
bool OpenPortAtStart(SerialPort& port, int comPort, MessageBoxService& boxes,
                     const std::function<void()>& chooseAnother);
