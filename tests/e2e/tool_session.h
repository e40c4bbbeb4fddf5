#pragma once

#include "monitor/tool.h"
#include "scripted_messages.h"
#include "sim_process.h"

#include <QTemporaryDir>
#include <memory>

// The whole tool, as main() builds it, with its configuration file in a folder of its own that
// maps COM1 to a simulator's pseudo-terminal.
class ToolSession {
public:
    ToolSession();
    // Starts the simulator with `simArguments` and the tool; false with errorText() if either
    // does not come up.
    bool start(const QStringList& simArguments = {});
    QString errorText() const { return error_text; }
    // Points COM1 at another device, as plugging an adapter into another socket would.
    bool mapCom1(const QString& devicePath);

    SimProcess sim;
    QTemporaryDir folder;
    QString configPath;
    ScriptedMessages messages;
    std::unique_ptr<Tool> tool;

private:
    QString error_text;
};
