#pragma once

#include <QByteArray>

// Test helpers for writing frames the way a protocol analyser shows them.
// "07 04 01 2C" -> bytes; and back.
QByteArray Hex(const char* spaced);
QString HexText(const QByteArray& bytes);
// Appends the Modbus CRC (low byte first) computed with the project's own FrameCrc.
QByteArray WithCrc(QByteArray frame);
