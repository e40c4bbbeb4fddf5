#pragma once

#include "link/serial_port.h"

#include <QList>
#include <deque>
#include <set>

// An in-memory line: tests feed the controller's bytes in, and read back every frame the tool
// wrote, one entry per write call.
class FakeSerialPort : public SerialPort {
public:
    bool setPortNumber(int n) override {
        if (opened || n < 1 || n > 255)
            return false;
        number = n;
        return true;
    }
    int portNumber() const override { return number; }
    OpenOutcome open() override {
        if (opened || held_ports.count(number))
            return OpenOutcome::Held;
        if (!available_ports.count(number))
            return OpenOutcome::NotAvailable;
        opened = true;
        return OpenOutcome::Opened;
    }
    bool isOpen() const override { return opened; }
    void close() override {
        opened = false;
        incoming.clear();
    }
    int waitingBytes() override { return opened ? static_cast<int>(incoming.size()) : 0; }
    std::uint8_t readByte() override {
        const std::uint8_t byte = incoming.front();
        return incoming.pop_front(), byte;
    }
    void write(const QByteArray& frame) override { written.append(frame); }
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override { return arrival_us; }
    void feed(const QByteArray& bytes) {
        incoming.insert(incoming.end(), bytes.begin(), bytes.end());
    }
    QList<QByteArray> takeWritten() { return std::exchange(written, {}); }

    QList<QByteArray> written;
    // The clock of the line as a test scripts it: when the last frame left, the last bytes came.
    std::int64_t write_done_us = 0, arrival_us = 0;
    // Port numbers with a device behind them, and those held by another program.
    std::set<int> available_ports{1, 2, 3, 4}, held_ports;

private:
    int number = 1;
    bool opened = false;
    std::deque<std::uint8_t> incoming;
};
