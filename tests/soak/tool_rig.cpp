#include "tool_rig.h"

#include "config/com_port_map.h"
#include "link/qt_serial_port.h"
#include "params/param_window.h"
#include "tool_config.h"

#include <QAction>
#include <QEventLoop>
#include <QTimer>

namespace {
std::unique_ptr<SerialPort> PortFor(const QString& configPath) {
    return std::make_unique<QtSerialPort>(
        [configPath](int n) { return DevicePathForCom(configPath, n); });
}
} // namespace

ToolRig::ToolRig(const QString& devicePath, const QString& folder)
    : config_path(WriteToolConfig(folder, devicePath)),
      tool(PortFor(config_path), messages, config_path, kShownSeparator) {
    // Connected after the tool's own slot, so it sees the tick's outcome.
    Timer1 = tool.window().findChild<QTimer*>(QStringLiteral("Timer1"));
    QObject::connect(Timer1, &QTimer::timeout, [this] {
        const int read = tool.link().request_queue.queue_read;
        ++tick_count;
        if (read != last_read)
            ++answered_count;
        last_read = read;
        afterTick();
    });
}

bool ToolRig::start() {
    return tool.start();
}

void ToolRig::openParamWindow() {
    tool.window().findChild<QAction*>(QStringLiteral("mnu_param"))->trigger();
}

ParamWindow* ToolRig::paramWindow() {
    return tool.window().findChild<ParamWindow*>(QStringLiteral("frm_param"));
}

bool ToolRig::runTransfer(const std::function<void()>& act, int timeoutMs) {
    const RequestQueue& ring = tool.link().request_queue;
    const int from = ring.queue_read;
    const int waitingBefore = ring.waiting();
    act();
    if (ring.waiting() <= waitingBefore)
        return false;
    // Frames leave in ring order, so the transfer is through once the read position has passed
    // the last frame it queued. Looked at after every tick, so it cannot wrap unseen.
    const int span = (ring.queue_write - from + RequestQueue::kSlots) % RequestQueue::kSlots;
    const auto through = [&] {
        return (ring.queue_read - from + RequestQueue::kSlots) % RequestQueue::kSlots >= span;
    };
    QEventLoop loop;
    const QMetaObject::Connection watch = QObject::connect(Timer1, &QTimer::timeout, &loop, [&] {
        if (through())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(watch);
    return through();
}

void ToolRig::runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
