#pragma once

#include "link/byte_line.h"
#include "link/steady_micros.h"

#include <QByteArray>
#include <QString>
#include <QTcpSocket>
#include <cstdint>
#include <functional>

// The tool's line through a serial device server: the RTU frames, CRC included, in a TCP
// stream to host:port. Opening starts the connection and returns at once; state() tells how it
// goes. A first attempt that has not connected within 2 s is given up; a failed or lost
// connection is tried again in the background, an attempt at most once a second, for as long as
// the line is open. The tool only ever connects: it never listens.
class TcpLine : public ByteLine {
public:
    static constexpr std::int64_t kConnectTimeoutUs = 2'000'000;
    static constexpr std::int64_t kRetryPauseUs = 1'000'000;
    // What is kept of the bytes received between two looks: an answer is at most 256 bytes, and
    // a peer that sends more is read and the rest dropped, so a flood costs no memory.
    static constexpr int kKeptBytes = 1024;

    // `clock`: steady microseconds, by which the time-out and the pause between attempts run.
    TcpLine(QString host, quint16 port, std::function<std::int64_t()> clock = SteadyMicros);

    OpenOutcome open() override;
    bool isOpen() const override { return opened; }
    void close() override;
    int waitingBytes() override;
    int read(std::uint8_t* into, int most) override;
    void write(const QByteArray& frame) override;
    std::int64_t writeDoneUs() const override { return write_done_us; }
    std::int64_t lastArrivalUs() const override { return last_arrival_us; }
    LineState state() override;
    QString stateText() const override;

private:
    enum class Failure { None, HostNotFound, Refused, TimedOut, Lost, NoNetwork, Other };

    void connectNow();
    void onConnected();
    void onError(QAbstractSocket::SocketError error);
    void fail(Failure why);
    void takeArrivals();
    QString where() const;

    QString host;
    quint16 port;
    std::function<std::int64_t()> now_us;
    bool opened = false;
    bool attempting = false;
    std::int64_t attempt_us = 0; // when the last attempt began
    LineState line_state = LineState::Connecting;
    Failure failure = Failure::None;
    QByteArray received; // with `read_at` the next byte to hand out
    int read_at = 0;
    std::int64_t write_done_us = 0;
    std::int64_t last_arrival_us = 0;
    // Last, so that it goes first: its farewell signals still find the members above.
    QTcpSocket socket;
};
