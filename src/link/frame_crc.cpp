#include "link/frame_crc.h"

#include <array>

namespace {
// The eight shifts of the bitwise CRC for every value of the low byte, worked out once: every
// answer of every tick is checked, a whole poll answer is 255 bytes.
constexpr std::array<std::uint16_t, 256> kByteSteps = [] {
    std::array<std::uint16_t, 256> steps{};
    for (int byte = 0; byte < 256; ++byte) {
        auto crc = static_cast<std::uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = crc & 1u;
            crc >>= 1;
            if (carry)
                crc ^= 0xA001;
        }
        steps[byte] = crc;
    }
    return steps;
}();
} // namespace

std::uint16_t FrameCrc(const std::uint8_t* buffer, int last) {
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i <= last; ++i)
        crc = static_cast<std::uint16_t>(crc >> 8 ^ kByteSteps[(crc ^ buffer[i]) & 0xFF]);
    return crc;
}

void AppendCrc(std::uint8_t* frame, int length) {
    const std::uint16_t crc = FrameCrc(frame, length - 1);
    frame[length] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[length + 1] = static_cast<std::uint8_t>(crc >> 8);
}

bool HasGoodCrc(const std::uint8_t* frame, int length) {
    const int received = 256 * frame[length - 1] + frame[length - 2];
    return FrameCrc(frame, length - 3) == received;
}
