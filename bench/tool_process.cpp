#include "tool_process.h"

#include "tool_session.h"

#include <QFile>
#include <cstdio>

ToolProcess::ToolProcess(const QString& toolPath, const QString& devicePath)
    : tool_path(toolPath), device_path(devicePath) {}

ToolProcess::~ToolProcess() {
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(5000);
    }
}

bool ToolProcess::prepare() {
    const QString copy = dir.filePath(QStringLiteral("zarn-tool"));
    if (!QFile::copy(tool_path, copy) || !QFile::exists(WriteToolConfig(dir.path(), device_path))) {
        std::fprintf(stderr, "bench: cannot prepare a copy of %s in %s\n", qPrintable(tool_path),
                     qPrintable(dir.path()));
        return false;
    }
    return true;
}

bool ToolProcess::start() {
    const QString copy = dir.filePath(QStringLiteral("zarn-tool"));
    child.setWorkingDirectory(dir.path());
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(copy, {});
    if (!child.waitForStarted(10000)) {
        std::fprintf(stderr, "bench: %s did not start: %s\n", qPrintable(copy),
                     qPrintable(child.errorString()));
        return false;
    }
    return true;
}
