#include "sim_process.h"

namespace {
constexpr int kTimeoutMs = 10000;
}

SimProcess::~SimProcess() {
    child.terminate();
    if (!child.waitForFinished(kTimeoutMs)) {
        child.kill();
        child.waitForFinished(kTimeoutMs);
    }
}

bool SimProcess::start(const QStringList& arguments) {
    return launch(QStringList{"--link", linkPath()} + arguments);
}

bool SimProcess::startOnTcp(const QString& where, const QStringList& arguments) {
    return launch(QStringList{"--tcp", where} + arguments);
}

bool SimProcess::launch(const QStringList& arguments) {
    child.start(qEnvironmentVariable("ZARN_SIM"), arguments);
    while (!child.canReadLine() && child.waitForReadyRead(kTimeoutMs)) {
    }
    if (!child.canReadLine()) {
        child.waitForFinished(kTimeoutMs);
        error_text = child.errorString() + ": " + child.readAllStandardError();
        return false;
    }
    printed_path = QString::fromLocal8Bit(child.readLine()).trimmed();
    return true;
}
