#include "pty_pair.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0)
        return;
    termios tio{};
    if (grantpt(master) != 0 || unlockpt(master) != 0 || tcgetattr(master, &tio) != 0) {
        hangUp();
        return;
    }
    cfmakeraw(&tio);
    tcsetattr(master, TCSANOW, &tio);
    path = QString::fromLocal8Bit(ptsname(master));
    slaveHold = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    hangUp();
}

void PtyPair::send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const auto n = ::write(master, bytes.constData() + sent, bytes.size() - sent);
        if (n <= 0)
            return;
        sent += n;
    }
}

QByteArray PtyPair::received() {
    char chunk[512];
    ssize_t n = 0;
    while (master >= 0 && (n = ::read(master, chunk, sizeof chunk)) > 0)
        collected.append(chunk, n);
    return collected;
}

int PtyPair::waitingAtDevice() const {
    int count = 0;
    return slaveHold >= 0 && ioctl(slaveHold, FIONREAD, &count) == 0 ? count : -1;
}

void PtyPair::hangUp() {
    if (slaveHold >= 0)
        ::close(slaveHold);
    if (master >= 0)
        ::close(master);
    slaveHold = -1;
    master = -1;
}
