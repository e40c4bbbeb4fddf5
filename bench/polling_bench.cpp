#include "bench_scenarios.h"
#include "poll_answer_log.h"
#include "process_usage.h"
#include "sim_process.h"
#include "tool_process.h"
#include "tool_rig.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kWarmUpMs = 3000;
constexpr double kPollsPerSecond = 5.0; // every other 100 ms tick
constexpr int kPollAnswerBytes = 255;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool StartSimulator(SimProcess& sim, const QStringList& arguments) {
    if (sim.start(arguments))
        return true;
    std::fprintf(stderr, "bench: %s\n", qPrintable(sim.errorText()));
    return false;
}
} // namespace

int PollingInProcess(int seconds, bool paramWindow) {
    SimProcess sim;
    if (!StartSimulator(sim, {}))
        return 1;
    ToolRig rig(sim.linkPath(), QFileInfo(sim.linkPath()).path());
    QList<Clock::time_point> ticks;
    QList<Clock::time_point> polls;
    int answered = 0;
    rig.afterTick = [&] {
        const Clock::time_point now = Clock::now();
        ticks.append(now);
        const RxBuffer& rx = rig.tool.link().rx();
        if (rig.answeredFrames() != answered && rx.rx_count == kPollAnswerBytes && rx[1] == 4)
            polls.append(now);
        answered = rig.answeredFrames();
    };
    if (!rig.start())
        return 1;
    if (paramWindow && !rig.runTransfer([&rig] { rig.openParamWindow(); }, 30000))
        return 1;
    ToolRig::runFor(kWarmUpMs);

    const Clock::time_point from = Clock::now();
    const double cpuFrom = OwnCpuSeconds();
    const double simFrom = CpuSeconds(static_cast<pid_t>(sim.process().processId()));
    const qsizetype firstTick = ticks.size();
    const qsizetype firstPoll = polls.size();
    ToolRig::runFor(seconds * 1000);
    const double wall = Seconds(Clock::now() - from);
    const double cpu = OwnCpuSeconds() - cpuFrom;
    const double simCpu = CpuSeconds(static_cast<pid_t>(sim.process().processId())) - simFrom;

    double longest = 0;
    for (qsizetype i = firstTick + 1; i < ticks.size(); ++i)
        longest = std::max(longest, Seconds(ticks[i] - ticks[i - 1]));
    const qsizetype tickCount = ticks.size() - firstTick;
    const double meanTick =
        tickCount > 1 ? Seconds(ticks.last() - ticks[firstTick]) / (tickCount - 1) : 0;
    const qsizetype pollCount = polls.size() - firstPoll;
    const double pollRate =
        pollCount > 1 ? (pollCount - 1) / Seconds(polls.last() - polls[firstPoll]) : 0;

    std::printf("tool in process polling zarn-sim for %.0f s%s (offscreen)\n", wall,
                paramWindow ? ", parameter window open" : "");
    std::printf("  CPU per wall second          %.2f %% of a core (goal < 1 %%)\n",
                100 * cpu / wall);
    std::printf("  poll answers per second      %.3f, %.4f of 5 (goal >= 0.98)\n", pollRate,
                pollRate / kPollsPerSecond);
    std::printf("  tick interval                mean %.2f ms, longest %.1f ms, %lld ticks\n",
                1000 * meanTick, 1000 * longest, static_cast<long long>(tickCount));
    std::printf("  simulator CPU per wall second %.2f %% of a core (for comparison)\n",
                100 * simCpu / wall);
    std::printf("  resident memory              %ld KiB\n", ResidentKib(getpid()));
    return 0;
}

int PollingOfTool(const QString& toolPath, int seconds) {
    SimProcess sim;
    if (!StartSimulator(sim, {"--verbose"}))
        return 1;
    PollAnswerLog log(sim.process());
    ToolProcess tool(toolPath, sim.linkPath());
    if (!tool.prepare() || !tool.start())
        return 1;
    const auto pid = static_cast<pid_t>(tool.pid());
    ToolRig::runFor(kWarmUpMs);

    const Clock::time_point from = Clock::now();
    const double cpuFrom = CpuSeconds(pid);
    ToolRig::runFor(seconds * 1000);
    const double wall = Seconds(Clock::now() - from);
    const double cpu = CpuSeconds(pid) - cpuFrom;
    const double pollRate = log.ratePerSecond(from);
    if (cpuFrom < 0 || cpu < 0) {
        std::fprintf(stderr, "bench: zarn-tool ended during the measurement\n");
        return 1;
    }

    std::printf("%s polling zarn-sim for %.0f s (offscreen, own process)\n", qPrintable(toolPath),
                wall);
    std::printf(
        "  CPU per wall second          %.2f %% of a core (goal < 1 %%; /proc/<pid>/stat)\n",
        100 * cpu / wall);
    std::printf(
        "  poll answers per second      %.3f, %.4f of 5 (goal >= 0.98; zarn-sim --verbose)\n",
        pollRate, pollRate / kPollsPerSecond);
    std::printf("  resident memory              %ld KiB (main window only)\n", ResidentKib(pid));
    return 0;
}
