#include "config/com_port_map.h"

#include "disk/ini_file.h"

namespace {
// Windows reaches every port number, COM10 and above as well, in its namespace of devices.
const QString kWindowsDevices = QStringLiteral("\\\\.\\");

#ifndef Q_OS_WIN
QString defaultDevice(int n) {
    if (n >= 1 && n <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    if (n >= 5 && n <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 5);
    if (n >= 13 && n <= 16)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 13);
    return QString();
}
#endif
} // namespace

QString DevicePathForCom(const QString& configPath, int n) {
#ifdef Q_OS_WIN
    // COM<n> is the system's port; the map is for this machine's /dev names only.
    Q_UNUSED(configPath);
    return kWindowsDevices + LineName({n});
#else
    return ReadIniValue(configPath, QStringLiteral("Ports"), LineName({n}), defaultDevice(n));
#endif
}

std::optional<LineAddress> NetworkLineForCom(const QString& configPath, int n) {
    const QString entry = ReadIniValue(configPath, QStringLiteral("Ports"), LineName({n}), {});
    if (!entry.startsWith(QStringLiteral("tcp:"), Qt::CaseInsensitive))
        return std::nullopt;
    return NetworkAddressFromText(entry).value_or(LineAddress{});
}

QString ComPortName(const QString& configPath, const LineAddress& address) {
    if (address.isNetwork())
        return LineName(address);
    if (address.com_number == 0)
        return QStringLiteral("не выбран");
    const QString com = LineName(address);
    const std::optional<LineAddress> network = NetworkLineForCom(configPath, address.com_number);
    const QString device = network && NamesALine(*network)
                               ? LineName(*network)
                               : DevicePathForCom(configPath, address.com_number);
    const bool sameName = device.isEmpty() || device == com || device == kWindowsDevices + com;
    return sameName ? com : com + QStringLiteral(" (") + device + ')';
}
