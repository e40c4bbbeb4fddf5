#include "traffic/link_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

void LinkStatistics::take(const LinkEvent& event) {
    switch (event.outcome) {
    case LinkOutcome::FirstSend:
        ++sent;
        break;
    case LinkOutcome::Repeat:
        ++sent;
        ++repeats;
        break;
    case LinkOutcome::Ok:
    case LinkOutcome::Exception:
        ++(event.outcome == LinkOutcome::Ok ? ok : exceptions);
        answered_first_time += last_was_first_send;
        if (event.response_ms >= 0) {
            response_ms.push_back(event.response_ms);
            if (static_cast<int>(response_ms.size()) > kTimedAnswers)
                response_ms.pop_front();
        }
        break;
    case LinkOutcome::CrcMismatch:
        ++crc_mismatch;
        break;
    case LinkOutcome::NoAnswer:
        ++no_answer;
        break;
    }
    const bool judged =
        event.outcome != LinkOutcome::FirstSend && event.outcome != LinkOutcome::Repeat;
    judged_first_sends += judged && last_was_first_send;
    last_was_first_send = event.outcome == LinkOutcome::FirstSend;
}

std::optional<double> LinkStatistics::answeredFirstTime() const {
    if (judged_first_sends == 0)
        return std::nullopt;
    return 100.0 * answered_first_time / judged_first_sends;
}

LinkStatistics::ResponseTimes LinkStatistics::responseTimes() const {
    ResponseTimes times;
    times.count = static_cast<int>(response_ms.size());
    if (times.count == 0)
        return times;
    std::vector<double> sorted(response_ms.begin(), response_ms.end());
    std::sort(sorted.begin(), sorted.end());
    times.min = sorted.front();
    times.max = sorted.back();
    times.mean = std::accumulate(sorted.begin(), sorted.end(), 0.0) / times.count;
    // Nearest rank: the smallest time that at least 95 % of the answers do not exceed.
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * times.count));
    times.p95 = sorted[std::max<std::size_t>(rank, 1) - 1];
    return times;
}
