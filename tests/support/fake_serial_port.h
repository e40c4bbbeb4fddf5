#pragma once

#include "link/serial_port.h"

#include <QByteArray>
#include <QList>
#include <deque>
#include <set>

// An in-memory line: tests feed the controller's bytes in, and read back every frame the tool
// wrote, one entry per write call.
class FakeSerialPort : public SerialPort {
public:
    bool setPortNumber(int n) override;
    int portNumber() const override { return number; }
    OpenOutcome open() override;
    bool isOpen() const override { return opened; }
    void close() override;
    int waitingBytes() override { return opened ? static_cast<int>(incoming.size()) : 0; }
    std::uint8_t readByte() override;
    void write(const QByteArray& frame) override;

    // Bytes the controller "sent"; they wait until the next drain.
    void feed(const QByteArray& bytes);
    // Frames written so far; takeWritten() empties the record.
    QList<QByteArray> written;
    QList<QByteArray> takeWritten();

    // Port numbers with a device behind them, and those held by another program.
    std::set<int> availablePorts{1, 2, 3, 4};
    std::set<int> heldPorts;

private:
    int number = 1;
    bool opened = false;
    std::deque<std::uint8_t> incoming;
};
