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

SimLoop::SimLoop(SimLine& line, ControllerBus& controllers, FaultInjector& faults,
                 const SimOptions& options)
    : line(line), controllers(controllers), faults(faults), options(options) {}

QByteArray LineCounters::line() const {
    return QStringLiteral("zarn-sim counters: received=%1 sent=%2 dropped=%3 corrupted=%4 split=%5")
        .arg(received)
        .arg(sent)
        .arg(dropped)
        .arg(corrupted)
        .arg(split)
        .toLatin1();
}

void SimLoop::run(const volatile std::sig_atomic_t& stop, volatile std::sig_atomic_t& report,
                  const sigset_t& waitMask) {
    while (!stop) {
        const QByteArray bytes = waitForLine(SteadyMicroseconds(), waitMask);
        // The signals are held back again here, so clearing the request cannot lose another.
        if (report) {
            report = 0;
            printCounters();
        }
        if (stop)
            break;
        step(bytes, SteadyMicroseconds());
    }
    printCounters();
}

void SimLoop::step(const QByteArray& bytes, std::int64_t nowUs) {
    takeFrames(framer.push(bytes, nowUs), nowUs);
    sendDue(nowUs);
    controllers.advance(nowUs / 1000);
}

QByteArray SimLoop::waitForLine(std::int64_t nowUs, const sigset_t& waitMask) {
    const std::int64_t waitUs = std::max<std::int64_t>(0, nextWakeUs(nowUs) - nowUs);
    const timespec timeout{static_cast<time_t>(waitUs / 1000000),
                           static_cast<long>((waitUs % 1000000) * 1000)};
    pollfd pfd{line.fd(), POLLIN, 0};
    const bool listening = nowUs >= quiet_until_us;
    const int ready = ppoll(&pfd, listening ? 1 : 0, &timeout, &waitMask);
    QByteArray bytes;
    if (ready <= 0 || !listening)
        return bytes;

    const SimLine::ReadResult result = line.read(bytes);
    if (result == SimLine::ReadResult::NobodyThere || (pfd.revents & (POLLHUP | POLLERR))) {
        // Nobody holds the far end: keep the line and look again a little later.
        quiet_until_us = SteadyMicroseconds() + kNobodyThereBackoffUs;
    }
    return bytes;
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
    const QByteArray answer = controllers.handle(request, nowUs / 1000);
    // A controller answers every request for its address, if only with an exception: no
    // answer means the request was for no controller here, or a broadcast.
    if (answer.isEmpty())
        return;
    ++line_counters.received;

    const FaultInjector::Plan plan = faults.next();
    if (plan.drop) {
        ++line_counters.dropped;
        log("answer dropped", answer);
        return;
    }
    QByteArray bytes = answer;
    if (plan.corrupt) {
        ++line_counters.corrupted;
        bytes = FaultInjector::corrupted(bytes);
        log("answer CRC spoiled", bytes);
    }
    const std::int64_t due = nowUs + options.turnaround_ms * 1000LL;
    if (plan.split && bytes.size() > 1) {
        ++line_counters.split;
        const qsizetype half = bytes.size() / 2;
        outgoing.emplace(due, Piece{bytes.left(half), false});
        outgoing.emplace(due + FaultInjector::kSplitGapMs * 1000LL, Piece{bytes.mid(half), true});
        log("answer split in two", bytes);
        return;
    }
    outgoing.emplace(due, Piece{bytes, true});
}

void SimLoop::sendDue(std::int64_t nowUs) {
    while (!outgoing.empty() && outgoing.begin()->first <= nowUs) {
        const Piece piece = outgoing.begin()->second;
        outgoing.erase(outgoing.begin());
        log("tx", piece.bytes);
        if (const int lost = line.write(piece.bytes); lost > 0)
            log("line full, bytes lost", piece.bytes.right(lost));
        // Counted even when the line took only part of it: the simulator did answer, and a full
        // line means nobody was reading the answer anyway.
        if (piece.ends_answer)
            ++line_counters.sent;
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

void SimLoop::printCounters() const {
    std::printf("%s\n", line_counters.line().constData());
    std::fflush(stdout);
}

void SimLoop::log(const char* what, const QByteArray& bytes) const {
    if (!options.verbose)
        return;
    std::fprintf(stderr, "%s %s\n", what, bytes.toHex(' ').toUpper().constData());
    std::fflush(stderr);
}
