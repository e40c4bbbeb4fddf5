#pragma once

#include "fake_byte_line.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "recording_host.h"

#include <functional>

// One tick of the exchange cycle, as the main window's timer runs it; returns the frame it
// wrote, empty when none.
inline QByteArray TickAndTakeFrame(ExchangeCycle& cycle, FakeByteLine& port) {
    port.written.clear();
    cycle.ExchangeTick();
    return port.written.value(port.written.size() - 1);
}

// A link on an open in-memory port at slave address 7. It keeps a copy of every answer the
// cycle hands on, then passes it to on_answer (a dispatcher, say) when one is set.
struct LinkRig : AnswerConsumer {
    FakeByteLine port;
    RecordingHost host;
    QList<QByteArray> answers;
    std::function<void(const RxBuffer&)> on_answer;
    ExchangeCycle cycle{port, host, *this};

    LinkRig() { port.open(); }
    void DecodeAnswer(const RxBuffer& rx) override {
        answers.append(QByteArray(reinterpret_cast<const char*>(rx.rx_buffer.data()), rx.rx_count));
        if (on_answer)
            on_answer(rx);
    }
    QByteArray tick() { return TickAndTakeFrame(cycle, port); }
    // Puts `hex` and its CRC on the line as the answer to the frame in flight, then ticks.
    QByteArray answer(const char* hex = "07 06 01 92 00 00") {
        return port.feed(WithCrc(Hex(hex))), tick();
    }
};
