#include "views/port_dialog.h"

#include "config/com_port_map.h"
#include "views/screen_placement.h"
#include "views/window_words.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <utility>

namespace {
// The number after "COM" in an entry; 0 when there is none.
int entryNumber(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^COM(\\d+)$"));
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
} // namespace

PortDialog::PortDialog(ChosenLine& line, ExchangeCycle& cycle, ConfigFile& config,
                       StatusLine& status, std::function<void()> letEventsRun, QWidget* owner)
    : QDialog(owner), chooser(line, cycle, config, status, std::move(letEventsRun)) {
    setObjectName(QStringLiteral("wndSetCOM"));
    setWindowTitle(QStringLiteral("Настройка порта"));

    auto* label = new QLabel(QStringLiteral("Выберите порт:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    port_list = new QComboBox(this);
    port_list->setObjectName(QStringLiteral("cmbCOMList"));
    port_list->setPlaceholderText(QStringLiteral("Выберите порт"));
    port_list->setMinimumWidth(140);
    label->setBuddy(port_list);
    auto* ok = new QPushButton(window_text::kOk, this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(window_text::kCancel, this);
    cancel->setObjectName(QStringLiteral("Отмена"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(port_list);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
    PlaceOnScreen(this, size());

    connect(port_list, &QComboBox::activated, this, &PortDialog::pick);
    connect(ok, &QPushButton::clicked, this, &PortDialog::takeChoice);
    connect(cancel, &QPushButton::clicked, this, &PortDialog::reject);
}

void PortDialog::load() {
    for (const int n : chooser.probe())
        port_list->addItem(LineName({n}));
    port_list->setCurrentIndex(port_list->findText(LineName({chooser.configuredPort()})));
}

void PortDialog::pick(int index) {
    chooser.pick(entryNumber(port_list->itemText(index)));
    emit portSwitched();
}

void PortDialog::takeChoice() {
    const int index = port_list->currentIndex();
    chooser.keep(index < 0 ? 0 : entryNumber(port_list->itemText(index)));
    accept();
}

void PortDialog::done(int result) {
    chooser.finish();
    QDialog::done(result);
}
