#include "bench_scenarios.h"
#include "poll_answer_log.h"
#include "process_usage.h"
#include "sim_process.h"
#include "tool_process.h"
#include "tool_session.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kWarmUpMs = 3000;
constexpr double kPollsPerSecond = 5.0; // every other 100 ms tick
constexpr int kPollAnswerBytes = 255;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

bool StartSimulator(SimProcess& sim, const QStringList& arguments) {
    if (sim.start(arguments))
        return true;
    std::fprintf(stderr, "bench: %s\n", qPrintable(sim.errorText()));
    return false;
}

// Per cent of a core that `cpuSeconds` (read at the start and the end) used during
// `seconds` of running the event loop; each window in turn, then the median.
QList<double> CpuShares(int seconds, int repeats, const std::function<double()>& cpuSeconds) {
    QList<double> shares;
    for (int r = 0; r < repeats; ++r) {
        const Clock::time_point from = Clock::now();
        const double cpuFrom = cpuSeconds();
        ToolSession::runFor(seconds * 1000);
        shares.append(100 * (cpuSeconds() - cpuFrom) / Seconds(Clock::now() - from));
    }
    return shares;
}

void PrintShares(const QList<double>& shares, const char* source) {
    std::printf("  CPU per wall second          ");
    for (const double share : shares)
        std::printf("%.2f %%  ", share);
    std::printf("→ median %.2f %% of a core (goal < 1 %%; %s)\n", Median(shares), source);
}
} // namespace

int PollingInProcess(int seconds, int repeats, const QString& extra) {
    const bool paramWindow = extra == "params";
    const bool monitor = extra == "monitor";
    const bool charts = extra == "charts";
    SimProcess sim;
    if (!StartSimulator(sim, {}))
        return 1;
    ToolSession rig(sim.linkPath(), QFileInfo(sim.linkPath()).path());
    QList<Clock::time_point> ticks;
    QList<Clock::time_point> polls;
    int answered = 0;
    rig.after_tick = [&] {
        const Clock::time_point now = Clock::now();
        ticks.append(now);
        const RxBuffer& rx = rig.tool.link().rx();
        if (rig.answeredFrames() != answered && rx.rx_count == kPollAnswerBytes && rx[1] == 4)
            polls.append(now);
        answered = rig.answeredFrames();
    };
    if (!rig.start())
        return 1;
    rig.setFast(extra == "fast");
    if (paramWindow && !rig.runTransfer([&rig] { rig.openParamWindow(); }, 30000))
        return 1;
    if (monitor) {
        rig.tool.window().findChild<QAction*>("mnu_traffic")->trigger();
        if (!rig.tool.traffic().startLog(sim.filePath("traffic.csv")))
            return 1;
    }
    if (charts) {
        FillHistory(rig.tool.recorder().history(), QDateTime::currentMSecsSinceEpoch(), 3000);
        rig.tool.window().findChild<QAction*>("mnu_charts")->trigger();
        ShowAllQuantities(*rig.tool.window().findChild<QWidget*>("frm_charts"));
    }
    ToolSession::runFor(kWarmUpMs);

    const qsizetype firstTick = ticks.size();
    const qsizetype firstPoll = polls.size();
    const auto simPid = static_cast<pid_t>(sim.process().processId());
    const double simFrom = CpuSeconds(simPid);
    const QList<double> shares = CpuShares(seconds, repeats, [] { return CpuSeconds(getpid()); });
    const double wall = Seconds(Clock::now() - ticks[firstTick]);
    const double simShare = 100 * (CpuSeconds(simPid) - simFrom) / wall;

    double longest = 0;
    for (qsizetype i = firstTick + 1; i < ticks.size(); ++i)
        longest = std::max(longest, Seconds(ticks[i] - ticks[i - 1]));
    const qsizetype tickCount = ticks.size() - firstTick;
    const double meanTick = Seconds(ticks.last() - ticks[firstTick]) / double(tickCount - 1);
    const qsizetype pollCount = polls.size() - firstPoll;
    const double pollRate = double(pollCount - 1) / Seconds(polls.last() - polls[firstPoll]);

    std::printf("tool in process polling zarn-sim, %d × %d s%s (%s)\n", repeats, seconds,
                paramWindow ? ", parameter window open"
                : monitor   ? ", traffic monitor open, log written"
                : charts    ? ", charts open: 10 quantities over 10 min"
                            : "",
                qPrintable(QGuiApplication::platformName()));
    PrintShares(shares, "CLOCK_PROCESS_CPUTIME_ID");
    std::printf("  poll answers per second      %.3f = %.4f of 5 (goal >= 0.98)\n", pollRate,
                pollRate / kPollsPerSecond);
    std::printf("  tick interval                mean %.2f ms, longest %.1f ms, %lld ticks\n",
                1000 * meanTick, 1000 * longest, static_cast<long long>(tickCount));
    std::printf("  simulator CPU per wall second %.2f %% of a core (for comparison)\n", simShare);
    std::printf("  resident memory              %ld KiB\n", ResidentKib(getpid()));
    return 0;
}

int PollingOfTool(const QString& toolPath, int seconds, int repeats) {
    SimProcess sim;
    if (!StartSimulator(sim, {"--verbose"}))
        return 1;
    PollAnswerLog log(sim.process());
    ToolProcess tool(toolPath, sim.linkPath());
    if (!tool.prepare() || !tool.start())
        return 1;
    const auto pid = static_cast<pid_t>(tool.pid());
    ToolSession::runFor(kWarmUpMs);

    const Clock::time_point from = Clock::now();
    const QList<double> shares = CpuShares(seconds, repeats, [pid] { return CpuSeconds(pid); });
    const double pollRate = log.ratePerSecond(from);
    if (CpuSeconds(pid) < 0) {
        std::fprintf(stderr, "bench: zarn-tool ended during the measurement\n");
        return 1;
    }

    std::printf("%s polling zarn-sim, %d × %d s (%s, own process)\n", qPrintable(toolPath), repeats,
                seconds, qPrintable(QGuiApplication::platformName()));
    PrintShares(shares, "/proc/<pid>/stat");
    std::printf("  poll answers per second      %.3f = %.4f of 5 (goal >= 0.98; zarn-sim "
                "--verbose)\n",
                pollRate, pollRate / kPollsPerSecond);
    std::printf("  resident memory              %ld KiB (main window only)\n", ResidentKib(pid));
    return 0;
}
