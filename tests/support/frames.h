#pragma once

#include "link/rx_buffer.h"

#include <QByteArray>
#include <cstdint>
#include <map>

// Test helpers for writing frames the way a protocol analyser shows them.
// "07 04 01 2C" -> bytes; and back.
QByteArray Hex(const char* spaced);
QString HexText(const QByteArray& bytes);
// Appends the Modbus CRC (low byte first) computed with the project's own FrameCrc.
QByteArray WithCrc(QByteArray frame);
// The bytes as one tick of the exchange cycle hands them to the decoders.
RxBuffer RxOf(const QByteArray& bytes);

// Input registers by their number from 300 (0..124), as the poll read returns them.
using Registers = std::map<int, std::uint16_t>;
// The controller's whole answer to the poll read, with its CRC; registers not given are 0.
QByteArray PollFrame(const Registers& registers);
