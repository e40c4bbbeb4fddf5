#include "config/startup_port.h"

#include "host/message_box.h"

QString port_text::OpenFailure(int comPort, OpenOutcome failure) {
    const QString reason = failure == OpenOutcome::Held
                               ? QStringLiteral(" занят другим приложением")
                               : QStringLiteral(" не доступен");
    return QStringLiteral("Порт COM") + QString::number(comPort) + reason +
           QStringLiteral("\r\nВыберите другой порт");
}

bool OpenPortAtStart(SerialPort& port, int comPort, MessageBoxService& boxes,
                     const std::function<void()>& chooseAnother) {
    const auto offerAnotherPort = [&](OpenOutcome failure) {
        if (boxes.ask(MessageIcon::Critical, port_text::kOpenErrorTitle,
                      port_text::OpenFailure(comPort, failure),
                      MessageButtons::OkCancel) != MessageAnswer::Ok)
            return false;
        chooseAnother();
        return true;
    };
    if (!port.setPortNumber(comPort) && !offerAnotherPort(OpenOutcome::NotAvailable))
        return false;
    // The dialog has already tried the configured port; opening it again would report our own
    // open port as held, and opening any other number would use a port nobody chose.
    if (port.isOpen())
        return true;
    const OpenOutcome outcome =
        port.portNumber() == comPort ? port.open() : OpenOutcome::NotAvailable;
    return outcome == OpenOutcome::Opened || offerAnotherPort(outcome);
}
