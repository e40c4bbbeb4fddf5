#pragma once

#include "config/message_box.h"

#include <QList>
#include <QString>
#include <functional>

struct AskedBox {
    MessageIcon icon;
    QString title;
    QString text;
    MessageButtons buttons;
};

// Answers message boxes from a script (Cancel once the script runs out) and remembers every
// box asked. onAsk runs before the answer is given, as the user might change a file meanwhile.
class ScriptedBoxes : public MessageBoxService {
public:
    MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) override {
        asked.append({icon, title, text, buttons});
        if (onAsk)
            onAsk();
        return answers.isEmpty() ? MessageAnswer::Cancel : answers.takeFirst();
    }

    QList<MessageAnswer> answers;
    QList<AskedBox> asked;
    std::function<void()> onAsk;
};
