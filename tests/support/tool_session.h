#pragma once

#include "monitor/tool.h"
#include "scripted_messages.h"

#include <QString>
#include <functional>

class ParamWindow;
class QTimer;

// Writes the tool's configuration file "тп.ini" into `folder`: port COM1, mapped to
// `devicePath`, as plugging an adapter into a socket would. Returns the file's path.
QString WriteToolConfig(const QString& folder, const QString& devicePath);

// The whole tool in this process, built as main() builds it, on the device that its
// configuration file in `folder` maps to COM1. Message boxes are answered from `messages`.
class ToolSession {
    // Declared before the tool: the configuration file must exist when the tool is made.
    QString config_path;
    int tick_count = 0;
    int answered_count = 0;
    int last_read = 0;
    QTimer* Timer1 = nullptr;

public:
    ToolSession(const QString& devicePath, const QString& folder);

    // The start-up; false when the port did not open.
    bool start() { return tool.start(); }
    // The menu entry mnu_param: the window shown and the read of all parameters queued.
    void openParamWindow();
    // Null until the window has been opened.
    ParamWindow* paramWindow();

    // Does `act` (a click) and lets the tool run until every frame that it queued has been
    // answered. False when it queued nothing or did not finish within timeoutMs.
    bool runTransfer(const std::function<void()>& act, int timeoutMs);
    // Lets the tool run for `ms` on a plain event loop, which delays no timer.
    static void runFor(int ms);

    // Ticks so far, and frames that got an answer with a correct CRC.
    int ticks() const { return tick_count; }
    int answeredFrames() const { return answered_count; }
    // Called after every tick, once the tool has done its work.
    std::function<void()> afterTick = [] {};

    ScriptedMessages messages;
    Tool tool;
};
