#include "process_usage.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <ctime>
#include <unistd.h>

namespace {
QByteArray procFile(pid_t pid, const char* name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

long statusKib(pid_t pid, const QByteArray& field) {
    for (const QByteArray& line : procFile(pid, "status").split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}
} // namespace

long ResidentKib(pid_t pid) {
    return statusKib(pid, "VmRSS:");
}

long PeakResidentKib(pid_t pid) {
    return statusKib(pid, "VmHWM:");
}

double CpuSeconds(pid_t pid) {
    const QByteArray stat = procFile(pid, "stat");
    // The command name in parentheses may hold blanks; the fields after it are plain.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // After the name: state is field 3 of the whole line, utime field 14, stime field 15.
    constexpr int kUtime = 14 - 3;
    constexpr int kStime = 15 - 3;
    if (fields.size() <= kStime)
        return -1;
    const double ticks = fields[kUtime].toDouble() + fields[kStime].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double OwnCpuSeconds() {
    timespec spent{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
    return static_cast<double>(spent.tv_sec) + static_cast<double>(spent.tv_nsec) * 1e-9;
}
