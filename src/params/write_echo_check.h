#pragma once

#include "link/rx_buffer.h"
#include "params/param_answer_decoder.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <deque>
#include <optional>

// A single write held against its echo: a controller that limits a setting stores something
// other than what was sent, and shows it only in the echo, which the box takes without a word.
// The ring answers strictly in order, so the echo of a write is known by its number among all
// answers (ExchangeCycle::answered() once it has arrived).
class WriteEchoCheck {
public:
    // Parameter `index` was queued to be written as `value` (typed as `typed`); its echo will
    // be answer number `answerNumber`.
    void sent(long long answerNumber, int index, std::int32_t value, const QString& typed);
    // The journal's line when answer number `answerNumber`, decoded into `values`, is the echo
    // of such a write and shows another value stored; writes whose answer has passed are dropped.
    std::optional<QString> take(long long answerNumber, const RxBuffer& answer,
                                const QList<ParamValueText>& values);

private:
    struct Sent {
        long long answer_number;
        int index;
        std::int32_t value;
        QString typed;
    };
    std::deque<Sent> waiting;
};
