#pragma once

#include "host/message_box.h"

// The message boxes the user sees: a QMessageBox over the active window, closed by a button.
// Escape and the close box answer Cancel where there is one.
class MessageBoxDialog : public MessageBoxService {
public:
    MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) override;
};
