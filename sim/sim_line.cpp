#include "sim_line.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString systemError(const QString& what) {
    return what + ": " + QString::fromLocal8Bit(std::strerror(errno));
}

// Raw first: a pty refuses even parity on a line that is not raw yet.
bool setLine(int fd, bool realDevice) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    if (realDevice) {
        tio.c_cflag &= ~(CSIZE | CSTOPB | PARODD | CRTSCTS);
        tio.c_cflag |= CS8 | PARENB | CLOCAL | CREAD;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        cfsetispeed(&tio, B115200);
        cfsetospeed(&tio, B115200);
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}
} // namespace

SimLine::~SimLine() {
    removeLink();
    if (slave_hold_fd >= 0)
        ::close(slave_hold_fd);
    if (line_fd >= 0)
        ::close(line_fd);
    if (listen_fd >= 0)
        ::close(listen_fd);
}

bool SimLine::openPty(const QString& linkPath, QString& error) {
    line_fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line_fd < 0 || grantpt(line_fd) != 0 || unlockpt(line_fd) != 0) {
        error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    line_path = QString::fromLocal8Bit(ptsname(line_fd));
    slave_hold_fd = ::open(ptsname(line_fd), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_hold_fd < 0 || !setLine(slave_hold_fd, false)) {
        error = systemError("cannot set up " + line_path);
        return false;
    }
    if (linkPath.isEmpty())
        return true;

    const QFileInfo existing(linkPath);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink()) {
            error = linkPath + " exists and is not a symlink; not replacing it";
            return false;
        }
        QFile::remove(linkPath);
    }
    if (::symlink(line_path.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) != 0) {
        error = systemError("cannot make the symlink " + linkPath);
        return false;
    }
    link_path = linkPath;
    return true;
}

bool SimLine::openDevice(const QString& path, QString& error) {
    line_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line_fd < 0) {
        error = systemError("cannot open " + path);
        return false;
    }
    if (!setLine(line_fd, true)) {
        error = systemError("cannot set 115200 8E1 on " + path);
        return false;
    }
    tcflush(line_fd, TCIOFLUSH);
    line_path = path;
    return true;
}

bool SimLine::openTcp(const QString& host, int port, QString& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.toLatin1().constData(), QByteArray::number(port).constData(), &hints,
                    &found) != 0) {
        error = "--tcp: " + host + " is not a numeric address";
        return false;
    }
    listen_fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int yes = 1;
    const bool listening =
        listen_fd >= 0 && setsockopt(listen_fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
        bind(listen_fd, found->ai_addr, found->ai_addrlen) == 0 && listen(listen_fd, 1) == 0;
    const int family = found->ai_family;
    freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (!listening || getsockname(listen_fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        error = systemError(QStringLiteral("cannot listen on %1:%2").arg(host).arg(port));
        return false;
    }
    const int taken =
        ntohs(family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                 : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    line_path = (family == AF_INET6 ? '[' + host + ']' : host) + ':' + QString::number(taken);
    return true;
}

SimLine::ReadResult SimLine::read(QByteArray& into) {
    if (listen_fd >= 0 && line_fd < 0) {
        line_fd = accept4(listen_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        const int yes = 1;
        if (line_fd >= 0)
            setsockopt(line_fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        return ReadResult::Nothing;
    }
    char chunk[512];
    ReadResult result = ReadResult::Nothing;
    for (;;) {
        const ssize_t n = ::read(line_fd, chunk, sizeof chunk);
        if (n > 0) {
            into.append(chunk, n);
            result = ReadResult::Data;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EOF, or EIO on a pty nobody holds / a device that went away.
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            if (listen_fd < 0)
                return result == ReadResult::Data ? result : ReadResult::NobodyThere;
            // The client left: the next one is taken on when it comes.
            ::close(line_fd);
            line_fd = -1;
            return result;
        }
        return result;
    }
}

int SimLine::write(const QByteArray& bytes) {
    if (line_fd < 0)
        return static_cast<int>(bytes.size());
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(line_fd, bytes.constData() + sent, bytes.size() - sent);
        if (n > 0)
            sent += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return static_cast<int>(bytes.size() - sent);
}

void SimLine::removeLink() {
    // Only our own link: a later simulator may have taken the name over.
    if (!link_path.isEmpty() && QFileInfo(link_path).symLinkTarget() == line_path)
        QFile::remove(link_path);
    link_path.clear();
}
