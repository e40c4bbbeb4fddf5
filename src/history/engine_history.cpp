#include "history/engine_history.h"

#include <algorithm>
#include <cmath>

void EngineHistory::append(const EngineSample& sample) {
    samples.push_back(sample);
    // The samples stay in time order, which every look-up relies on: a clock set back (by hand,
    // by time sync) pins the new samples to the last time until it has caught up.
    if (samples.size() > 1 && samples.back().wall_ms < samples[samples.size() - 2].wall_ms)
        samples.back().wall_ms = samples[samples.size() - 2].wall_ms;
    while (!samples.empty() && (static_cast<int>(samples.size()) > kMaxSamples ||
                                samples.front().wall_ms < samples.back().wall_ms - kKeptMs))
        samples.pop_front();
}

int EngineHistory::indexAt(std::int64_t wallMs) const {
    const auto it = std::lower_bound(
        samples.begin(), samples.end(), wallMs,
        [](const EngineSample& sample, std::int64_t ms) { return sample.wall_ms < ms; });
    return static_cast<int>(it - samples.begin());
}

int EngineHistory::nearest(std::int64_t wallMs) const {
    if (samples.empty())
        return -1;
    const int after = std::min(indexAt(wallMs), size() - 1);
    if (after == 0)
        return 0;
    return wallMs - at(after - 1).wall_ms <= at(after).wall_ms - wallMs ? after - 1 : after;
}

EngineHistory::Curves EngineHistory::decimated(std::int64_t fromMs, std::int64_t toMs,
                                               int columns) const {
    // Iterators, not indices: indexing a deque divides on every step. One pass for all ten
    // quantities: a day of samples is 20 MB, read once.
    const auto begin = samples.begin() + indexAt(fromMs);
    const auto end = samples.begin() + indexAt(toMs + 1);
    Curves curves;
    const auto add = [&](int q, const EngineSample& sample) {
        curves[q].append(QPointF(static_cast<double>(sample.wall_ms),
                                 sample.raw[q] * LookOf(QuantityAt(q)).scale));
    };
    if (end - begin <= 2 * columns || columns <= 0 || toMs <= fromMs) {
        for (auto it = begin; it != end; ++it)
            for (int q = 0; q < kQuantityCount; ++q)
                if (!std::isnan(it->raw[q]))
                    add(q, *it);
        return curves;
    }
    // Whole numbers: a column end computed in floating point can round onto a sample's time, and
    // the sample then belongs to no column (the pass would stop moving).
    const auto columnOf = [&](std::int64_t wallMs) {
        return (wallMs - fromMs) * columns / (toMs - fromMs);
    };
    auto it = begin;
    while (it != end) {
        const std::int64_t column = columnOf(it->wall_ms);
        std::array<decltype(it), kQuantityCount> low, high;
        low.fill(end);
        high.fill(end);
        for (; it != end && columnOf(it->wall_ms) == column; ++it)
            for (int q = 0; q < kQuantityCount; ++q) {
                const float value = it->raw[q];
                if (std::isnan(value))
                    continue;
                if (low[q] == end || value < low[q]->raw[q])
                    low[q] = it;
                if (high[q] == end || value > high[q]->raw[q])
                    high[q] = it;
            }
        for (int q = 0; q < kQuantityCount; ++q) {
            if (low[q] == end)
                continue;
            const auto first = std::min(low[q], high[q]), second = std::max(low[q], high[q]);
            add(q, *first);
            if (second != first)
                add(q, *second);
        }
    }
    return curves;
}
