#include "config/startup_port.h"

#include "host/message_box.h"

bool OpenPortAtStart(ChosenLine& line, const LineAddress& configured, MessageBoxService& boxes,
                     const std::function<void()>& chooseAnother) {
    const auto offerAnotherPort = [&](OpenOutcome failure) {
        if (boxes.ask(MessageIcon::Critical, port_text::kOpenErrorTitle,
                      port_text::OpenFailure(configured, failure),
                      MessageButtons::OkCancel) != MessageAnswer::Ok)
            return false;
        chooseAnother();
        return true;
    };
    if (!line.choose(configured) && !offerAnotherPort(OpenOutcome::NotAvailable))
        return false;
    // The dialog has already tried the configured port; opening it again would report our own
    // open port as held, and opening any other number would use a port nobody chose.
    if (line.isOpen())
        return true;
    const OpenOutcome outcome =
        line.chosen() == configured ? line.open() : OpenOutcome::NotAvailable;
    return outcome == OpenOutcome::Opened || offerAnotherPort(outcome);
}
