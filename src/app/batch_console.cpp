#include "app/batch_console.h"

#include "link/exchange_cycle.h"

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

BatchConsole::BatchConsole(int slaveAddress)
    : slave_address(slaveAddress), terminal(isatty(fileno(stderr)) != 0) {}

void BatchConsole::tell(const QString& line) {
    showTransfer({});
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

void BatchConsole::showTransfer(const QString& text) {
    if (!terminal || text == transfer_shown)
        return;
    // Blanks over the longer text shown before, the cursor left at the line's start for what
    // follows; no terminal escape codes, so any console shows it alike.
    const QString line = text.leftJustified(static_cast<int>(transfer_shown.size()));
    std::fprintf(stderr, "\r%s\r", qPrintable(line));
    std::fflush(stderr);
    transfer_shown = text;
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
