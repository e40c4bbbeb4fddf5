#pragma once

#include "host/link_host.h"

#include <QStringList>

// Stands in for the main window: remembers the slave address, the counter shown and every
// status text, in order.
class RecordingHost : public LinkHost {
public:
    QString text() const override { return status; }
    void setText(const QString& text) override { status_history.append(status = text); }
    void showProgress(const QString& text) override { setText(text), ++repaints; }
    int slaveAddress() const override { return address; }
    void setSlaveAddress(int a) override { address = a; }
    bool armOffChecked() const override { return arm_off; }
    void showTransactionCounter(int counter) override { shown_counter = counter; }

    QString status;
    QStringList status_history;
    int repaints = 0, address = 7, shown_counter = -1;
    bool arm_off = false;
};
