#pragma once

#include "link/answer_silence.h"
#include "params/write_check.h"

#include <QChar>
#include <QList>
#include <QStringList>

class AnswerConsumer;
class ExchangeCycle;
class TransferProgress;

// What a call of WriteCheckSequence::follow found.
enum class WriteCheckTurn {
    Idle,        // no check under way
    Waiting,     // the step under way still waits for answers
    ReadingBack, // the write-all is answered: the read of everything back was just queued
    Compared,    // the read-back is answered and compared: the verdict is ready
    NoAnswer,    // the controller fell silent: the check ended without a verdict
};

// The read-back check of a write-all, the window's and the batch mode's alike: once the
// controller has answered the whole write-all, everything is read back, and once that is
// answered too, what it stored is compared with what was written. Driven after every tick from
// the exchange's count of answers; a controller silent for 5 s while a step waits ends it.
class WriteCheckSequence {
public:
    // `answers` takes the read-back's answers into `image`; `progress` is shown by the driver,
    // and the check begins its steps there.
    WriteCheckSequence(ExchangeCycle& cycle, AnswerConsumer& answers,
                       const ParamCatalogue& catalogue, const ControllerImage& image,
                       TransferProgress& progress);

    // Called right after a write-all's `frames` were queued; `expected`: what it should leave
    // stored (ExpectedAfterWriteAll of the boxes as they were sent).
    void begin(const StoredValues& expected, int frames);
    // Called after every tick. A ring too full for the read-back is tried again on the next.
    WriteCheckTurn follow();
    // Ends a check under way without a verdict, its progress with it; false when none was.
    bool stop();

    // Once Compared: the parameters stored otherwise than written, and the verdict's lines
    // (the headline, then what a user needs to put each one right).
    const QList<int>& notStored() const { return not_stored; }
    QStringList verdict(QChar decimalSeparator) const;
    const StoredValues& expected() const { return expected_values; }

    AnswerSilence silence;

private:
    enum class Phase { Idle, Writing, ReadingBack };

    ExchangeCycle& cycle;
    AnswerConsumer& answers;
    const ParamCatalogue& catalogue;
    const ControllerImage& image;
    TransferProgress& progress;
    Phase phase = Phase::Idle;
    long long until = 0; // the step under way waits for this many answers
    StoredValues expected_values{};
    QList<int> not_stored;
};
