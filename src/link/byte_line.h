#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The tool's line, reduced to the operations the link needs: bytes in, bytes out, and when they
// moved. Where the line goes (a COM port, a network address) is the configuration's business;
// the exchange cycle polls the line from the timer, and nothing here raises events.
enum class OpenOutcome {
    Opened,
    Held,         // open already, by us or by another program (exclusive lock, lock file, EBUSY)
    NotAvailable, // no such device, no permission, or any other failure
};

// Whether an open line carries bytes. A serial line does from its open on; a network line opens
// at once and connects in the background, so that nothing waits for the network, and comes back
// by itself when its connection is lost.
enum class LineState {
    Carrying,
    Connecting, // the first connection is being made; nothing has failed yet
    Down,       // no connection, for the reason stateText() gives; tried again when due
};

class ByteLine {
public:
    virtual ~ByteLine() = default;

    virtual OpenOutcome open() = 0;
    virtual bool isOpen() const = 0;
    // Closes the line; bytes still waiting are discarded.
    virtual void close() = 0;
    // Received bytes not yet read; 0 while closed.
    virtual int waitingBytes() = 0;
    // Moves up to `most` of the oldest received bytes to `into`; returns how many it moved.
    virtual int read(std::uint8_t* into, int most) = 0;
    // Queues a whole frame and returns without waiting for it to leave the line.
    virtual void write(const QByteArray& frame) = 0;
    // Steady-clock microseconds when the last frame was handed on whole to the device, and when
    // the last bytes arrived; 0 when not known. Response times are measured from these, since
    // the tick that reads the bytes comes up to 100 ms later.
    virtual std::int64_t writeDoneUs() const { return 0; }
    virtual std::int64_t lastArrivalUs() const { return 0; }
    // Looked at from the timer while the line is open; looking also moves a network line on
    // (a connection past its time-out given up, a lost one tried again when due).
    virtual LineState state() { return LineState::Carrying; }
    // Why an open line does not carry, in the user's words (the status line, the port dialog,
    // the batch mode); empty while it carries.
    virtual QString stateText() const { return {}; }
};
