#pragma once

#include <QString>

// Every message box of the tool goes through this service, so tests script the answers
// (Retry, Cancel, OK) without a modal loop. Production shows a QMessageBox.
enum class MessageIcon { Critical, Question, Warning, Information };
enum class MessageButtons { Ok, OkCancel, RetryCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Retry, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                              MessageButtons buttons) = 0;
};
