#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// The built zarn-tool as a separate process: a copy in a folder of its own (it reads its
// configuration beside itself) with a configuration that maps COM1 to a device, on the same
// display platform as this program. The destructor ends it.
class ToolProcess {
public:
    ToolProcess(const QString& toolPath, const QString& devicePath);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    // Makes the copy and its configuration; false, with the reason on stderr, when it cannot.
    bool prepare();
    // Starts the prepared copy; false, with the reason on stderr, when it does not start.
    bool start();
    qint64 pid() const { return child.processId(); }

private:
    QTemporaryDir dir;
    QString tool_path;
    QString device_path;
    QProcess child;
};
