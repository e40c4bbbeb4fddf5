#pragma once

#include "config/message_box.h"

#include <QList>
#include <QString>
#include <QTest>
#include <functional>

// Answers message boxes from a script and remembers every box shown. A step may change the
// world before it answers (the user frees the disk, then presses Retry). An unscripted box is
// answered with Cancel, so a test that forgot one ends instead of looping.
class ScriptedMessages : public MessageBoxService {
public:
    struct Shown {
        MessageIcon icon;
        QString title;
        QString text;
        MessageButtons buttons;
    };

    MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) override {
        shown.append({icon, title, text, buttons});
        if (script.isEmpty())
            return MessageAnswer::Cancel;
        const Step step = script.takeFirst();
        if (step.before)
            step.before();
        return step.answer;
    }

    void answer(MessageAnswer answer, std::function<void()> before = {}) {
        script.append({answer, std::move(before)});
    }

    // Fails the running test unless exactly `count` boxes were shown, all of them this one.
    void expectOnly(MessageIcon icon, MessageButtons buttons, const QString& title,
                    const QString& text, int count = 1) const {
        QCOMPARE(shown.size(), count);
        for (const Shown& box : shown) {
            QCOMPARE(box.icon, icon);
            QCOMPARE(box.buttons, buttons);
            QCOMPARE(box.title, title);
            QCOMPARE(box.text, text);
        }
    }

    QList<Shown> shown;

private:
    struct Step {
        MessageAnswer answer;
        std::function<void()> before;
    };
    QList<Step> script;
};
