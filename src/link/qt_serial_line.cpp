#include "link/qt_serial_line.h"

#include "link/line_settings_reset.h"
#include "link/steady_micros.h"
#include "link/test_device_fence.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace {
// Where serial programs (Qt among them) leave their LCK..<name> files on Linux.
const char* const kLockFolders[] = {"/var/lock",       "/run/lock",  "/var/spool/locks",
                                    "/var/spool/uucp", "/etc/locks", "/tmp",
                                    "/var/tmp"};

QString lockFileName(const QString& device) {
    QString name = device.startsWith("/dev/") ? device.mid(5) : device;
    return "LCK.." + name.replace('/', '_');
}

bool someoneHoldsLock(const QString& device) {
    const QString name = lockFileName(device);
    for (const char* folder : kLockFolders) {
        if (QFileInfo::exists(QDir(folder).filePath(name)))
            return true;
    }
    return false;
}
} // namespace

QtSerialLine::QtSerialLine(QString devicePath) : device_path(std::move(devicePath)) {
    QObject::connect(&serial, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(&serial, &QSerialPort::readyRead,
                     [this] { last_arrival_us = SteadyMicros(); });
    // Only a frame the driver could not take whole at once is stamped when Qt reports the rest
    // written; that report comes a pass of the event loop late.
    QObject::connect(&serial, &QSerialPort::bytesWritten, [this] {
        if (write_stamp_pending && serial.bytesToWrite() == 0) {
            write_stamp_pending = false;
            write_done_us = SteadyMicros();
        }
    });
}

OpenOutcome QtSerialLine::open() {
    if (lost)
        close();
    if (serial.isOpen())
        return OpenOutcome::Held;
    // The real device behind a stable link (/dev/serial/by-id/...): Qt names its lock file after
    // the path it is given, and other programs lock the device under its own name.
    const QString device = QFileInfo(device_path).canonicalFilePath();
    // Under the test suite only: a test that reaches a real device ends there, before the open.
    if (const QString refusal = TestDeviceRefusal(device_path, device); !refusal.isEmpty())
        qFatal("%s", qPrintable(refusal));
    if (device.isEmpty())
        return OpenOutcome::NotAvailable;

    serial.setPortName(device);
    serial.setBaudRate(QSerialPort::Baud115200);
    serial.setParity(QSerialPort::EvenParity);
    serial.setDataBits(QSerialPort::Data8);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        const OpenOutcome failure = failedOpen(device);
        if (failure == OpenOutcome::Held || !ResetLineSettings(device) ||
            !serial.open(QIODevice::ReadWrite))
            return failure;
    }
    // Qt 6.4 leaves whatever the device received before the open in its queue.
    serial.clear();
    return OpenOutcome::Opened;
}

OpenOutcome QtSerialLine::failedOpen(const QString& device) const {
    // Qt reports a busy device (another program's exclusive open), a live lock file and a
    // missing permission all as PermissionError; the cause is in the text, or in the lock file
    // that Qt refused to take over (it removes stale ones itself).
    if (serial.error() != QSerialPort::PermissionError ||
        serial.errorString() == qt_error_string(EACCES))
        return OpenOutcome::NotAvailable;
    if (serial.errorString() == qt_error_string(EBUSY) || someoneHoldsLock(device))
        return OpenOutcome::Held;
    return OpenOutcome::NotAvailable;
}

void QtSerialLine::close() {
    lost = false;
    if (serial.isOpen())
        serial.close();
}

int QtSerialLine::waitingBytes() {
    // Takes in what the device holds right now, so a drain also sees bytes that arrived after
    // the event loop last looked.
    if (isOpen() && serial.bytesAvailable() == 0)
        serial.waitForReadyRead(0);
    if (lost)
        close();
    return isOpen() ? static_cast<int>(serial.bytesAvailable()) : 0;
}

int QtSerialLine::read(std::uint8_t* into, int most) {
    return static_cast<int>(std::max<qint64>(serial.read(reinterpret_cast<char*>(into), most), 0));
}

void QtSerialLine::write(const QByteArray& frame) {
    if (!isOpen())
        return;
    serial.write(frame);
    // Handed to the driver and stamped now: left to the event loop, a pass kept busy (the boxes
    // of a read-all filled) would stamp the write after its answer had come, and the response
    // time would read 0.
    serial.flush();
    write_stamp_pending = serial.bytesToWrite() > 0;
    if (!write_stamp_pending)
        write_done_us = SteadyMicros();
}

void QtSerialLine::onError(QSerialPort::SerialPortError error) {
    // A pulled USB adapter reports ResourceError; a hung-up pty reads end-of-file, which Qt
    // reports as ReadError, again on every pass of the event loop. Either way the device is gone
    // for good and the user reopens a port through the port dialog. Closing right here would
    // delete the notifier that is reporting the error.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) ||
        !serial.isOpen())
        return;
    lost = true;
    QMetaObject::invokeMethod(
        &serial,
        [this] {
            if (lost)
                close();
        },
        Qt::QueuedConnection);
}
