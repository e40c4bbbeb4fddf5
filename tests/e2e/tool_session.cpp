#include "tool_session.h"

#include "config/com_port_map.h"
#include "link/qt_serial_port.h"

#include <QFile>

ToolSession::ToolSession() : configPath(folder.filePath(QStringLiteral("тп.ini"))) {}

bool ToolSession::start(const QStringList& simArguments) {
    if (!sim.start(simArguments)) {
        error_text = sim.errorText();
        return false;
    }
    if (!mapCom1(sim.linkPath())) {
        error_text = QStringLiteral("cannot write ") + configPath;
        return false;
    }
    const QString config = configPath;
    tool = std::make_unique<Tool>(
        std::make_unique<QtSerialPort>([config](int n) { return DevicePathForCom(config, n); }),
        messages, configPath, QChar(','));
    if (!tool->start()) {
        error_text = QStringLiteral("the tool did not start");
        return false;
    }
    return true;
}

bool ToolSession::mapCom1(const QString& devicePath) {
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write("[PC config]\r\nCOM=1\r\n[Ports]\r\nCOM1=" + devicePath.toUtf8() + "\r\n");
    return file.flush();
}
