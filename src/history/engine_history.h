#pragma once

#include "live/engine_quantities.h"

#include <QList>
#include <QPointF>
#include <array>
#include <cstdint>
#include <vector>

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

    EngineHistory() { block.reserve(kMaxSamples); }
    void append(const EngineSample& sample);
    // The block stays: the samples that follow are written where these were.
    void clear() { block.clear(), first = 0, count = 0; }
    int size() const { return count; }
    const EngineSample& at(int index) const { return block[slotOf(index)]; }
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
    // Where the index-th oldest sample lies; past the block's end the ring goes on at its start
    // (a comparison, not a division: a day's pass asks this for every sample).
    int slotOf(int index) const {
        const int slot = first + index;
        return slot < kMaxSamples ? slot : slot - kMaxSamples;
    }
    void dropOldest() { first = slotOf(1), --count; }

    // One block for the whole day, reserved at once (a large allocation is mapped apart from the
    // heap) and written in order, so only the pages of samples written are resident. Small
    // blocks added for weeks among the heap's short-lived allocations would keep it from
    // shrinking.
    std::vector<EngineSample> block;
    int first = 0; // the slot of the oldest sample
    int count = 0;
};
