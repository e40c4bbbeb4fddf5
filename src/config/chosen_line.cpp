#include "config/chosen_line.h"

#include "config/com_port_map.h"
#include "link/tcp_line.h"
#ifdef Q_OS_WIN
#include "link/win_com_line.h"
using SystemLine = WinComLine;
#else
#include "link/qt_serial_line.h"
using SystemLine = QtSerialLine;
#endif

#include <utility>

QString port_text::OpenFailure(const LineAddress& address, OpenOutcome failure) {
    const QString reason = failure == OpenOutcome::Held
                               ? QStringLiteral(" занят другим приложением")
                               : QStringLiteral(" не доступен");
    return QStringLiteral("Порт ") + LineName(address) + reason +
           QStringLiteral("\r\nВыберите другой порт");
}

LineFactory LinesOfThisMachine(const QString& configPath) {
    return [configPath](const LineAddress& address) -> std::unique_ptr<ByteLine> {
        // Looked at before the serial device, as on Windows the map is read for nothing else.
        if (const std::optional<LineAddress> network =
                address.isNetwork() ? address : NetworkLineForCom(configPath, address.com_number))
            return std::make_unique<TcpLine>(network->host,
                                             static_cast<quint16>(network->tcp_port));
        return std::make_unique<SystemLine>(DevicePathForCom(configPath, address.com_number));
    };
}

ChosenLine::ChosenLine(LineFactory makeLine) : make_line(std::move(makeLine)) {}

bool ChosenLine::choose(const LineAddress& next) {
    if (isOpen() || !NamesALine(next))
        return false;
    address = next;
    return true;
}

QString ChosenLine::openName() const {
    return isOpen() ? LineName(address) : QString();
}

LineState ChosenLine::state() {
    return line ? line->state() : LineState::Carrying;
}

QString ChosenLine::stateText() const {
    return line ? line->stateText() : QString();
}

OpenOutcome ChosenLine::open() {
    if (isOpen())
        return OpenOutcome::Held;
    if (!NamesALine(address))
        return OpenOutcome::NotAvailable;
    // Made anew, so the port map is read as it is now and a device that vanished is not
    // carried over.
    line = make_line(address);
    return line->open();
}

void ChosenLine::close() {
    if (line)
        line->close();
}

void ChosenLine::write(const QByteArray& frame) {
    if (line)
        line->write(frame);
}
