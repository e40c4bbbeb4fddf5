#pragma once

#include "controller_bus.h"
#include "fault_injector.h"
#include "rtu_framer.h"
#include "sim_line.h"
#include "sim_options.h"

#include <QByteArray>
#include <csignal>
#include <cstdint>
#include <map>

// What really happened on the line, for holding the tool's link statistics against. The line
// it prints is read by scripts: its keys and their order stay as they are.
struct LineCounters {
    std::int64_t received = 0;  // requests for its controllers with a good CRC
    std::int64_t sent = 0;      // answers handed to the line whole, spoiled and split ones too
    std::int64_t dropped = 0;   // answers the fault injector held back
    std::int64_t corrupted = 0; // answers sent with a spoiled CRC
    std::int64_t split = 0;     // answers sent in two parts

    QByteArray line() const;
};

// The simulator's single-threaded main loop: waits on the line with a time-out (never spins,
// also while nobody holds the far end), cuts requests out of the byte stream, answers them the
// turnaround after they end, and sends answers (or parts of them) when they fall due.
class SimLoop {
public:
    static constexpr std::int64_t kMaxWaitUs = 100000;
    static constexpr std::int64_t kNobodyThereBackoffUs = 50000;

    SimLoop(SimLine& line, ControllerBus& controllers, FaultInjector& faults,
            const SimOptions& options);

    // Runs until `stop` becomes non-zero, printing the counters whenever `report` is set (and
    // clearing it) and once more at the end; signals are let through only while waiting, using
    // `waitMask` as the signal mask then.
    void run(const volatile std::sig_atomic_t& stop, volatile std::sig_atomic_t& report,
             const sigset_t& waitMask);

    // One pass of the loop without the wait, so tests can drive it with their own clock: bytes
    // that arrived at nowUs (none when the wait ran out), then what has fallen due by then.
    void step(const QByteArray& bytes, std::int64_t nowUs);
    const LineCounters& counters() const { return line_counters; }

private:
    // A piece of an answer on its way out; an answer counts as sent with its last piece.
    struct Piece {
        QByteArray bytes;
        bool ends_answer = true;
    };

    QByteArray waitForLine(std::int64_t nowUs, const sigset_t& waitMask);
    void takeFrames(const QList<RtuFramer::Frame>& frames, std::int64_t nowUs);
    void answer(const QByteArray& request, std::int64_t nowUs);
    void sendDue(std::int64_t nowUs);
    std::int64_t nextWakeUs(std::int64_t nowUs) const;
    void log(const char* what, const QByteArray& bytes = {}) const;
    void printCounters() const;

    SimLine& line;
    ControllerBus& controllers;
    FaultInjector& faults;
    const SimOptions& options;
    RtuFramer framer;
    std::multimap<std::int64_t, Piece> outgoing;
    std::int64_t quiet_until_us = 0;
    LineCounters line_counters;
};

// Microseconds of the steady clock.
std::int64_t SteadyMicroseconds();
