#pragma once

#include "fake_byte_line.h"
#include "frames.h"
#include "link/exchange_cycle.h"
#include "recording_host.h"

// One tick of the exchange cycle, as the main window's timer runs it; returns the frame it
// wrote, empty when none.
inline QByteArray TickAndTakeFrame(ExchangeCycle& cycle, FakeByteLine& port) {
    port.written.clear();
    cycle.ExchangeTick();
    return port.written.value(port.written.size() - 1);
}

// The bytes of an answer as the cycle took them.
inline QByteArray BytesOf(const RxBuffer& rx) {
    return QByteArray(reinterpret_cast<const char*>(rx.rx_buffer.data()), rx.rx_count);
}

// A link on an open in-memory port at slave address 7. It keeps a copy of every frame the cycle
// takes for an answer (until a test watches the link itself), and of every answer it hands to
// the rig as a consumer: the polls' and those of the requests queued with it.
struct LinkRig : AnswerConsumer {
    FakeByteLine port;
    RecordingHost host;
    QList<QByteArray> answers;
    QList<QByteArray> decoded;
    ExchangeCycle cycle{port, host, *this};

    LinkRig() {
        port.open();
        cycle.on_event = [this](const LinkEvent& event) {
            if (event.outcome == LinkOutcome::Ok || event.outcome == LinkOutcome::Exception)
                answers.append(event.bytes);
        };
    }
    void DecodeAnswer(const RxBuffer& rx) override { decoded.append(BytesOf(rx)); }
    QByteArray tick() { return TickAndTakeFrame(cycle, port); }
    // Puts `hex` and its CRC on the line as the answer to the frame in flight, then ticks.
    QByteArray answer(const char* hex = "07 06 01 92 00 00") {
        return port.feed(WithCrc(Hex(hex))), tick();
    }
};
