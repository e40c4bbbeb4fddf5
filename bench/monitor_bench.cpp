#include "bench_scenarios.h"
#include "frames.h"
#include "process_usage.h"
#include "tool_session.h"
#include "traffic/traffic_monitor.h"
#include "views/traffic_window.h"

#include <QTableView>
#include <cstdio>
#include <unistd.h>

int MonitorRows() {
    TrafficMonitor monitor(Catalogue(), u',');
    TrafficWindow window(monitor);
    window.show();
    ToolSession::runFor(1000);
    const long before = ResidentKib(getpid());

    const QByteArray pollAnswer = WithCrc(Hex("07 04 FA") + QByteArray(250, '\x11'));
    const QList<std::pair<QByteArray, bool>> mix{
        {WithCrc(Hex("07 04 01 2C 00 7D")), true},
        {pollAnswer, false},
        {WithCrc(Hex("07 10 01 90 00 02 04 00 01 00 00")), true},
        {WithCrc(Hex("07 10 01 90 00 02")), false},
    };
    for (int i = 0; i < TrafficRows::kMaxRows; ++i) {
        const auto& [bytes, sent] = mix[i % mix.size()];
        monitor.take(
            {1765000000000 + 50 * i, sent, bytes, sent ? LinkOutcome::FirstSend : LinkOutcome::Ok});
    }
    ToolSession::runFor(1000);
    const long after = ResidentKib(getpid());
    std::printf("traffic monitor window, %d rows of poll, answer, transaction, answer\n",
                window.findChild<QTableView*>()->model()->rowCount());
    std::printf("  resident memory              %ld KiB empty, %ld KiB full: +%.1f MB "
                "(goal <= +15 MB)\n",
                before, after, (after - before) / 1024.0);
    return 0;
}
