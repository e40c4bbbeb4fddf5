#include "crc16.h"

#include <array>
#include <cstdint>

namespace {
// One step per byte instead of eight: the remainder of every byte value under the reflected
// polynomial 0xA001.
constexpr std::array<std::uint16_t, 256> kTable = [] {
    std::array<std::uint16_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        std::uint16_t crc = static_cast<std::uint16_t>(value);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        table[value] = crc;
    }
    return table;
}();

std::uint16_t Crc16(const QByteArray& bytes, qsizetype count) {
    std::uint16_t crc = 0xFFFF;
    for (qsizetype i = 0; i < count; ++i)
        crc = static_cast<std::uint16_t>(
            (crc >> 8) ^ kTable[(crc ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF]);
    return crc;
}
} // namespace

bool HasGoodCrc(const QByteArray& frame) {
    const qsizetype n = frame.size();
    if (n < 3)
        return false;
    const std::uint16_t crc = Crc16(frame, n - 2);
    return static_cast<std::uint8_t>(frame[n - 2]) == (crc & 0xFF) &&
           static_cast<std::uint8_t>(frame[n - 1]) == (crc >> 8);
}

QByteArray AppendCrc(QByteArray frame) {
    const std::uint16_t crc = Crc16(frame, frame.size());
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}
