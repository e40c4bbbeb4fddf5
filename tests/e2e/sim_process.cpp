#include "sim_process.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;
} // namespace

SimProcess::SimProcess() {
    child.setProcessChannelMode(QProcess::SeparateChannels);
}

SimProcess::~SimProcess() {
    if (child.state() != QProcess::NotRunning && !stop()) {
        child.kill();
        child.waitForFinished(kStopTimeoutMs);
    }
}

bool SimProcess::start(const QStringList& arguments) {
    const QString program = qEnvironmentVariable("ZARN_SIM");
    if (program.isEmpty() || !QFileInfo(program).isExecutable()) {
        error_text = "ZARN_SIM does not name the simulator: \"" + program + "\"";
        return false;
    }
    child.start(program, QStringList{"--link", linkPath()} + arguments);
    if (!child.waitForStarted(kStartTimeoutMs)) {
        error_text = child.errorString();
        return false;
    }
    QDeadlineTimer deadline(kStartTimeoutMs);
    while (!child.canReadLine() && child.state() == QProcess::Running && !deadline.hasExpired())
        child.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    if (!child.canReadLine()) {
        child.waitForFinished(100);
        error_text = "the simulator printed no path: " +
                     QString::fromLocal8Bit(child.readAllStandardError());
        return false;
    }
    printed_path = QString::fromLocal8Bit(child.readLine()).trimmed();
    return true;
}

bool SimProcess::stop() {
    if (child.state() == QProcess::NotRunning)
        return true;
    child.terminate();
    return child.waitForFinished(kStopTimeoutMs);
}
