#pragma once

#include "fake_serial_port.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "recording_host.h"

#include <QList>

// Keeps a copy of every answer the cycle hands on.
class RecordingDecoder : public AnswerConsumer {
public:
    void DecodeAnswer(const RxBuffer& answer) override {
        answers.append(QByteArray(reinterpret_cast<const char*>(answer.rx_buffer.data()),
                                  answer.rx_count));
    }
    QList<QByteArray> answers;
};

// A link on an open in-memory port at slave address 7.
struct LinkFixture {
    FakeSerialPort port;
    RecordingHost host;
    RecordingDecoder decoder;
    ExchangeCycle cycle{port, host, decoder};

    LinkFixture() { port.open(); }

    // One tick; returns the frame it wrote (empty when none).
    QByteArray tick() {
        port.written.clear();
        cycle.ExchangeTick();
        return port.written.isEmpty() ? QByteArray() : port.written.last();
    }
    // Answers whatever is in flight with a correct echo-like frame, then ticks.
    QByteArray answerAndTick(const char* answerHex = "07 06 01 92 00 00") {
        port.feed(WithCrc(Hex(answerHex)));
        return tick();
    }
};
