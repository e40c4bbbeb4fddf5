// The memory of a long session, fast-forwarded: the whole tool in this process with only its
// main window open, polling the simulator's controller through a line that answers at once, its
// exchange tick driven directly instead of every 100 ms: an hour of polling takes seconds.
#include "bench_scenarios.h"
#include "controller_slave.h"
#include "eeprom_defaults.h"
#include "link/byte_line.h"
#include "process_usage.h"
#include "tool_session.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <malloc.h>
#include <unistd.h>

namespace {
constexpr int kAddress = 7;
constexpr int kTickMs = 100;
constexpr int kTicksPerMinute = 60'000 / kTickMs;

// COM1 with the simulator's controller behind it; each request is answered before the next
// tick, on a clock that the benchmark moves on.
class SimulatedLine : public ByteLine {
public:
    explicit SimulatedLine(const std::int64_t& nowMs)
        : now_ms(nowMs), engine(nowMs, 604), slave(kAddress, 0, eeprom, engine) {
        StorePlausibleParameters(eeprom, kAddress, 0);
    }
    OpenOutcome open() override { return opened = true, OpenOutcome::Opened; }
    bool isOpen() const override { return opened; }
    void close() override { opened = false, incoming.clear(); }
    int waitingBytes() override { return opened ? static_cast<int>(incoming.size()) : 0; }
    int read(std::uint8_t* into, int most) override {
        const int moved = std::min(most, waitingBytes());
        std::copy_n(incoming.begin(), moved, into);
        incoming.erase(incoming.begin(), incoming.begin() + moved);
        return moved;
    }
    void write(const QByteArray& frame) override {
        engine.advance(now_ms);
        const QByteArray answer = slave.handle(frame, now_ms).answer;
        incoming.insert(incoming.end(), answer.begin(), answer.end());
    }

private:
    const std::int64_t& now_ms;
    EepromImage eeprom;
    EngineModel engine;
    ControllerSlave slave;
    std::deque<char> incoming;
    bool opened = false;
};

// Bytes the program holds on its heap now, and the bytes the heap has taken from the system
// (what `malloc_stats` calls system bytes, free room between held blocks included).
std::int64_t HeapBytes() {
    return static_cast<std::int64_t>(mallinfo2().uordblks);
}
std::int64_t HeapReservedBytes() {
    return static_cast<std::int64_t>(mallinfo2().arena);
}
} // namespace

int MemoryOverAnHour(int warmUpMinutes, int minutes) {
    QTemporaryDir folder;
    std::int64_t now_ms = 0;
    const QString config = WriteToolConfig(folder.path(), folder.filePath("ttyZARN"));
    ScriptedMessages messages;
    Tool tool([&now_ms](const LineAddress&) { return std::make_unique<SimulatedLine>(now_ms); },
              messages, {config, folder.path()}, u',');
    if (!tool.start())
        return 1;
    auto* timer1 = tool.window().findChild<QTimer*>(QStringLiteral("Timer1"));
    timer1->stop();
    const auto run = [&](int ticks) {
        for (int t = 0; t < ticks; ++t) {
            now_ms += kTickMs;
            QMetaObject::invokeMethod(timer1, "timeout");
            // What the event loop would do between ticks: repaints, deferred deletes, the
            // files' timers.
            if (t % 5 == 0)
                QApplication::processEvents();
        }
    };
    const EngineHistory& history = tool.recorder().history();
    const auto historyBytes = [&] {
        return static_cast<std::int64_t>(history.size()) * std::int64_t(sizeof(EngineSample));
    };

    // Free pages go back to the system first, so that the resident figures count what is held.
    const auto residentKib = [] { return malloc_trim(0), ResidentKib(getpid()); };
    run(warmUpMinutes * kTicksPerMinute);
    // The heap reserved is read after the trim, which gives back its free top.
    const long residentFrom = residentKib();
    const std::int64_t heapFrom = HeapBytes(), reservedFrom = HeapReservedBytes(),
                       historyFrom = historyBytes();
    const std::int64_t journalFrom = tool.recorder().journal().added();
    run(minutes * kTicksPerMinute);
    const long residentTo = residentKib();
    const double heap = double(HeapBytes() - heapFrom) / minutes / 1024;
    const double reserved = double(HeapReservedBytes() - reservedFrom) / minutes / 1024;
    const double samples = double(historyBytes() - historyFrom) / minutes / 1024;
    const double resident = double(residentTo - residentFrom) / minutes;

    std::printf("the tool in process polling the simulator's controller, main window only, %d "
                "minutes fast-forwarded after %d of warm-up (%lld answers)\n",
                minutes, warmUpMinutes, static_cast<long long>(tool.link().answered()));
    std::printf("  heap in use, growth a minute     %.1f KiB (mallinfo2 uordblks)\n", heap);
    std::printf("  heap reserved, growth a minute   %.1f KiB (mallinfo2 arena)\n", reserved);
    std::printf("  resident memory, growth a minute %.1f KiB (%ld KiB at the end)\n", resident,
                residentTo);
    std::printf("  the history's samples            %.1f KiB a minute (%d samples of %zu bytes; at "
                "most %d, 24 h)\n",
                samples, history.size(), sizeof(EngineSample), EngineHistory::kMaxSamples);
    std::printf("  resident beyond the samples      %.1f KiB a minute\n", resident - samples);
    std::printf("  journal entries added            %lld\n",
                static_cast<long long>(tool.recorder().journal().added() - journalFrom));
    return 0;
}
