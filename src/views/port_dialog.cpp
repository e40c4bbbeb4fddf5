#include "views/port_dialog.h"

#include "config/config_file.h"
#include "link/exchange_cycle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <utility>

namespace {
QString entryText(int n) {
    return QStringLiteral("COM%1").arg(n);
}

// The number after "COM" in an entry; 0 when there is none.
int entryNumber(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^COM(\\d+)$"));
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
} // namespace

PortDialog::PortDialog(SerialPort& port, ExchangeCycle& cycle, ConfigFile& config,
                       StatusLine& status, std::function<void()> letEventsRun, QWidget* owner)
    : QDialog(owner), port(port), cycle(cycle), config(config), status(status),
      letEventsRun(std::move(letEventsRun)) {
    setObjectName(QStringLiteral("wndSetCOM"));
    setWindowTitle(QStringLiteral("Настройка порта"));

    auto* label = new QLabel(QStringLiteral("Выберите порт:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    cmbCOMList = new QComboBox(this);
    cmbCOMList->setObjectName(QStringLiteral("cmbCOMList"));
    cmbCOMList->setPlaceholderText(QStringLiteral("Выберите порт"));
    cmbCOMList->setMinimumWidth(140);
    label->setBuddy(cmbCOMList);
    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("Отмена"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cmbCOMList);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));

    connect(cmbCOMList, &QComboBox::activated, this, &PortDialog::pick);
    connect(ok, &QPushButton::clicked, this, &PortDialog::takeChoice);
    connect(cancel, &QPushButton::clicked, this, [this] {
        port_dialog_ok = false;
        reject();
    });
}

void PortDialog::load() {
    // Each probed port may belong to another device: the queued request (a СТАРТ, say) waits
    // at the head of the ring until the configured port is back.
    cycle.setLineHeld(true);
    saved_port = config.com_port;
    if (port.isOpen())
        port.close();
    for (int n = 1; n <= 16; ++n) {
        bool probe_ok = openNumber(n);
        letEventsRun();
        probe_ok = probe_ok && port.isOpen();
        if (port.isOpen())
            port.close();
        if (probe_ok)
            cmbCOMList->addItem(entryText(n));
    }
    cmbCOMList->setCurrentIndex(cmbCOMList->findText(entryText(config.com_port)));
    openNumber(config.com_port);
    cycle.setLineHeld(false);
}

void PortDialog::pick(int index) {
    if (port.isOpen())
        port.close();
    openNumber(entryNumber(cmbCOMList->itemText(index)));
}

void PortDialog::takeChoice() {
    port_dialog_ok = true;
    const int index = cmbCOMList->currentIndex();
    config.com_port =
        static_cast<std::uint8_t>(index < 0 ? 0 : entryNumber(cmbCOMList->itemText(index)));
    config.SaveConfig();
    accept();
}

void PortDialog::done(int result) {
    if (port.isOpen())
        port.close();
    if (!port_dialog_ok)
        config.com_port = saved_port;
    ReopenPort();
    QDialog::done(result);
}

void PortDialog::ReopenPort() {
    if (port.isOpen())
        return;
    if (!openNumber(config.com_port))
        status.setText(QStringLiteral("Порт не выбран"));
}

bool PortDialog::openNumber(int n) {
    // A number that cannot be set leaves the port closed: opening whichever number was set
    // before would put the link on a port nobody chose.
    return port.setPortNumber(n) && port.open() == OpenOutcome::Opened;
}
