#pragma once

#include <QByteArray>

// The controller's own Modbus CRC-16, kept apart from the tool's so that a fault in either one
// shows up as a line on which nothing is answered.

// True when the last two bytes of `frame` are its CRC (low byte first).
bool HasGoodCrc(const QByteArray& frame);
// `frame` followed by its CRC, low byte first.
QByteArray AppendCrc(QByteArray frame);
