// bench_tool: the measurements of the running tool (make bench runs them through
// scripts/bench.sh). ZARN_SIM names the simulator for the scenarios that need one.
//   bench_tool startup REPEATS            process start → window → first frame, in process
//   bench_tool startup-of TOOL REPEATS    process start → first frame, the built zarn-tool
//   bench_tool polling SECONDS REPEATS [params|monitor|charts|fast]  CPU and poll rate, in process
//                                   (params: the parameter window open; monitor: the traffic
//                                   monitor open and its log written; charts: the chart
//                                   window following 10 quantities over 10 minutes; fast: the
//                                   fast exchange on)
//   bench_tool monitor-rows               memory of the traffic monitor with 10,000 rows
//   bench_tool charts-day [REPEATS]       redraw of a 24-hour history, memory of its samples
//   bench_tool recording-day [REPEATS]    a day's recording file read back: read, window, redraw,
//                                         memory
//   bench_tool polling-of TOOL SECONDS REPEATS   CPU, poll rate, memory of the built zarn-tool
//   bench_tool bulk REPEATS [tcp]         read-all timing, CPU per answer, memory (tcp: through
//                                         the simulator serving TCP, as a serial device server)
//   bench_tool fast                       read-all and checked write-all, fast exchange against
//                                         tick by tick; repeats per lost answer on a lossy line
//   bench_tool memory-hour [MINUTES [WARM-UP]]  heap growth over an hour (or MINUTES) of
//                                         polling after ten minutes (or WARM-UP) of warm-up,
//                                         fast-forwarded
#include "bench_scenarios.h"

#include <QApplication>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    // Taken before anything else, for the start-up figures of a launched child.
    const std::int64_t enteredNs = std::chrono::steady_clock::now().time_since_epoch().count();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString scenario = args.value(1);
    const auto number = [&](int i) { return args.value(i).toInt(); };
    if (scenario == "startup-child" && args.size() > 2)
        return StartupChild(args[2].toLongLong(), enteredNs);
    if (scenario == "startup" && args.size() > 2)
        return StartupSplit(app.applicationFilePath(), number(2));
    if (scenario == "startup-of" && args.size() > 3)
        return StartupOfTool(args[2], number(3));
    if (scenario == "polling" && args.size() > 3)
        return PollingInProcess(number(2), number(3), args.value(4));
    if (scenario == "polling-of" && args.size() > 4)
        return PollingOfTool(args[2], number(3), number(4));
    if (scenario == "charts-day")
        return ChartsDay(number(2) > 0 ? number(2) : 20);
    if (scenario == "recording-day")
        return RecordingDay(number(2) > 0 ? number(2) : 5);
    if (scenario == "monitor-rows")
        return MonitorRows();
    if (scenario == "memory-hour")
        return MemoryOverAnHour(number(3) > 0 ? number(3) : 10, number(2) > 0 ? number(2) : 60);
    if (scenario == "fast")
        return FastTransfers();
    if (scenario == "bulk" && args.size() > 2)
        return BulkRead(number(2), args.value(3) == "tcp");
    std::fprintf(stderr, "usage: see the comment at the top of bench/bench_tool.cpp\n");
    return 2;
}
