#pragma once

#include "config/chosen_line.h"
#include "fake_byte_line.h"

#include <memory>
#include <set>

// The machine's COM ports as a test sets them up. Every port with a device leads to the one
// in-memory `device`, so a test feeds and reads it whichever port is open; a port held by
// another program, or without a device, does not open.
class FakePorts {
public:
    LineFactory factory() {
        return [this](const LineAddress& address) {
            return std::make_unique<Port>(*this, address.com_number);
        };
    }

    FakeByteLine device;
    // Port numbers with a device behind them, and those held by another program.
    std::set<int> available_ports{1, 2, 3, 4}, held_ports;
    // The number of the port open now; 0 while none is.
    int open_number = 0;

private:
    class Port : public ByteLine {
    public:
        Port(FakePorts& ports, int number) : ports(ports), number(number) {}
        OpenOutcome open() override {
            if (ports.device.isOpen() || ports.held_ports.count(number))
                return OpenOutcome::Held;
            if (!ports.available_ports.count(number))
                return OpenOutcome::NotAvailable;
            ports.open_number = number;
            return ports.device.open();
        }
        bool isOpen() const override {
            return ports.open_number == number && ports.device.isOpen();
        }
        void close() override {
            if (!isOpen())
                return;
            ports.open_number = 0;
            ports.device.close();
        }
        int waitingBytes() override { return isOpen() ? ports.device.waitingBytes() : 0; }
        int read(std::uint8_t* into, int most) override {
            return isOpen() ? ports.device.read(into, most) : 0;
        }
        void write(const QByteArray& frame) override { ports.device.write(frame); }
        std::int64_t writeDoneUs() const override { return ports.device.writeDoneUs(); }
        std::int64_t lastArrivalUs() const override { return ports.device.lastArrivalUs(); }
        LineState state() override { return ports.device.state(); }
        QString stateText() const override { return ports.device.stateText(); }

    private:
        FakePorts& ports;
        int number;
    };
};
