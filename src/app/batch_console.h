#pragma once

#include "host/link_host.h"
#include "host/message_box.h"

#include <QString>

// The batch mode's terminal, standing in for the windows: the link's host and every message box
// report on standard error, the results go to standard output. Nobody is there to answer a
// question, so each is answered the way that changes nothing (No, Cancel).
class BatchConsole : public LinkHost, public MessageBoxService {
public:
    explicit BatchConsole(int slaveAddress);

    // A line of progress, on standard error.
    void tell(const QString& line);
    // How far a transfer is, redrawn in place on standard error while that is a terminal, and
    // wiped before the next line; empty wipes it. A log file or a pipe gets none of it: a script
    // reads lines, and a line per answer would bury the ones that matter.
    void showTransfer(const QString& text);
    // A line of the result, on standard output.
    void result(const QString& line);

    int slaveAddress() const override { return slave_address; }
    // Said when it changes: the controller's own address was written.
    void setSlaveAddress(int address) override;
    bool armOffChecked() const override { return false; }
    void showTransactionCounter(int /*counter*/) override {}

    QString text() const override { return status; }
    // Said only when it changes, since the link rewrites it on every tick; "no answer" only once
    // the controller has answered, since the first tick judges a frame never sent and a line
    // that stays silent is told once, when the batch gives up.
    void setText(const QString& text) override;
    void showProgress(const QString& text) override { setText(text); }

    MessageAnswer ask(MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) override;

private:
    int slave_address;
    QString status;
    bool heard = false;
    bool terminal = false;
    QString transfer_shown;
};
