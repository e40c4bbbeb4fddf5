#include "sim_loop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <poll.h>

std::int64_t SteadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

SimLoop::SimLoop(SimLine& line, ControllerSlave& slave, EngineModel& engine, EepromImage& eeprom,
                 FaultInjector& faults, const SimOptions& options)
    : line(line), slave(slave), engine(engine), eeprom(eeprom), faults(faults), options(options) {}

void SimLoop::run(const volatile std::sig_atomic_t& stop, const sigset_t& waitMask) {
    while (!stop) {
        const std::int64_t now = SteadyMicroseconds();
        waitForLine(now, waitMask);
        if (stop)
            break;
        const std::int64_t after = SteadyMicroseconds();
        takeFrames(framer.idle(after), after);
        sendDue(after);
        engine.advance(after / 1000);
    }
}

void SimLoop::waitForLine(std::int64_t nowUs, const sigset_t& waitMask) {
    const std::int64_t waitUs = std::max<std::int64_t>(0, nextWakeUs(nowUs) - nowUs);
    const timespec timeout{static_cast<time_t>(waitUs / 1000000),
                           static_cast<long>((waitUs % 1000000) * 1000)};
    pollfd pfd{line.fd(), POLLIN, 0};
    const bool listening = nowUs >= quiet_until_us;
    const int ready = ppoll(&pfd, listening ? 1 : 0, &timeout, &waitMask);
    if (ready <= 0 || !listening)
        return;

    QByteArray bytes;
    const SimLine::ReadResult result = line.read(bytes);
    const std::int64_t arrived = SteadyMicroseconds();
    if (result == SimLine::ReadResult::NobodyThere || (pfd.revents & (POLLHUP | POLLERR))) {
        // Nobody holds the far end: keep the line and look again a little later.
        quiet_until_us = arrived + kNobodyThereBackoffUs;
    }
    if (!bytes.isEmpty())
        takeFrames(framer.push(bytes, arrived), arrived);
}

void SimLoop::takeFrames(const QList<RtuFramer::Frame>& frames, std::int64_t nowUs) {
    for (const auto& frame : frames) {
        if (!frame.crc_ok) {
            log("rx bad CRC, dropped", frame.bytes);
            continue;
        }
        log("rx", frame.bytes);
        answer(frame.bytes, nowUs);
    }
}

void SimLoop::answer(const QByteArray& request, std::int64_t nowUs) {
    const ControllerSlave::Outcome outcome = slave.handle(request, nowUs / 1000);
    if (outcome.eeprom_changed && !options.eeprom_file.isEmpty()) {
        QString error;
        if (!eeprom.save(options.eeprom_file, error))
            std::fprintf(stderr, "zarn-sim: %s\n", qPrintable(error));
    }
    if (outcome.answer.isEmpty())
        return;

    const FaultInjector::Plan plan = faults.next();
    if (plan.drop) {
        log("answer dropped", outcome.answer);
        return;
    }
    QByteArray bytes = outcome.answer;
    if (plan.corrupt) {
        bytes = FaultInjector::corrupted(bytes);
        log("answer CRC spoiled", bytes);
    }
    const std::int64_t due = nowUs + kAnswerDelayUs + options.extra_delay_ms * 1000LL;
    if (plan.split && bytes.size() > 1) {
        const qsizetype half = bytes.size() / 2;
        outgoing.emplace(due, bytes.left(half));
        outgoing.emplace(due + FaultInjector::kSplitGapMs * 1000LL, bytes.mid(half));
        log("answer split in two", bytes);
        return;
    }
    outgoing.emplace(due, bytes);
}

void SimLoop::sendDue(std::int64_t nowUs) {
    while (!outgoing.empty() && outgoing.begin()->first <= nowUs) {
        const QByteArray bytes = outgoing.begin()->second;
        outgoing.erase(outgoing.begin());
        log("tx", bytes);
        if (const int lost = line.write(bytes); lost > 0)
            log("line full, bytes lost", bytes.right(lost));
    }
}

std::int64_t SimLoop::nextWakeUs(std::int64_t nowUs) const {
    std::int64_t wake = nowUs + kMaxWaitUs;
    if (const std::int64_t silence = framer.silenceDeadline(); silence >= 0)
        wake = std::min(wake, silence);
    if (!outgoing.empty())
        wake = std::min(wake, outgoing.begin()->first);
    if (nowUs < quiet_until_us)
        wake = std::min(wake, quiet_until_us);
    return wake;
}

void SimLoop::log(const char* what, const QByteArray& bytes) const {
    if (!options.verbose)
        return;
    std::fprintf(stderr, "%s %s\n", what, bytes.toHex(' ').toUpper().constData());
    std::fflush(stderr);
}
