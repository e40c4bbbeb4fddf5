#pragma once

#include "link/byte_line.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

// The tool's line on a Windows communications port ("\\.\COM3", so that numbers above 9 work),
// through the Win32 API at 115200 baud 8E1 without flow control. A reader thread waits on the
// port, so that each arrival is stamped when it happens and not at the next tick; the exchange
// takes the bytes from the timer as on every other line.
class WinComLine : public ByteLine {
public:
    explicit WinComLine(QString devicePath);
    ~WinComLine() override;
    WinComLine(const WinComLine&) = delete;
    WinComLine& operator=(const WinComLine&) = delete;

    OpenOutcome open() override;
    bool isOpen() const override { return port != nullptr && !lost; }
    void close() override;
    int waitingBytes() override;
    int read(std::uint8_t* into, int most) override;
    void write(const QByteArray& frame) override;
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override;

private:
    bool setUpPort();
    void readUntilStopped();
    bool takeWhatWaits(std::int64_t wokeUs);

    QString device_path;
    void* port = nullptr;        // the port's handle; null while closed
    void* stop_reader = nullptr; // event that ends the reader thread
    std::thread reader;
    // Set by either thread when the port failed (the adapter was pulled); the port is closed
    // at the next look from the timer.
    std::atomic<bool> lost = false;

    mutable std::mutex arrivals_guard;
    QByteArray arrivals;         // from the reader, not yet taken by the timer
    std::int64_t arrival_us = 0; // when the last of them came

    QByteArray received; // taken, with `read_at` the next byte to hand out
    int read_at = 0;
    std::int64_t write_done_us = 0;
};
