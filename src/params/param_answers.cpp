#include "params/param_answers.h"

#include "params/param_answer_decoder.h"

#include <utility>

ParamAnswers::ParamAnswers(const ExchangeCycle& cycle, const ParamCatalogue& catalogue,
                           QChar decimalSeparator, ControllerImage& image)
    : cycle(cycle), catalogue(catalogue), decimal_separator(decimalSeparator), image(image) {}

void ParamAnswers::checkEchoes(WriteEchoCheck& check, std::function<void(const QString&)> told) {
    echo_check = &check;
    stored_otherwise = std::move(told);
}

void ParamAnswers::DecodeAnswer(const RxBuffer& answer) {
    const QList<ParamValueText> values = DecodeParamAnswer(answer, catalogue, decimal_separator);
    image.take(answer[0], values);
    if (echo_check)
        if (const std::optional<QString> other = echo_check->take(cycle.answered(), answer, values))
            stored_otherwise(*other);
    if (shown)
        ShowParamValues(values, *shown);
}
