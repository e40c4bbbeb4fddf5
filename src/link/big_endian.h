#pragma once

#include "link/rx_buffer.h"

#include <cstdint>

// Cells p..p+n-1 (n of 1 or 2) of an answer read as one big-endian number, unsigned or two's
// complement: the controller sends registers and parameters high byte first.
inline std::int32_t ReadBigEndian(const RxBuffer& rx, int p, int n) {
    std::int32_t sum = 0;
    for (int k = 0; k < n; ++k)
        sum = sum * 256 + rx[p + k];
    return sum;
}

inline std::int32_t ReadBigEndianSigned(const RxBuffer& rx, int p, int n) {
    const std::int32_t sum = ReadBigEndian(rx, p, n);
    const std::int32_t span = std::int32_t{1} << (8 * n);
    return sum > span / 2 - 1 ? sum - span : sum;
}

// Two registers, high first, as one unsigned 32-bit counter: a high register of 0x8000 or more
// would not fit the signed 32 bits the controller's counters are described in.
inline std::int64_t ReadBigEndianPair(const RxBuffer& rx, int p) {
    return std::int64_t{ReadBigEndian(rx, p, 2)} * 65536 + ReadBigEndian(rx, p + 2, 2);
}
