#pragma once

#include <chrono>
#include <cstdint>

// The clock the lines stamp their writes and arrivals with: monotonic, in microseconds.
inline std::int64_t SteadyMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
