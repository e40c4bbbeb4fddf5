#include "link/frame_crc.h"

std::uint16_t FrameCrc(const std::uint8_t* buffer, int last) {
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i <= last; ++i) {
        crc ^= buffer[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = crc & 1u;
            crc >>= 1;
            if (carry)
                crc ^= 0xA001;
        }
    }
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
