#pragma once

#include <QByteArray>
#include <cstdint>

// The tool's line, reduced to the operations the link needs: bytes in, bytes out, and when they
// moved. Where the line goes (a COM port, later a network address) is the configuration's
// business; the exchange cycle polls the line from the timer, and nothing here raises events.
enum class OpenOutcome {
    Opened,
    Held,         // open already, by us or by another program (exclusive lock, lock file, EBUSY)
    NotAvailable, // no such device, no permission, or any other failure
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
    // Removes and returns the oldest received byte; only called while waitingBytes() > 0.
    virtual std::uint8_t readByte() = 0;
    // Queues a whole frame and returns without waiting for it to leave the line.
    virtual void write(const QByteArray& frame) = 0;
    // Steady-clock microseconds when the last frame was handed on whole to the device, and when
    // the last bytes arrived; 0 when not known. Response times are measured from these, since
    // the tick that reads the bytes comes up to 100 ms later.
    virtual std::int64_t writeDoneUs() const { return 0; }
    virtual std::int64_t lastArrivalUs() const { return 0; }
};
