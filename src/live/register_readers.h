#pragma once

#include "link/rx_buffer.h"

#include <cstdint>

// Poll register k of a function-4 answer starts at this cell (high byte first).
constexpr int RegOffset(int k) {
    return 3 + 2 * k;
}

// The big-endian 16-bit value at cells p, p+1 (both within 0..255).
inline std::int32_t ReadU16(const RxBuffer& rx, int p) {
    return rx[p] * 256 + rx[p + 1];
}

inline std::int32_t ReadS16(const RxBuffer& rx, int p) {
    const std::int32_t value = ReadU16(rx, p);
    return value > 32767 ? value - 65536 : value;
}
