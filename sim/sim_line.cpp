#include "sim_line.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
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

SimLine::ReadResult SimLine::read(QByteArray& into) {
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
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return result == ReadResult::Data ? result : ReadResult::NobodyThere;
        return result;
    }
}

int SimLine::write(const QByteArray& bytes) {
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
