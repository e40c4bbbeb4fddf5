#pragma once

#include "monitor/answer_dispatch.h"
#include "monitor/main_window.h"

#include <QAction>
#include <QLabel>
#include <QtTest>
#include <map>

using Registers = std::map<int, std::uint16_t>;

// A poll answer (function 4, 125 registers) with the given registers, all others 0.
inline RxBuffer PollAnswer(const Registers& registers) {
    RxBuffer rx;
    rx.rx_buffer[0] = 7;
    rx.rx_buffer[1] = 4;
    rx.rx_buffer[2] = 250;
    for (const auto& [k, value] : registers) {
        rx.rx_buffer[3 + 2 * k] = static_cast<std::uint8_t>(value >> 8);
        rx.rx_buffer[4 + 2 * k] = static_cast<std::uint8_t>(value & 0xFF);
    }
    rx.rx_count = 255;
    return rx;
}

// The colour a user sees in the middle of the label's left edge, just inside its border.
inline QColor VisibleColour(QWidget* widget) {
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(2, widget->height() / 2));
    return window->grab(QRect(at, QSize(1, 1))).toImage().pixelColor(0, 0);
}

// The main window after its start-up, fed with poll answers through the answer dispatch.
struct PollDisplay {
    MainWindow window;
    AnswerDispatch dispatch;

    explicit PollDisplay(QChar separator = QLatin1Char('.')) : dispatch(window, separator) {
        dispatch.showPoll = [this](const PollPicture& picture) { window.showPoll(picture); };
        window.fillSlaveAddresses();
        window.createSignalGrid();
        window.show();
    }
    void answer(const Registers& registers) { dispatch.DecodeAnswer(PollAnswer(registers)); }
    QLabel* label(const QString& name) const {
        auto* found = window.findChild<QLabel*>(name);
        if (!found)
            qFatal("no label %s", qPrintable(name));
        return found;
    }
    QString text(const QString& name) const { return label(name)->text(); }
    bool shown(const QString& name) const { return label(name)->isVisibleTo(&window); }
};
