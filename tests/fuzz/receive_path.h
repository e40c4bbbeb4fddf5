#pragma once

#include "fake_byte_line.h"
#include "link/exchange_cycle.h"
#include "live/poll_decoder.h"
#include "params/memory_param_boxes.h"
#include "params/param_answers.h"
#include "params/param_catalogue.h"
#include "recording_host.h"

// The receive path as the tool wires it, on an open in-memory line: the exchange, the poll's
// decoder and the parameter answers shown in boxes without a window.
struct ReceivePath {
    explicit ReceivePath(QChar separator)
        : poll(separator), answers(cycle, catalogue, separator, image) {
        port.open();
        answers.showIn(&boxes);
    }

    FakeByteLine port;
    const ParamCatalogue& catalogue = Catalogue();
    RecordingHost host;
    PollDecoder poll;
    MemoryParamBoxes boxes;
    ControllerImage image;
    ExchangeCycle cycle{port, host, poll};
    ParamAnswers answers;
};
