#include "tool_session.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

QString WriteToolConfig(const QString& folder, const QString& devicePath) {
    const QString path = QDir(folder).filePath(QStringLiteral("тп.ini"));
    QFile file(path);
    // The port dialog probes COM1 to COM16: those without a device lead into the folder too,
    // never to the machine's own ports.
    QByteArray ports =
        "[PC config]\r\nCOM=1\r\n\r\n[Ports]\r\nCOM1=" + devicePath.toUtf8() + "\r\n";
    for (int n = 2; n <= 16; ++n)
        ports +=
            QStringLiteral("COM%1=%2\r\n").arg(n).arg(QDir(folder).filePath("no-device")).toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(ports);
    return path;
}

ToolSession::ToolSession(const QString& devicePath, const QString& folder)
    : config_path(WriteToolConfig(folder, devicePath)),
      tool(LinesOfThisMachine(config_path), messages, {config_path, folder}, u',') {
    tool.parameters().setBackupFolder(folder + QStringLiteral("/backups"));
    // Connected after the tool's own slot, so it sees the tick's outcome.
    timer1 = tool.window().findChild<QTimer*>(QStringLiteral("Timer1"));
    QObject::connect(timer1, &QTimer::timeout, [this] {
        ++tick_count;
        after_tick();
    });
}

bool ToolSession::runTransfer(const std::function<void()>& act, int timeoutMs) {
    ExchangeCycle& link = tool.link();
    const int waitingBefore = link.waiting();
    act();
    if (link.waiting() <= waitingBefore)
        return false;
    // Frames leave in ring order, so the transfer is through once as many answers have come
    // as there were frames waiting, the transfer's own included.
    const long long last = link.answered() + link.waiting();
    const auto through = [&] { return link.answered() >= last; };
    QEventLoop loop;
    const QMetaObject::Connection watch = QObject::connect(timer1, &QTimer::timeout, &loop, [&] {
        if (through())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(watch);
    return through();
}

void ToolSession::runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
