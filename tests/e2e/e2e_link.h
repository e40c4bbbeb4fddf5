#pragma once

#include "link/exchange_cycle.h"
#include "link/qt_serial_port.h"
#include "recording_host.h"

#include <QByteArray>
#include <QList>
#include <QTimer>

// Every answer the cycle accepted, together with the request it answered (from the function
// code on, as it stood in the ring).
class AnsweredRequests : public AnswerConsumer {
public:
    struct Exchange {
        QByteArray request;
        QByteArray answer; // with its CRC
    };

    explicit AnsweredRequests(const RequestQueue& ring) : ring(ring) {}
    void DecodeAnswer(const RxBuffer& answer) override;

    QList<Exchange> exchanges;

private:
    const RequestQueue& ring;
};

// The tool's link, minus its window: the real serial port on the simulator's pty, an exchange
// cycle ticking every 100 ms from a timer on the event loop, a recording host.
class E2eLink {
public:
    static constexpr int kTickMs = 100;

    explicit E2eLink(const QString& devicePath);

    // Opens COM1 (mapped to the device path) and starts the ticks.
    OpenOutcome start();

    // Queues a raw request (from its function code on) and lets the link run until it is
    // answered; the answer, or nothing after timeoutMs.
    QByteArray ask(const QByteArray& fromFunctionCode, int timeoutMs = 10000);
    // Runs the link until the next answer to a poll read; nothing after timeoutMs.
    QByteArray nextPoll(int timeoutMs = 5000);
    // Runs the link until `count` exchanges have been recorded in all.
    bool waitForExchanges(int count, int timeoutMs);

    QtSerialPort port;
    RecordingHost host;
    ExchangeCycle cycle;
    AnsweredRequests answered;
    QTimer timer;
};

// Register k of a poll answer (input register 300 + k), from the answer's own bytes.
int PollRegister(const QByteArray& answer, int k);
// True when the frame ends in the CRC that the tool's own FrameCrc computes.
bool EndsInGoodCrc(const QByteArray& frame);
