#pragma once

#include <QString>

// The main window's status line. The exchange cycle rewrites it every tick; long operations
// (configuration and parameter files) write progress into it and repaint it at once because
// they do not return to the event loop until they are done.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    // setText followed by an immediate repaint.
    virtual void showProgress(const QString& text) = 0;
};
