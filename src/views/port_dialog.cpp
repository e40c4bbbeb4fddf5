#include "views/port_dialog.h"

#include "config/com_port_map.h"
#include "views/screen_placement.h"
#include "views/window_words.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {
constexpr int kWidth = 260;
constexpr int kStateWatchMs = 250;

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
    line_state = new QLabel(this);
    line_state->setObjectName(QStringLiteral("lbl_line_state"));
    line_state->setWordWrap(true);
    line_state->hide();
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
    layout->addWidget(line_state);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(kWidth, 0)));
    PlaceOnScreen(this, size());

    connect(port_list, &QComboBox::activated, this, &PortDialog::pick);
    connect(ok, &QPushButton::clicked, this, &PortDialog::takeChoice);
    connect(cancel, &QPushButton::clicked, this, &PortDialog::reject);
    // A network line connects, fails and comes back while the dialog is up.
    state_watch = new QTimer(this);
    state_watch->setInterval(kStateWatchMs);
    connect(state_watch, &QTimer::timeout, this, &PortDialog::showLineState);
}

void PortDialog::load() {
    for (const int n : chooser.probe())
        port_list->addItem(LineName({n}));
    port_list->setCurrentIndex(port_list->findText(LineName({chooser.configuredPort()})));
    // Only now: the lines probed meanwhile were never the tool's.
    showLineState();
    state_watch->start();
}

void PortDialog::pick(int index) {
    chooser.pick(entryNumber(port_list->itemText(index)));
    showLineState();
    emit portSwitched();
}

void PortDialog::showLineState() {
    const QString text = chooser.lineState();
    if (text == line_state->text() && line_state->isHidden() == text.isEmpty())
        return;
    line_state->setText(text);
    line_state->setVisible(!text.isEmpty());
    setFixedSize(sizeHint().expandedTo(QSize(kWidth, 0)));
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
