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
