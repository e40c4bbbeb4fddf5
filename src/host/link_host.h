#pragma once

#include "host/status_line.h"

// What the link needs from the window that hosts it: the slave-address choice, the hidden
// "Откл. защит" box, the transaction counter display and the status line.
class LinkHost : public StatusLine {
public:
    // The chosen slave address (0..127). The address list holds every address in order, so
    // the entry and the address are one number.
    virtual int slaveAddress() const = 0;
    virtual void setSlaveAddress(int address) = 0;
    virtual bool armOffChecked() const = 0;
    virtual void showTransactionCounter(int counter) = 0;
};
