#pragma once

#include "host/link_host.h"

#include <QStringList>

// Stands in for the main window: remembers the slave address, the counter shown and every
// status text, in order.
class RecordingHost : public LinkHost {
public:
    QString text() const override { return status; }
    void setText(const QString& text) override { statusHistory.append(status = text); }
    void showProgress(const QString& text) override { setText(text), ++repaints; }
    int slaveAddress() const override { return address; }
    void setSlaveAddress(int a) override { address = a; }
    bool armOffChecked() const override { return armOff; }
    void showTransactionCounter(int counter) override { shownCounter = counter; }

    QString status;
    QStringList statusHistory;
    int repaints = 0, address = 7, shownCounter = -1;
    bool armOff = false;
};
