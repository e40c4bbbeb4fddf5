#include "history/engine_history.h"

#include <algorithm>
#include <cmath>

void EngineHistory::append(const EngineSample& sample) {
    samples.push_back(sample);
    while (!samples.empty() && (static_cast<int>(samples.size()) > kMaxSamples ||
                                samples.front().wall_ms < sample.wall_ms - kKeptMs))
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

QList<QPointF> EngineHistory::decimated(Quantity quantity, std::int64_t fromMs, std::int64_t toMs,
                                        int columns) const {
    const int q = static_cast<int>(quantity);
    const double scale = LookOf(quantity).scale;
    const int first = indexAt(fromMs), end = indexAt(toMs + 1);
    QList<QPointF> points;
    const auto point = [&](int i) {
        return QPointF(static_cast<double>(at(i).wall_ms), at(i).raw[q] * scale);
    };
    if (end - first <= 2 * columns || columns <= 0 || toMs <= fromMs) {
        for (int i = first; i < end; ++i)
            if (!std::isnan(at(i).raw[q]))
                points.append(point(i));
        return points;
    }
    const double columnMs = static_cast<double>(toMs - fromMs) / columns;
    int i = first;
    while (i < end) {
        const auto column = static_cast<std::int64_t>((at(i).wall_ms - fromMs) / columnMs);
        int low = -1, high = -1;
        for (; i < end && static_cast<std::int64_t>((at(i).wall_ms - fromMs) / columnMs) == column;
             ++i) {
            const float value = at(i).raw[q];
            if (std::isnan(value))
                continue;
            if (low < 0 || value < at(low).raw[q])
                low = i;
            if (high < 0 || value > at(high).raw[q])
                high = i;
        }
        if (low < 0)
            continue;
        points.append(point(std::min(low, high)));
        if (low != high)
            points.append(point(std::max(low, high)));
    }
    return points;
}
