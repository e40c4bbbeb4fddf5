#pragma once

#include "link/byte_line.h"

#include <QSerialPort>
#include <QString>

// The tool's line on a serial device (or a pseudo-terminal standing in for one), at the path
// given at construction; which device a user's choice leads to is the configuration's business.
class QtSerialLine : public ByteLine {
public:
    explicit QtSerialLine(QString devicePath);

    OpenOutcome open() override;
    bool isOpen() const override { return serial.isOpen() && !lost; }
    void close() override;
    int waitingBytes() override;
    int read(std::uint8_t* into, int most) override;
    void write(const QByteArray& frame) override;
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override { return last_arrival_us; }

    // The line settings as given to the device (115200 baud, 8E1, no flow control): on a
    // pseudo-terminal, the only place they can be seen.
    const QSerialPort& line() const { return serial; }

private:
    OpenOutcome failedOpen(const QString& device) const;
    void onError(QSerialPort::SerialPortError error);

    QString device_path;
    QSerialPort serial;
    // Set when the device vanished; the port is closed outside Qt's notifier callback.
    bool lost = false;
    std::int64_t write_done_us = 0;
    bool write_stamp_pending = false;
    std::int64_t last_arrival_us = 0;
};
