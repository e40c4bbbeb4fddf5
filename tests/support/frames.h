#pragma once

#include "link/frame_crc.h"
#include "link/rx_buffer.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <map>

// Frames written the way a protocol analyser shows them: "07 04 01 2C" -> bytes, and back.
inline QByteArray Hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}
inline QString HexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
// Appends the Modbus CRC (low byte first) computed with the project's own FrameCrc.
inline QByteArray WithCrc(QByteArray frame) {
    const auto crc = FrameCrc(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                              static_cast<int>(frame.size()) - 1);
    return frame.append(char(crc & 0xFF)).append(char(crc >> 8));
}
// The bytes as one tick of the exchange cycle hands them to the decoders.
inline RxBuffer RxOf(const QByteArray& bytes) {
    RxBuffer rx;
    rx.rx_count = static_cast<int>(std::min<qsizetype>(bytes.size(), RxBuffer::kCells));
    std::copy_n(bytes.constData(), rx.rx_count, rx.rx_buffer.begin());
    return rx;
}

// Input registers by their number from 300 (0..124), as the poll read returns them.
using Registers = std::map<int, std::uint16_t>;
// The controller's whole answer to the poll read, with its CRC; registers not given are 0.
inline QByteArray PollFrame(const Registers& registers) {
    QByteArray frame = Hex("07 04 FA") + QByteArray(250, '\0');
    for (const auto& [k, value] : registers) {
        frame[3 + 2 * k] = char(value >> 8);
        frame[4 + 2 * k] = char(value & 0xFF);
    }
    return WithCrc(frame);
}
