#include "bench_scenarios.h"
#include "process_usage.h"
#include "sim_process.h"
#include "tool_session.h"
#include "views/param_window/param_window.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
constexpr double kTickSeconds = 0.1;
constexpr int kTransferTimeoutMs = 30000;

struct TickMark {
    Clock::time_point at;
    long long answered; // answers the link had taken after the tick
};

struct BulkTiming {
    int frames = 0;
    double frames_seconds =
        0; // the tick that sent the first frame to the one that took the last answer
    double click_seconds = 0; // the click to the last answer
    double cpu_seconds = 0;
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::optional<BulkTiming> Time(ToolSession& rig, QList<TickMark>& marks,
                               const std::function<void()>& act) {
    const ExchangeCycle& link = rig.tool.link();
    // The transfer's first frame leaves once every frame queued before it is answered.
    const long long first = link.answered() + link.waiting();
    marks.clear();
    const Clock::time_point click = Clock::now();
    const double cpuFrom = CpuSeconds(getpid());
    if (!rig.runTransfer(act, kTransferTimeoutMs))
        return std::nullopt;
    BulkTiming timing;
    timing.cpu_seconds = CpuSeconds(getpid()) - cpuFrom;
    timing.frames = static_cast<int>(link.answered() - first);
    const long long last = link.answered();
    const auto sentFirst = std::find_if(marks.begin(), marks.end(),
                                        [&](const TickMark& m) { return m.answered == first; });
    const auto answeredLast = std::find_if(marks.begin(), marks.end(),
                                           [&](const TickMark& m) { return m.answered == last; });
    if (sentFirst == marks.end() || answeredLast == marks.end())
        return std::nullopt;
    timing.frames_seconds = Seconds(answeredLast->at - sentFirst->at);
    timing.click_seconds = Seconds(answeredLast->at - click);
    return timing;
}

void Print(const char* what, const BulkTiming& t) {
    const double ideal = t.frames * kTickSeconds;
    std::printf("  %-22s %d frames in %.3f s = %.4f of %d × 100 ms (goal <= 1.03); from the click "
                "%.4f; CPU %.2f ms per answer\n",
                what, t.frames, t.frames_seconds, t.frames_seconds / ideal, t.frames,
                t.click_seconds / ideal, 1000 * t.cpu_seconds / t.frames);
}
} // namespace

int BulkRead(int repeats, bool overTcp) {
    SimProcess sim;
    if (!(overTcp ? sim.startOnTcp() : sim.start())) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(sim.errorText()));
        return 1;
    }
    ToolSession rig(overTcp ? sim.tcpAddress() : sim.linkPath(), QFileInfo(sim.linkPath()).path());
    QList<TickMark> marks;
    rig.after_tick = [&] { marks.append({Clock::now(), rig.tool.link().answered()}); };
    if (!rig.start())
        return 1;
    ToolSession::runFor(1000);

    std::printf("read-all against zarn-sim %s, tool in process (%s)\n",
                overTcp ? "over TCP on the loopback" : "over a pty",
                qPrintable(QGuiApplication::platformName()));
    const std::optional<BulkTiming> opening = Time(rig, marks, [&rig] { rig.openParamWindow(); });
    if (!opening)
        return 1;
    Print("menu (window opens)", *opening);
    QList<double> ratios;
    for (int r = 0; r < repeats; ++r) {
        // A different moment within the tick for every click.
        ToolSession::runFor(500 + 37 * r);
        QPushButton* button = rig.paramWindow()->readAllButton();
        const std::optional<BulkTiming> timing = Time(rig, marks, [button] { button->click(); });
        if (!timing)
            return 1;
        Print("cmd_readall", *timing);
        ratios.append(timing->frames_seconds / (timing->frames * kTickSeconds));
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("  median ratio %.4f, worst %.4f\n", ratios[ratios.size() / 2], ratios.last());

    int green = 0;
    for (int i = 0; i < kParamCount; ++i) {
        const QRgb base = rig.paramWindow()->box(i)->palette().color(QPalette::Base).rgb();
        green += (base & 0xFFFFFF) == BoxStateRgb(BoxState::FromEeprom) ? 1 : 0;
    }
    std::printf("  boxes green after the reads: %d of %d\n", green, kParamCount);
    std::printf("  resident memory, both windows open: %ld KiB (peak %ld KiB; goal <= 80 MB)\n",
                ResidentKib(getpid()), PeakResidentKib(getpid()));
    return 0;
}
