#pragma once

#include "app/tool.h"
#include "scripted_messages.h"
#include "views/param_window/param_window.h"

#include <QAction>
#include <QString>
#include <functional>

class QTimer;

// Writes "тп.ini" into `folder`, mapping the port COM1 to `devicePath` as plugging an adapter
// into a socket would, and COM2 to COM16 to nothing in `folder`. Returns the file's path.
QString WriteToolConfig(const QString& folder, const QString& devicePath);

// The whole tool in this process, built as main() builds it, on the device its configuration
// in `folder` maps to COM1; message boxes are answered from `messages`.
class ToolSession {
    QString config_path; // before the tool: the file must exist when the tool is made
    int tick_count = 0;
    QTimer* timer1 = nullptr;

public:
    ToolSession(const QString& devicePath, const QString& folder);

    bool start() { return tool.start(); } // false when the port did not open
    // mnu_param: the window shown, the read of all queued; the window is null until then.
    void openParamWindow() { tool.window().findChild<QAction*>("mnu_param")->trigger(); }
    ParamWindow* paramWindow() { return tool.window().findChild<ParamWindow*>("frm_param"); }
    // «Быстрый обмен» switched as the user switches it.
    void setFast(bool on) { tool.window().findChild<QAction*>("mnu_fast")->setChecked(on); }

    // Does `act` (a click) and runs the tool until every frame it queued is answered; false when
    // it queued nothing or did not finish within timeoutMs.
    bool runTransfer(const std::function<void()>& act, int timeoutMs);
    static void runFor(int ms); // a plain event loop, which delays no timer

    int ticks() const { return tick_count; }
    // Answers with a correct CRC that completed a frame.
    int answeredFrames() { return static_cast<int>(tool.link().answered()); }
    std::function<void()> after_tick = [] {}; // once the tool has done its tick

    ScriptedMessages messages;
    Tool tool;
};
