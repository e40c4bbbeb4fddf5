#include "views/scan_dialog.h"

#include "live/panel_names.h"
#include "views/screen_placement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Поиск контроллеров");

QPushButton* namedButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

ScanDialog::ScanDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frm_scan"));
    setWindowTitle(kTitle);
    PlaceOnScreen(this, QSize(640, 380));

    state_label = new QLabel(this);
    state_label->setObjectName(QStringLiteral("lbl_scan_state"));
    state_label->setAccessibleDescription(QStringLiteral("Ход поиска"));
    progress_bar = new QProgressBar(this);
    progress_bar->setObjectName(QStringLiteral("prg_scan"));
    progress_bar->setAccessibleName(QStringLiteral("Опрошено адресов"));
    progress_bar->setRange(0, ControllerScan::kAddressCount);
    progress_bar->setFormat(QStringLiteral("%v из %m"));

    found_list = new QTreeWidget(this);
    found_list->setObjectName(QStringLiteral("lst_found"));
    found_list->setAccessibleName(QStringLiteral("Найденные контроллеры"));
    found_list->setRootIsDecorated(false);
    found_list->setHeaderLabels({QStringLiteral("Адрес"), panel_text::kObjectType,
                                 panel_text::kSoftwareVersion, panel_text::kProtocolVersion,
                                 panel_text::kRunningHours});
    found_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    again_button = namedButton(QStringLiteral("Искать снова"), "cmd_scan_again", this);
    stop_button = namedButton(QStringLiteral("Остановить"), "cmd_scan_stop", this);
    choose_button = namedButton(QStringLiteral("Выбрать"), "cmd_scan_choose", this);
    auto* close = namedButton(QStringLiteral("Закрыть"), "cmd_scan_close", this);
    choose_button->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(again_button);
    buttons->addWidget(stop_button);
    buttons->addStretch();
    buttons->addWidget(choose_button);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(state_label);
    layout->addWidget(progress_bar);
    layout->addWidget(found_list, 1);
    layout->addLayout(buttons);

    connect(again_button, &QPushButton::clicked, this, &ScanDialog::againClicked);
    connect(stop_button, &QPushButton::clicked, this, &ScanDialog::stopClicked);
    connect(choose_button, &QPushButton::clicked, this, &ScanDialog::chooseCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(found_list, &QTreeWidget::itemDoubleClicked, this, &ScanDialog::chooseCurrent);
    connect(found_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { choose_button->setEnabled(current != nullptr); });
}

void ScanDialog::showBegun() {
    found_list->clear();
    progress_bar->setValue(0);
    again_button->setEnabled(false);
    stop_button->setEnabled(true);
}

void ScanDialog::showProgress(int done, const QString& text) {
    progress_bar->setValue(done);
    state_label->setText(text);
}

void ScanDialog::addFound(const FoundController& controller) {
    auto* row = new QTreeWidgetItem(found_list,
                                    {QString::number(controller.address), controller.object_type,
                                     controller.sw_ver, controller.pr_ver, controller.motomin});
    row->setData(0, Qt::UserRole, controller.address);
    if (!found_list->currentItem())
        found_list->setCurrentItem(row);
}

void ScanDialog::showEnded(const QString& text) {
    state_label->setText(text);
    again_button->setEnabled(true);
    stop_button->setEnabled(false);
}

void ScanDialog::hideEvent(QHideEvent* event) {
    if (stop_button->isEnabled())
        emit stopClicked();
    QDialog::hideEvent(event);
}

void ScanDialog::chooseCurrent() {
    if (const QTreeWidgetItem* row = found_list->currentItem())
        emit chosen(row->data(0, Qt::UserRole).toInt());
}
