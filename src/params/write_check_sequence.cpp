#include "params/write_check_sequence.h"

#include "link/exchange_cycle.h"
#include "params/param_requests.h"
#include "params/transfer_progress.h"

WriteCheckSequence::WriteCheckSequence(ExchangeCycle& cycle, AnswerConsumer& answers,
                                       const ParamCatalogue& catalogue,
                                       const ControllerImage& image, TransferProgress& progress)
    : cycle(cycle), answers(answers), catalogue(catalogue), image(image), progress(progress) {}

void WriteCheckSequence::begin(const StoredValues& expected, int frames) {
    expected_values = expected;
    phase = Phase::Writing;
    until = cycle.answered() + cycle.waiting();
    progress.begin(TransferStep::Writing, cycle, frames);
    silence.restart(cycle);
}

WriteCheckTurn WriteCheckSequence::follow() {
    if (phase == Phase::Idle)
        return WriteCheckTurn::Idle;
    if (cycle.answered() >= until) {
        if (phase == Phase::ReadingBack) {
            phase = Phase::Idle;
            not_stored = NotStoredAsWritten(expected_values, image);
            return WriteCheckTurn::Compared;
        }
        if (const RequestBatch readBack = AnsweredBy(ReadAllRequests(catalogue), answers);
            cycle.queueAll(readBack)) {
            phase = Phase::ReadingBack;
            until = cycle.answered() + cycle.waiting();
            progress.begin(TransferStep::Checking, cycle, static_cast<int>(readBack.size()));
            silence.restart(cycle);
            return WriteCheckTurn::ReadingBack;
        }
    }
    if (!silence.expired(cycle))
        return WriteCheckTurn::Waiting;
    stop();
    return WriteCheckTurn::NoAnswer;
}

bool WriteCheckSequence::stop() {
    if (phase == Phase::Idle)
        return false;
    phase = Phase::Idle;
    progress.stop();
    return true;
}

QStringList WriteCheckSequence::verdict(QChar decimalSeparator) const {
    return QStringList{WriteCheckText(not_stored)} +
           WriteCheckDetails(not_stored, expected_values, image, catalogue, decimalSeparator);
}
