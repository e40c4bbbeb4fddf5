#pragma once

#include "host/status_line.h"
#include "link/rx_buffer.h"
#include "live/poll_decoder.h"

#include <functional>

// The one entry of every answer that passed its CRC check: the poll answer goes to the live
// display, parameter answers to the parameter boxes, exception answers to the status line;
// everything else (the echoes of command and transaction writes among them) is dropped.
class AnswerDispatch : public AnswerConsumer {
public:
    AnswerDispatch(StatusLine& status, QChar decimalSeparator);

    void DecodeAnswer(const RxBuffer& answer) override;

    // Filled in by whoever shows the picture (the main window, the parameter window's flag).
    std::function<void(const PollPicture&)> show_poll = [](const PollPicture&) {};
    // Answers of functions 100 and 101.
    std::function<void(const RxBuffer&)> param_answer = [](const RxBuffer&) {};

    PollDecoder poll;

private:
    StatusLine& status;
};
