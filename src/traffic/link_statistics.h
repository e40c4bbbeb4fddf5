#pragma once

#include "link/link_event.h"

#include <deque>
#include <optional>

// The link's figures since the start or the last reset, counted from its events.
class LinkStatistics {
public:
    static constexpr int kTimedAnswers = 1000;

    void take(const LinkEvent& event);
    void reset() { *this = LinkStatistics(); }

    int sent = 0;
    int ok = 0;
    int no_answer = 0;
    int crc_mismatch = 0;
    int exceptions = 0;
    int repeats = 0;

    // Of the requests whose first send has been judged, the share (%) answered at that send;
    // none before the first. A frame still waiting for its answer is not yet a success or a
    // failure, so it counts in neither.
    std::optional<double> answeredFirstTime() const;

    struct ResponseTimes {
        double min = 0, mean = 0, p95 = 0, max = 0;
        int count = 0;
    };
    // Over the last 1,000 answers whose response time is known.
    ResponseTimes responseTimes() const;

private:
    int judged_first_sends = 0;
    int answered_first_time = 0;
    bool last_was_first_send = false;
    std::deque<double> response_ms;
};
