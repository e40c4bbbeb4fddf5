#include "config/com_port_map.h"

#include "disk/ini_file.h"

namespace {
QString defaultDevice(int n) {
#ifdef Q_OS_WIN
    return LineName({n});
#else
    if (n >= 1 && n <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n >= 5 && n <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 5);
    if (n >= 13 && n <= 16)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 13);
    return QString();
#endif
}
} // namespace

QString DevicePathForCom(const QString& configPath, int n) {
    return ReadIniValue(configPath, QStringLiteral("Ports"), LineName({n}), defaultDevice(n));
}

QString ComPortName(const QString& configPath, const LineAddress& address) {
    if (address.com_number == 0)
        return QStringLiteral("не выбран");
    const QString com = LineName(address);
    const QString device = DevicePathForCom(configPath, address.com_number);
    return device.isEmpty() || device == com ? com : com + QStringLiteral(" (") + device + ')';
}
