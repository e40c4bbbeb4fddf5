#include "live/answer_dispatch.h"

AnswerDispatch::AnswerDispatch(StatusLine& status, QChar decimalSeparator)
    : poll(decimalSeparator), status(status) {}

void AnswerDispatch::DecodeAnswer(const RxBuffer& answer) {
    const int function = answer[1];
    if (function == 4)
        show_poll(poll.decode(answer));
    else if (function == 100 || function == 101)
        param_answer(answer);
    else if (function > 127)
        status.setText(status.text() + QStringLiteral(" Нарушение протокола, код: ") +
                       QString::number(answer[2]));
}
