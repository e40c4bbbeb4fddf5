#pragma once

#include "link/byte_line.h"

#include <QList>
#include <algorithm>
#include <cstring>
#include <utility>

// An in-memory line: tests feed the controller's bytes in, and read back every frame the tool
// wrote, one entry per write call.
class FakeByteLine : public ByteLine {
public:
    OpenOutcome open() override {
        if (opened)
            return OpenOutcome::Held;
        opened = true;
        return OpenOutcome::Opened;
    }
    bool isOpen() const override { return opened; }
    void close() override {
        opened = false;
        incoming.clear();
        read_at = 0;
    }
    int waitingBytes() override { return opened ? static_cast<int>(incoming.size() - read_at) : 0; }
    int read(std::uint8_t* into, int most) override {
        const int moved = std::min(most, waitingBytes());
        std::memcpy(into, incoming.constData() + read_at, static_cast<std::size_t>(moved));
        read_at += moved;
        return moved;
    }
    void write(const QByteArray& frame) override { written.append(frame); }
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override { return arrival_us; }
    LineState state() override { return line_state; }
    QString stateText() const override { return state_text; }
    void feed(const QByteArray& bytes) {
        if (read_at == incoming.size()) {
            incoming.clear();
            read_at = 0;
        }
        incoming += bytes;
    }
    QList<QByteArray> takeWritten() { return std::exchange(written, {}); }

    QList<QByteArray> written;
    // The clock of the line as a test scripts it: when the last frame left, the last bytes came.
    std::int64_t write_done_us = 0, arrival_us = 0;
    // A network line's connection as a test scripts it.
    LineState line_state = LineState::Carrying;
    QString state_text;

private:
    bool opened = false;
    // Bytes before read_at were read; a fuzz target feeds and drains millions of times, each
    // byte's bookkeeping counts.
    QByteArray incoming;
    qsizetype read_at = 0;
};
