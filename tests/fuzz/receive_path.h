#pragma once

#include "fake_byte_line.h"
#include "link/exchange_cycle.h"
#include "live/poll_decoder.h"
#include "params/memory_param_boxes.h"
#include "params/param_answers.h"
#include "params/param_catalogue.h"
#include "recording_host.h"

// Boxes that count the texts set in them, by the user or by an answer: what a write-all is
// built from changes only then.
struct CountingParamBoxes : MemoryParamBoxes {
    void setText(int index, const QString& text) override {
        ++texts_set;
        MemoryParamBoxes::setText(index, text);
    }
    long long texts_set = 0;
};

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
    CountingParamBoxes boxes;
    ControllerImage image;
    ExchangeCycle cycle{port, host, poll};
    ParamAnswers answers;
};
