#include "link/line_settings_reset.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

bool ResetLineSettings(const QString& device) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios tio{};
    bool reset = isatty(fd) && tcgetattr(fd, &tio) == 0;
    if (reset) {
        cfmakeraw(&tio);
        tio.c_iflag &= ~(IGNPAR | INPCK);
        reset = tcsetattr(fd, TCSANOW, &tio) == 0;
    }
    ::close(fd);
    return reset;
}
