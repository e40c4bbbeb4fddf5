#include "link/answer_silence.h"

#include "link/exchange_cycle.h"

#include <chrono>

qint64 AnswerSilence::steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void AnswerSilence::restart(const ExchangeCycle& cycle) {
    answered = cycle.answered();
    heard_at = clock();
}

bool AnswerSilence::expired(const ExchangeCycle& cycle) {
    if (cycle.answered() != answered || cycle.lineHeld())
        restart(cycle);
    return clock() - heard_at >= kSilenceMs;
}
