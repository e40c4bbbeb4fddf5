#include "frames.h"

#include "link/frame_crc.h"

#include <QString>
#include <algorithm>

QByteArray Hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QString HexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QByteArray WithCrc(QByteArray frame) {
    const auto crc = FrameCrc(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                              static_cast<int>(frame.size()) - 1);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

RxBuffer RxOf(const QByteArray& bytes) {
    RxBuffer rx;
    rx.rx_count = static_cast<int>(std::min<qsizetype>(bytes.size(), RxBuffer::kCells));
    std::copy_n(bytes.constData(), rx.rx_count, rx.rx_buffer.begin());
    return rx;
}

QByteArray PollFrame(const Registers& registers) {
    QByteArray frame = Hex("07 04 FA") + QByteArray(250, '\0');
    for (const auto& [k, value] : registers) {
        frame[3 + 2 * k] = static_cast<char>(value >> 8);
        frame[4 + 2 * k] = static_cast<char>(value & 0xFF);
    }
    return WithCrc(frame);
}
