#pragma once

#include "live/engine_quantities.h"

#include <QList>
#include <QPointF>
#include <array>
#include <cstdint>
#include <deque>

// One poll answer's measured values, as the register held them (before scaling): a float keeps
// every 16-bit register and speeds up to 16,777,216 exactly, at half the memory of a double.
struct EngineSample {
    std::int64_t wall_ms = 0;
    // NaN where the main window shows no value (the shaft speed of a ДГУ).
    std::array<float, kQuantityCount> raw{};
};

// The session's samples in the order they arrived, the last 24 hours of them at most.
class EngineHistory {
public:
    static constexpr std::int64_t kKeptMs = 24LL * 3600 * 1000;
    // Five samples a second for 24 hours; a faster poll keeps a shorter span.
    static constexpr int kMaxSamples = 24 * 3600 * 5;

    void append(const EngineSample& sample);
    void clear() { samples.clear(); }
    int size() const { return static_cast<int>(samples.size()); }
    const EngineSample& at(int index) const { return samples[index]; }
    // The first sample at or after wallMs (size() when none is).
    int indexAt(std::int64_t wallMs) const;
    // The sample closest in time to wallMs; -1 when the history is empty.
    int nearest(std::int64_t wallMs) const;

    // The scaled values of each quantity between two times, as (ms since the epoch, value), at
    // most two points per column: a long span keeps each column's lowest and highest value in
    // the order they came, so a spike survives and drawing 24 hours costs what one minute does.
    using Curves = std::array<QList<QPointF>, kQuantityCount>;
    Curves decimated(std::int64_t fromMs, std::int64_t toMs, int columns) const;

private:
    std::deque<EngineSample> samples;
};
