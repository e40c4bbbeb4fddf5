#include "pty_line.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return;
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        ::close(master);
        master = -1;
        return;
    }
    path = QString::fromLocal8Bit(ptsname(master));
    // Held open so that the master never reads EIO while the tool has not opened it yet.
    slave_hold = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave_hold >= 0 && tcgetattr(slave_hold, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slave_hold, TCSANOW, &raw);
    }
    watcher = std::thread([this] { watch(); });
}

PtyLine::~PtyLine() {
    stopping = true;
    if (watcher.joinable())
        watcher.join();
    if (slave_hold >= 0)
        ::close(slave_hold);
    if (master >= 0)
        ::close(master);
}

void PtyLine::watch() {
    constexpr int kPollMs = 20;
    char buffer[512];
    while (!stopping) {
        pollfd pfd{master, POLLIN, 0};
        if (poll(&pfd, 1, kPollMs) <= 0 || !(pfd.revents & POLLIN))
            continue;
        const Clock::rep now = Clock::now().time_since_epoch().count();
        if (::read(master, buffer, sizeof buffer) > 0 && first_byte == 0)
            first_byte = now;
    }
}

std::optional<PtyLine::Clock::time_point> PtyLine::firstByte() const {
    const Clock::rep at = first_byte;
    if (at == 0)
        return std::nullopt;
    return Clock::time_point(Clock::duration(at));
}
