#pragma once

#include "link/exchange_cycle.h"
#include "link/rx_buffer.h"
#include "params/controller_image.h"
#include "params/param_boxes.h"
#include "params/param_catalogue.h"
#include "params/write_echo_check.h"

#include <QChar>
#include <QString>
#include <functional>

// The consumer of every parameter request's answer (read-all, write-all, Enter): each answer is
// decoded once, kept in the controller image, held against the Enter write it may echo, and
// shown in the boxes of whoever shows them.
class ParamAnswers : public AnswerConsumer {
public:
    ParamAnswers(const ExchangeCycle& cycle, const ParamCatalogue& catalogue,
                 QChar decimalSeparator, ControllerImage& image);

    void DecodeAnswer(const RxBuffer& answer) override;

    // The boxes the answers are shown in: the window's while there is one, the batch's;
    // none (null) at first.
    void showIn(ParamBoxes* boxes) { shown = boxes; }
    // Enter's writes, held against their echoes; the journal's line for one stored otherwise
    // goes to `told`. Unchecked at first.
    void checkEchoes(WriteEchoCheck& check, std::function<void(const QString&)> told);

private:
    const ExchangeCycle& cycle;
    const ParamCatalogue& catalogue;
    QChar decimal_separator;
    ControllerImage& image;
    ParamBoxes* shown = nullptr;
    WriteEchoCheck* echo_check = nullptr;
    std::function<void(const QString&)> stored_otherwise;
};
