#include "bench_scenarios.h"
#include "pty_line.h"
#include "tool_process.h"
#include "tool_session.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kFrameTimeoutMs = 10000;

double MsSince(std::int64_t startNs, Clock::time_point t) {
    return static_cast<double>(t.time_since_epoch().count() - startNs) / 1e6;
}

// The moment the main window is first painted: what the user first sees.
class FirstPaint : public QObject {
public:
    std::optional<Clock::time_point> at;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !at)
            at = Clock::now();
        return false;
    }
};

// Runs the event loop until the line has seen a byte, at most timeoutMs.
std::optional<Clock::time_point> WaitForFirstByte(const PtyLine& pty, int timeoutMs) {
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (pty.firstByte())
            loop.quit();
    });
    look.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return pty.firstByte();
}

struct Spread {
    double median = 0;
    double max = 0;
};

Spread SpreadOf(QList<double> values) {
    std::sort(values.begin(), values.end());
    return {values.isEmpty() ? 0 : values[values.size() / 2], values.isEmpty() ? 0 : values.last()};
}
} // namespace

int StartupChild(std::int64_t launchedNs, std::int64_t enteredNs) {
    PtyLine pty;
    QTemporaryDir folder;
    if (!pty.isValid() || !folder.isValid())
        return 2;
    ToolSession rig(pty.slavePath(), folder.path());
    FirstPaint paint;
    rig.tool.window().installEventFilter(&paint);
    if (!rig.start())
        return 2;
    const Clock::time_point shown = Clock::now();
    const std::optional<Clock::time_point> frame = WaitForFirstByte(pty, kFrameTimeoutMs);
    if (!frame || !paint.at)
        return 2;
    std::printf("%.2f %.2f %.2f %.2f\n", (enteredNs - launchedNs) / 1e6, MsSince(launchedNs, shown),
                MsSince(launchedNs, *paint.at), MsSince(launchedNs, *frame));
    return 0;
}

int StartupSplit(const QString& self, int repeats) {
    QList<double> entered, shown, painted, frame;
    for (int r = 0; r < repeats; ++r) {
        QProcess child;
        const std::int64_t launched = Clock::now().time_since_epoch().count();
        child.start(self, {"startup-child", QString::number(launched)});
        if (!child.waitForFinished(kFrameTimeoutMs + 10000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench: the start-up child failed\n");
            return 1;
        }
        const QList<QByteArray> times = child.readAllStandardOutput().trimmed().split(' ');
        if (times.size() != 4)
            return 1;
        entered.append(times[0].toDouble());
        shown.append(times[1].toDouble());
        painted.append(times[2].toDouble());
        frame.append(times[3].toDouble() - times[2].toDouble());
    }
    const auto line = [](const char* what, const QList<double>& values) {
        const Spread s = SpreadOf(values);
        std::printf("  %-44s median %7.1f ms, max %7.1f ms\n", what, s.median, s.max);
    };
    std::printf("start-up of the tool built in process, %d launches (%s)\n", repeats,
                qPrintable(QGuiApplication::platformName()));
    line("process start → main() entered", entered);
    line("process start → window shown (show() returned)", shown);
    line("process start → window first painted", painted);
    line("window first painted → first request on the line", frame);
    return 0;
}

int StartupOfTool(const QString& toolPath, int repeats) {
    QList<double> frame;
    for (int r = 0; r < repeats; ++r) {
        PtyLine pty;
        ToolProcess tool(toolPath, pty.slavePath());
        if (!pty.isValid() || !tool.prepare())
            return 1;
        const std::int64_t launched = Clock::now().time_since_epoch().count();
        if (!tool.start())
            return 1;
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(kFrameTimeoutMs);
        while (!pty.firstByte() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!pty.firstByte()) {
            std::fprintf(stderr, "bench: zarn-tool sent nothing within %d ms\n", kFrameTimeoutMs);
            return 1;
        }
        frame.append(MsSince(launched, *pty.firstByte()));
    }
    const Spread s = SpreadOf(frame);
    std::printf("start-up of %s, %d launches (%s)\n", qPrintable(toolPath), repeats,
                qPrintable(QGuiApplication::platformName()));
    std::printf("  %-44s median %7.1f ms, max %7.1f ms\n",
                "process start → first request on the line", s.median, s.max);
    return 0;
}
