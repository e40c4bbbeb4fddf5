#pragma once

#include "controller_slave.h"
#include "fault_injector.h"
#include "rtu_framer.h"
#include "sim_line.h"
#include "sim_options.h"

#include <QByteArray>
#include <csignal>
#include <cstdint>
#include <map>

// The simulator's single-threaded main loop: waits on the line with a time-out (never spins,
// also while nobody holds the far end), cuts requests out of the byte stream, answers them a
// few milliseconds after they end, and sends answers (or parts of them) when they fall due.
class SimLoop {
public:
    static constexpr std::int64_t kAnswerDelayUs = 3000;
    static constexpr std::int64_t kMaxWaitUs = 100000;
    static constexpr std::int64_t kNobodyThereBackoffUs = 50000;

    SimLoop(SimLine& line, ControllerSlave& slave, EngineModel& engine, EepromImage& eeprom,
            FaultInjector& faults, const SimOptions& options);

    // Runs until `stop` becomes non-zero; signals are let through only while waiting, using
    // `waitMask` as the signal mask then.
    void run(const volatile std::sig_atomic_t& stop, const sigset_t& waitMask);

private:
    void waitForLine(std::int64_t nowUs, const sigset_t& waitMask);
    void takeFrames(const QList<RtuFramer::Frame>& frames, std::int64_t nowUs);
    void answer(const QByteArray& request, std::int64_t nowUs);
    void sendDue(std::int64_t nowUs);
    std::int64_t nextWakeUs(std::int64_t nowUs) const;
    void log(const char* what, const QByteArray& bytes = {}) const;

    SimLine& line;
    ControllerSlave& slave;
    EngineModel& engine;
    EepromImage& eeprom;
    FaultInjector& faults;
    const SimOptions& options;
    RtuFramer framer;
    std::multimap<std::int64_t, QByteArray> outgoing;
    std::int64_t quiet_until_us = 0;
};

// Microseconds of the steady clock.
std::int64_t SteadyMicroseconds();
