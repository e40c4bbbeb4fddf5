#include "tool_rig.h"

#include "config/com_port_map.h"
#include "link/qt_serial_port.h"
#include "params/param_window.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {
QString WriteConfig(const QString& folder, const QString& devicePath) {
    const QString path = QDir(folder).filePath(QStringLiteral("тп.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QStringLiteral("[PC config]\r\nCOM=1\r\n\r\n[Ports]\r\nCOM1=%1\r\n")
                       .arg(devicePath)
                       .toUtf8());
    return path;
}

std::unique_ptr<SerialPort> PortFor(const QString& configPath) {
    return std::make_unique<QtSerialPort>(
        [configPath](int n) { return DevicePathForCom(configPath, n); });
}
} // namespace

ToolRig::ToolRig(const QString& devicePath, const QString& folder)
    : config_path(WriteConfig(folder, devicePath)),
      tool(PortFor(config_path), messages, config_path, kShownSeparator) {
    // Connected after the tool's own slot, so it sees the tick's outcome.
    QTimer* timer = tool.window().findChild<QTimer*>(QStringLiteral("Timer1"));
    QObject::connect(timer, &QTimer::timeout, [this] {
        const int read = tool.link().request_queue.queue_read;
        ++tick_count;
        if (read != last_read)
            ++answered_count;
        last_read = read;
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
    // the last frame it queued. Checked far more often than it can move, so it cannot wrap.
    const int span = (ring.queue_write - from + RequestQueue::kSlots) % RequestQueue::kSlots;
    QDeadlineTimer deadline(timeoutMs);
    while ((ring.queue_read - from + RequestQueue::kSlots) % RequestQueue::kSlots < span) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}
