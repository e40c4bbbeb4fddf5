#pragma once

#include <QtGlobal>
#include <functional>

class ExchangeCycle;

// A controller that has not answered for 5 s while a transfer waits for it is not there (or
// not at this address): the tick repeats an unanswered frame for ever, so whoever waits on the
// exchange gives up by this rule.
class AnswerSilence {
public:
    static constexpr qint64 kSilenceMs = 5000;
    // Milliseconds of a clock that never goes back; tests set their own.
    using Clock = std::function<qint64()>;

    // Counts from now, as the wait begins.
    void restart(const ExchangeCycle& cycle);
    // Called after a tick: true once kSilenceMs have passed without an answer. While the port
    // dialog holds the line nothing is sent, so no silence is counted.
    bool expired(const ExchangeCycle& cycle);

    Clock clock = steadyMs;

private:
    static qint64 steadyMs();

    long long answered = 0;
    qint64 heard_at = 0;
};
