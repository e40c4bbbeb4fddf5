#include "frames.h"

#include "link/frame_crc.h"

#include <QString>

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
