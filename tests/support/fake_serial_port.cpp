#include "fake_serial_port.h"

bool FakeSerialPort::setPortNumber(int n) {
    if (opened || n < 1 || n > 255)
        return false;
    number = n;
    return true;
}

OpenOutcome FakeSerialPort::open() {
    if (opened || heldPorts.count(number))
        return OpenOutcome::Held;
    if (!availablePorts.count(number))
        return OpenOutcome::NotAvailable;
    opened = true;
    return OpenOutcome::Opened;
}

void FakeSerialPort::close() {
    opened = false;
    incoming.clear();
}

std::uint8_t FakeSerialPort::readByte() {
    const std::uint8_t byte = incoming.front();
    incoming.pop_front();
    return byte;
}

void FakeSerialPort::write(const QByteArray& frame) {
    written.append(frame);
}

void FakeSerialPort::feed(const QByteArray& bytes) {
    for (char c : bytes)
        incoming.push_back(static_cast<std::uint8_t>(c));
}

QList<QByteArray> FakeSerialPort::takeWritten() {
    QList<QByteArray> frames;
    frames.swap(written);
    return frames;
}
