#pragma once

#include <QString>

// Puts a terminal device back into plain raw mode without parity. A program that was killed
// while it had the line open leaves its settings behind; on a pseudo-terminal the kernel then
// refuses to switch parity on again, so the next open fails. Only used after an open failed for
// a reason other than the line being held by someone else. False when the device is no
// terminal or cannot be opened.
bool ResetLineSettings(const QString& device);
