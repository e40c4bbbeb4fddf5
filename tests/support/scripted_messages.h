#pragma once

#include "host/message_box.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <functional>

// Answers message boxes from a script and remembers every box shown. A step may change the
// world before it answers (the user frees the disk, then presses Retry). An unscripted box is
// answered with Cancel, so a test that forgot one ends instead of looping.
class ScriptedMessages : public MessageBoxService {
public:
    struct Shown {
        MessageIcon icon;
        QString title, text;
        MessageButtons buttons;
    };
    QList<Shown> shown;

    MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) override {
        shown.append({icon, title, text, buttons});
        if (script.isEmpty())
            return MessageAnswer::Cancel;
        const auto [answer, before] = script.takeFirst();
        before();
        return answer;
    }
    void answer(
        MessageAnswer answer, std::function<void()> before = [] {}) {
        script.append({answer, std::move(before)});
    }
    // True when exactly `count` boxes were shown, all of them this one.
    bool showedOnly(MessageIcon icon, MessageButtons buttons, const QString& title,
                    const QString& text, int count = 1) const {
        return shown.size() == count &&
               std::all_of(shown.begin(), shown.end(), [&](const Shown& box) {
                   return box.icon == icon && box.buttons == buttons && box.title == title &&
                          box.text == text;
               });
    }

private:
    QList<std::pair<MessageAnswer, std::function<void()>>> script;
};
