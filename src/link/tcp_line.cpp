#include "link/tcp_line.h"

#include <QNetworkProxy>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {
// What Qt keeps of the stream before we read it.
constexpr qint64 kSocketBufferBytes = 64 * 1024;
} // namespace

TcpLine::TcpLine(QString host, quint16 port, std::function<std::int64_t()> clock)
    : host(std::move(host)), port(port), now_us(std::move(clock)) {
    // A serial device server sits on the plant's own network: a proxy set for the desktop
    // would only stand in the way.
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.setReadBufferSize(kSocketBufferBytes);
    QObject::connect(&socket, &QTcpSocket::connected, [this] { onConnected(); });
    QObject::connect(&socket, &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError error) { onError(error); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [this] {
        if (line_state == LineState::Carrying)
            fail(Failure::Lost);
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { takeArrivals(); });
}

OpenOutcome TcpLine::open() {
    if (opened)
        return OpenOutcome::Held;
    if (host.isEmpty() || port == 0)
        return OpenOutcome::NotAvailable;
    opened = true;
    line_state = LineState::Connecting;
    failure = Failure::None;
    connectNow();
    return OpenOutcome::Opened;
}

void TcpLine::close() {
    opened = false;
    attempting = false;
    line_state = LineState::Connecting;
    failure = Failure::None;
    socket.abort();
    received.clear();
    read_at = 0;
}

void TcpLine::connectNow() {
    attempting = true;
    attempt_us = now_us();
    socket.abort();
    socket.connectToHost(host, port);
}

void TcpLine::onConnected() {
    attempting = false;
    // A frame is a few bytes: each goes out as it is written, not held back for more.
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    received.clear();
    read_at = 0;
    line_state = LineState::Carrying;
    failure = Failure::None;
}

void TcpLine::onError(QAbstractSocket::SocketError error) {
    if (line_state == LineState::Carrying) {
        fail(Failure::Lost);
        return;
    }
    if (!attempting)
        return;
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return fail(Failure::HostNotFound);
    case QAbstractSocket::ConnectionRefusedError:
        return fail(Failure::Refused);
    case QAbstractSocket::SocketTimeoutError:
        return fail(Failure::TimedOut);
    case QAbstractSocket::NetworkError:
        return fail(Failure::NoNetwork);
    default:
        return fail(Failure::Other);
    }
}

void TcpLine::fail(Failure why) {
    attempting = false;
    line_state = LineState::Down;
    // Once the connection is lost, that is what the user needs to know until it is back; what
    // each attempt since ran into would only flicker past in the status line.
    if (failure != Failure::Lost)
        failure = why;
}

LineState TcpLine::state() {
    if (!opened)
        return line_state;
    const std::int64_t now = now_us();
    if (attempting && now - attempt_us >= kConnectTimeoutUs) {
        fail(Failure::TimedOut);
        socket.abort();
    }
    if (line_state == LineState::Down && !attempting && now - attempt_us >= kRetryPauseUs)
        connectNow();
    return line_state;
}

void TcpLine::takeArrivals() {
    char chunk[4096];
    while (socket.bytesAvailable() > 0) {
        const qint64 got = socket.read(chunk, sizeof chunk);
        if (got <= 0)
            break;
        last_arrival_us = now_us();
        const qint64 room = kKeptBytes - (received.size() - read_at);
        if (room > 0)
            received.append(chunk, std::min(got, room));
    }
}

int TcpLine::waitingBytes() {
    return opened ? static_cast<int>(received.size() - read_at) : 0;
}

int TcpLine::read(std::uint8_t* into, int most) {
    const int moved = std::min(most, static_cast<int>(received.size()) - read_at);
    std::memcpy(into, received.constData() + read_at, static_cast<std::size_t>(moved));
    read_at += moved;
    if (read_at == received.size()) {
        received.resize(0);
        read_at = 0;
    }
    return moved;
}

void TcpLine::write(const QByteArray& frame) {
    // A server that stops taking frames (its serial side stuck) gets no more of them: the tick
    // repeats the frame anyway, and the queue would only grow.
    if (line_state != LineState::Carrying || socket.bytesToWrite() > kKeptBytes)
        return;
    socket.write(frame);
    socket.flush();
    write_done_us = now_us();
}

QString TcpLine::where() const {
    const QString name = host.contains(QLatin1Char(':')) ? '[' + host + ']' : host;
    return name + ':' + QString::number(port);
}

QString TcpLine::stateText() const {
    if (line_state == LineState::Carrying)
        return {};
    if (line_state == LineState::Connecting)
        return QStringLiteral("Подключение к %1…").arg(where());
    QString reason;
    switch (failure) {
    case Failure::HostNotFound:
        reason = QStringLiteral("узел не найден");
        break;
    case Failure::Refused:
        reason = QStringLiteral("соединение отклонено");
        break;
    case Failure::TimedOut:
        reason = QStringLiteral("нет соединения за %1 с").arg(kConnectTimeoutUs / 1'000'000);
        break;
    case Failure::Lost:
        reason = QStringLiteral("соединение потеряно");
        break;
    case Failure::NoNetwork:
        reason = QStringLiteral("сеть недоступна");
        break;
    case Failure::None:
    case Failure::Other:
        reason = QStringLiteral("соединение не установлено");
        break;
    }
    return QStringLiteral("Нет связи с %1: %2").arg(where(), reason);
}
