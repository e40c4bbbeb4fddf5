#pragma once

#include "link/serial_port.h"

#include <QSerialPort>
#include <QString>
#include <functional>

// The tool's line on a real serial device (or a pseudo-terminal standing in for one).
// COM numbers are turned into device paths by the function given at construction, so the
// mapping stays with the configuration and tests can point a number at a pty.
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(std::function<QString(int comNumber)> devicePathForCom);

    bool setPortNumber(int n) override;
    int portNumber() const override { return number; }
    OpenOutcome open() override;
    bool isOpen() const override { return serial.isOpen() && !lost; }
    void close() override;
    int waitingBytes() override;
    std::uint8_t readByte() override;
    void write(const QByteArray& frame) override;
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override { return last_arrival_us; }

    // The line settings as given to the device (115200 baud, 8E1, no flow control): on a
    // pseudo-terminal, the only place they can be seen.
    const QSerialPort& line() const { return serial; }

private:
    OpenOutcome failedOpen(const QString& device) const;
    void onError(QSerialPort::SerialPortError error);

    std::function<QString(int)> device_path_for_com;
    QSerialPort serial;
    int number = 1;
    // Set when the device vanished; the port is closed outside Qt's notifier callback.
    bool lost = false;
    std::int64_t write_done_us = 0;
    bool write_stamp_pending = false;
    std::int64_t last_arrival_us = 0;
};
