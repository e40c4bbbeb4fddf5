#include "app/batch_console.h"

#include "link/exchange_cycle.h"

#include <cstdio>

void BatchConsole::tell(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

void BatchConsole::result(const QString& line) {
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

void BatchConsole::setSlaveAddress(int address) {
    if (address == slave_address)
        return;
    slave_address = address;
    tell(QStringLiteral("Адрес контроллера: %1").arg(address));
}

void BatchConsole::setText(const QString& text) {
    if (text == status)
        return;
    status = text;
    heard = heard || text == link_text::kAnswerOk;
    if (!text.isEmpty() && (heard || text != link_text::kNoAnswer))
        tell(text);
}

MessageAnswer BatchConsole::ask(MessageIcon /*icon*/, const QString& title, const QString& text,
                                MessageButtons buttons) {
    tell(title + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), " "));
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::RetryCancel:
        break;
    }
    return MessageAnswer::Cancel;
}
