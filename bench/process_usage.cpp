#include "process_usage.h"

#include <QFile>
#include <ctime>

namespace {
long statusKib(pid_t pid, const QByteArray& field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}
} // namespace

double CpuSeconds(pid_t pid) {
    clockid_t clock{};
    timespec spent{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &spent) != 0)
        return -1;
    return static_cast<double>(spent.tv_sec) + static_cast<double>(spent.tv_nsec) * 1e-9;
}

long ResidentKib(pid_t pid) {
    return statusKib(pid, "VmRSS:");
}

long PeakResidentKib(pid_t pid) {
    return statusKib(pid, "VmHWM:");
}
