#include "history/engine_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

void EngineHistory::append(const EngineSample& sample) {
    if (count == kMaxSamples)
        dropOldest();
    // The slots are written in turn: the next one was used before or is the first unused.
    const int slot = slotOf(count);
    if (slot == static_cast<int>(block.size()))
        block.push_back(sample);
    else
        block[slot] = sample;
    ++count;
    // The samples stay in time order, which every look-up relies on: a clock set back (by hand,
    // by time sync) pins the new samples to the last time until it has caught up.
    EngineSample& added = block[slot];
    if (count > 1)
        added.wall_ms = std::max(added.wall_ms, at(count - 2).wall_ms);
    while (at(0).wall_ms < added.wall_ms - kKeptMs)
        dropOldest();
}

int EngineHistory::indexAt(std::int64_t wallMs) const {
    int low = 0, high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (at(middle).wall_ms < wallMs)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int EngineHistory::nearest(std::int64_t wallMs) const {
    if (count == 0)
        return -1;
    const int after = std::min(indexAt(wallMs), count - 1);
    if (after == 0)
        return 0;
    return wallMs - at(after - 1).wall_ms <= at(after).wall_ms - wallMs ? after - 1 : after;
}

EngineHistory::Curves EngineHistory::decimated(std::int64_t fromMs, std::int64_t toMs,
                                               int columns) const {
    // One pass for all ten quantities: a day of samples is 20 MB, read once.
    const int begin = indexAt(fromMs), end = indexAt(toMs + 1);
    Curves curves;
    const auto add = [&](int q, const EngineSample& sample) {
        curves[q].append(QPointF(static_cast<double>(sample.wall_ms),
                                 sample.raw[q] * LookOf(QuantityAt(q)).scale));
    };
    if (end - begin <= 2 * columns || columns <= 0 || toMs <= fromMs) {
        for (int i = begin; i < end; ++i)
            for (int q = 0; q < kQuantityCount; ++q)
                if (!std::isnan(at(i).raw[q]))
                    add(q, at(i));
        return curves;
    }
    // Whole numbers: a column end computed in floating point can round onto a sample's time, and
    // the sample then belongs to no column (the pass would stop moving).
    const auto columnOf = [&](std::int64_t wallMs) {
        return (wallMs - fromMs) * columns / (toMs - fromMs);
    };
    int i = begin;
    while (i != end) {
        const std::int64_t column = columnOf(at(i).wall_ms);
        const int columnBegin = i;
        // The extremes first, then where each came first: register values repeat and step by
        // one, and a pass that follows the extreme's index with a branch on them mispredicts so
        // often that a day took three times as long. A NaN is passed over by both.
        std::array<float, kQuantityCount> lowest, highest;
        lowest.fill(std::numeric_limits<float>::infinity());
        highest.fill(-std::numeric_limits<float>::infinity());
        for (; i != end && columnOf(at(i).wall_ms) == column; ++i) {
            const EngineSample& sample = at(i);
            for (int q = 0; q < kQuantityCount; ++q) {
                lowest[q] = std::min(lowest[q], sample.raw[q]);
                highest[q] = std::max(highest[q], sample.raw[q]);
            }
        }
        std::array<int, kQuantityCount> low, high;
        low.fill(end);
        high.fill(end);
        for (int k = columnBegin; k != i; ++k)
            for (int q = 0; q < kQuantityCount; ++q) {
                if (low[q] == end && at(k).raw[q] == lowest[q])
                    low[q] = k;
                if (high[q] == end && at(k).raw[q] == highest[q])
                    high[q] = k;
            }
        for (int q = 0; q < kQuantityCount; ++q) {
            if (low[q] == end || high[q] == end)
                continue;
            const int first = std::min(low[q], high[q]), second = std::max(low[q], high[q]);
            add(q, at(first));
            if (second != first)
                add(q, at(second));
        }
    }
    return curves;
}
