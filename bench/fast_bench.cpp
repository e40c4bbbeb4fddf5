#include "bench_scenarios.h"
#include "sim_process.h"
#include "tool_session.h"

#include <QFileInfo>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kTransferMs = 120000;
// 8E1: start, eight data bits, parity, stop.
constexpr double kBitsPerByte = 11;
constexpr double kBaud = 115200;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool IsParameterFrame(const QByteArray& bytes) {
    return bytes.size() > 1 && (std::uint8_t(bytes[1]) & 0x7F) >= 0x64;
}

// The parameter frames of one transfer as the link reports them: from the first frame sent to
// the last answer taken, the repeats and the answers lost on the way, and the bytes the line
// had to carry at the least (every frame once, every answer once).
struct TransferTraffic {
    std::optional<Clock::time_point> first_send;
    Clock::time_point last_answer;
    int repeats = 0, lost = 0, answers = 0;
    qint64 bytes = 0;

    double seconds() const { return first_send ? Seconds(last_answer - *first_send) : 0; }
    double lineSeconds() const { return bytes * kBitsPerByte / kBaud; }
};

// Listens to the link beside the tool's own listeners.
class TrafficWatch {
public:
    explicit TrafficWatch(ExchangeCycle& link) : link(link), tool_listener(link.on_event) {
        link.on_event = [this](const LinkEvent& event) {
            tool_listener(event);
            take(event);
        };
    }
    ~TrafficWatch() { link.on_event = tool_listener; }

    TransferTraffic traffic;

private:
    void take(const LinkEvent& event) {
        const Clock::time_point now = Clock::now();
        if (event.outcome == LinkOutcome::FirstSend && IsParameterFrame(event.bytes)) {
            traffic.first_send = traffic.first_send.value_or(now);
            traffic.bytes += event.bytes.size();
        }
        if (!traffic.first_send)
            return;
        if (event.outcome == LinkOutcome::Repeat)
            ++traffic.repeats;
        if (event.outcome == LinkOutcome::NoAnswer || event.outcome == LinkOutcome::CrcMismatch)
            ++traffic.lost;
        if (event.outcome == LinkOutcome::Ok && IsParameterFrame(event.bytes)) {
            ++traffic.answers;
            traffic.bytes += event.bytes.size();
            traffic.last_answer = now;
        }
    }

    ExchangeCycle& link;
    std::function<void(const LinkEvent&)> tool_listener;
};

// The simulator with the given line and the tool on it, its parameter window read once.
struct Bench {
    SimProcess sim;
    std::unique_ptr<ToolSession> rig;
    std::unique_ptr<TrafficWatch> watch;

    bool start(const QStringList& simArguments) {
        if (!sim.start(simArguments)) {
            std::fprintf(stderr, "bench: %s\n", qPrintable(sim.errorText()));
            return false;
        }
        rig = std::make_unique<ToolSession>(sim.linkPath(), QFileInfo(sim.linkPath()).path());
        if (!rig->start() || !rig->runTransfer([this] { rig->openParamWindow(); }, kTransferMs))
            return false;
        watch = std::make_unique<TrafficWatch>(rig->tool.link());
        return true;
    }
    // A read-all in the mode asked for.
    std::optional<TransferTraffic> readAll(bool fast) {
        rig->setFast(fast);
        watch->traffic = {};
        QPushButton* button = rig->paramWindow()->readAllButton();
        if (!rig->runTransfer([button] { button->click(); }, kTransferMs))
            return std::nullopt;
        return watch->traffic;
    }
    // A write-all with its backup read and its read-back: click to verdict, and the verdict.
    std::optional<std::pair<double, QString>> writeAll(bool fast) {
        rig->setFast(fast);
        const qsizetype shown = rig->messages.shown.size();
        const Clock::time_point click = Clock::now();
        rig->paramWindow()->writeAllButton()->click();
        if (!QTest::qWaitFor([&] { return rig->messages.shown.size() > shown; }, kTransferMs))
            return std::nullopt;
        return std::pair{Seconds(Clock::now() - click), rig->messages.shown.last().text};
    }
    QStringList boxes() const {
        QStringList texts;
        for (int i = 0; i < kParamCount; ++i)
            texts << rig->paramWindow()->text(i);
        return texts;
    }
};

int Failed(const char* what) {
    std::fprintf(stderr, "bench: %s did not finish\n", what);
    return 1;
}
} // namespace

int FastTransfers() {
    std::printf("fast exchange against tick by tick, in one run (zarn-sim over a pty)\n");
    {
        Bench bench;
        if (!bench.start({"--turnaround", "5"}))
            return 1;
        const auto normal = bench.readAll(false), fast = bench.readAll(true);
        if (!normal || !fast)
            return Failed("read-all");
        std::printf("  read-all, controller turnaround 5 ms: %d frames, tick by tick %.3f s, fast "
                    "%.3f s → %.3f (goal <= 0.25)\n",
                    fast->answers, normal->seconds(), fast->seconds(),
                    fast->seconds() / normal->seconds());
        const auto normalWrite = bench.writeAll(false), fastWrite = bench.writeAll(true);
        if (!normalWrite || !fastWrite)
            return Failed("write-all");
        std::printf("  write-all with backup read and read-back, click to verdict: tick by tick "
                    "%.2f s, fast %.2f s (goal <= 5 s); «%s»\n",
                    normalWrite->first, fastWrite->first, qPrintable(fastWrite->second));
    }
    {
        Bench bench;
        if (!bench.start({"--turnaround", "0"}))
            return 1;
        const auto fast = bench.readAll(true);
        if (!fast)
            return Failed("read-all");
        std::printf("  read-all, no turnaround: fast %.3f s; the line's own time for its %lld "
                    "bytes at 115200 baud %.3f s → %.2f of it\n",
                    fast->seconds(), fast->bytes, fast->lineSeconds(),
                    fast->seconds() / fast->lineSeconds());
    }
    {
        Bench bench;
        if (!bench.start(
                {"--turnaround", "5", "--drop", "0.3", "--corrupt", "0.1", "--seed", "11"}))
            return 1;
        const auto normal = bench.readAll(false);
        const QStringList normalBoxes = bench.boxes();
        const auto fast = bench.readAll(true);
        if (!normal || !fast)
            return Failed("read-all on the lossy line");
        const auto fastWrite = bench.writeAll(true);
        if (!fastWrite)
            return Failed("write-all on the lossy line");
        std::printf("  line dropping 30 %% and spoiling 10 %% of answers, read-all: tick by tick "
                    "%d repeats for %d lost answers (%.2f each) in %.2f s, fast %d for %d (%.2f "
                    "each) in %.2f s; boxes alike: %s; fast write-all «%s» in %.2f s\n",
                    normal->repeats, normal->lost, double(normal->repeats) / normal->lost,
                    normal->seconds(), fast->repeats, fast->lost,
                    double(fast->repeats) / fast->lost, fast->seconds(),
                    bench.boxes() == normalBoxes ? "yes" : "NO", qPrintable(fastWrite->second),
                    fastWrite->first);
    }
    return 0;
}
