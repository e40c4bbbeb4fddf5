#include "views/main_window.h"

#include "link/slave_address.h"
#include "live/panel_names.h"
#include "views/screen_placement.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <vector>

namespace {
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);

// Grid of the signal indicators: the template's place and size (375 × 255 twips).
constexpr int kGridLeft = 205;
constexpr int kGridTop = 212;
constexpr int kCellWidth = 25;
constexpr int kCellHeight = 17;

QString indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// A value label reads "-" until the first answer. Its accessible name stays Qt's default, the
// text it shows, because a label offers screen readers nothing else to read; what the bare
// number means goes into the description.
QLabel* value(QWidget* parent, const QString& name, const QString& meaning, QRect geometry) {
    QLabel* label = caption(parent, name, QStringLiteral("-"), geometry);
    label->setAccessibleDescription(meaning);
    return label;
}

// A value after its name and a colon: "lblc_" and "lbl_" followed by `control`.
QLabel* namedValue(QWidget* parent, const char* control, const QString& name, QRect captionPlace,
                   QRect valuePlace) {
    caption(parent, QStringLiteral("lblc_") + QLatin1String(control), name + QLatin1Char(':'),
            captionPlace);
    return value(parent, QStringLiteral("lbl_") + QLatin1String(control), name, valuePlace);
}

// Lit indicators show their fill colour; unlit ones let the window's background through.
QLabel* indicator(QWidget* parent, const QString& name, const QString& text, QColor fill,
                  QRect geometry) {
    QLabel* label = caption(parent, name, text, geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Box);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, fill);
    label->setPalette(palette);
    return label;
}

void setLit(QLabel* label, bool lit) {
    label->setAutoFillBackground(lit);
    // Every poll answer sets all 267 indicators; Qt 6.4 looks up an accessibility interface for
    // each description set, changed or not, screen reader or not.
    const QString description = lit ? QStringLiteral("горит") : QStringLiteral("не горит");
    if (label->accessibleDescription() != description)
        label->setAccessibleDescription(description);
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QRect row(int y, int x, int width) {
    return QRect(x, y, width, 20);
}

// A frame of quantities of one kind, one below the other, each caption left of its value.
struct ValueFrame {
    const char* name;
    QString title;
    QRect geometry;
    // The first row's places; each further row is 28 lower.
    QRect caption_place;
    QRect value_place;
    std::vector<Quantity> quantities;
};
const std::array<ValueFrame, 3> kValueFrames{{
    {"Frame1", QStringLiteral("Частота вращения, об/мин"), QRect(205, 40, 190, 84), row(26, 10, 95),
     row(26, 110, 70), std::vector{Quantity::EngineSpeed, Quantity::ShaftSpeed}},
    {"Frame2", QStringLiteral("Температура, °C"), QRect(405, 40, 170, 112), row(26, 10, 90),
     row(26, 100, 60),
     std::vector{Quantity::CoolantTemperature, Quantity::OilTemperature,
                 Quantity::GearOilTemperature}},
    {"Frame3", QStringLiteral("Давление, кг/см2"), QRect(585, 40, 170, 140), row(26, 10, 90),
     row(26, 100, 60),
     std::vector{Quantity::OilPressure, Quantity::GearOilPressure, Quantity::HighTurboPressure,
                 Quantity::LowTurboPressure}},
}};
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frm_main"));
    setWindowTitle(QStringLiteral("ЗАРН: проверка протокола Modbus"));
    auto* area = new QWidget(this);
    setCentralWidget(area);
    buildMenu();
    buildHeader(area);
    buildLeds(area);
    buildFrames(area);
    buildRightColumn(area);
    buildFaults(area);
    buildBottom(area);
    setFixedSize(950, 560);
    PlaceOnScreen(this, size());
}

void MainWindow::buildMenu() {
    mnu_param = menuBar()->addAction(QStringLiteral("&Программируемые параметры"));
    mnu_param->setObjectName(QStringLiteral("mnu_param"));
    connect(mnu_param, &QAction::triggered, this, &MainWindow::paramMenuChosen);
    mnu_settings = menuBar()->addAction(QStringLiteral("&Настройка порта"));
    mnu_settings->setObjectName(QStringLiteral("mnu_settings"));
    connect(mnu_settings, &QAction::triggered, this, &MainWindow::portMenuChosen);
    mnu_traffic = menuBar()->addAction(QStringLiteral("&Монитор обмена"));
    mnu_traffic->setObjectName(QStringLiteral("mnu_traffic"));
    connect(mnu_traffic, &QAction::triggered, this, &MainWindow::trafficMenuChosen);
    mnu_charts = menuBar()->addAction(QStringLiteral("&Графики"));
    mnu_charts->setObjectName(QStringLiteral("mnu_charts"));
    connect(mnu_charts, &QAction::triggered, this, &MainWindow::chartsMenuChosen);
    mnu_journal = menuBar()->addAction(QStringLiteral("&Журнал событий"));
    mnu_journal->setObjectName(QStringLiteral("mnu_journal"));
    connect(mnu_journal, &QAction::triggered, this, &MainWindow::journalMenuChosen);
    mnu_scan = menuBar()->addAction(QStringLiteral("П&оиск контроллеров"));
    mnu_scan->setObjectName(QStringLiteral("mnu_scan"));
    connect(mnu_scan, &QAction::triggered, this, &MainWindow::scanMenuChosen);
    QMenu* exchange = menuBar()->addMenu(QStringLiteral("О&бмен"));
    exchange->setObjectName(QStringLiteral("mnu_exchange"));
    mnu_fast = exchange->addAction(QStringLiteral("&Быстрый обмен"));
    mnu_fast->setObjectName(QStringLiteral("mnu_fast"));
    mnu_fast->setCheckable(true);
    connect(mnu_fast, &QAction::toggled, this, &MainWindow::fastExchangeSwitched);
}

void MainWindow::showFastExchange(bool on) {
    const QSignalBlocker quiet(mnu_fast);
    mnu_fast->setChecked(on);
}

void MainWindow::buildHeader(QWidget* area) {
    lbl_object =
        namedValue(area, "object", panel_text::kObjectType, row(8, 10, 90), row(8, 100, 80));
    lbl_pr_ver =
        namedValue(area, "pr_ver", panel_text::kProtocolVersion, row(8, 300, 130), row(8, 430, 90));
    lbl_sw_ver =
        namedValue(area, "sw_ver", panel_text::kSoftwareVersion, row(8, 600, 80), row(8, 680, 90));
}

void MainWindow::buildLeds(QWidget* area) {
    caption(area, "lbls_ind", QStringLiteral("Индикаторы:"), row(40, 10, 180));
    const std::array<QColor, kLedCount> fills{kRed,    kRed, kGreen,  kGreen,  kYellow, kYellow,
                                              kYellow, kRed, kYellow, kYellow, kYellow};
    // Two columns of five; LEDs 6 and 7 share the first place, the object type shows one.
    const std::array<std::array<int, 5>, 2> columns{{{6, 8, 9, 3, 4}, {5, 0, 1, 2, 10}}};
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 5; ++r) {
            const QRect place(10 + 94 * c, 64 + 32 * r, 88, 26);
            const int i = columns[c][r];
            lbl_led[i] = indicator(area, indexed("lbl_led", i), LedCaption(i), fills[i], place);
            setLit(lbl_led[i], false);
        }
    lbl_led[7] =
        indicator(area, indexed("lbl_led", 7), LedCaption(7), fills[7], lbl_led[6]->geometry());
    setLit(lbl_led[7], false);
    for (int i : {7, 8, 9})
        lbl_led[i]->hide();

    lbl_modbus_off =
        caption(area, "lbl_modbus_off",
                QStringLiteral("Управление по Modbus заблокировано в ПКВ.604"), {10, 240, 185, 48});
    lbl_modbus_off->setWordWrap(true);
    lbl_modbus_off->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold;"));
    lbl_modbus_off->hide();
}

void MainWindow::buildFrames(QWidget* area) {
    for (const ValueFrame& f : kValueFrames) {
        QGroupBox* box = frame(area, f.name, f.title, f.geometry);
        for (std::size_t r = 0; r < f.quantities.size(); ++r) {
            const int down = 28 * static_cast<int>(r);
            buildQuantity(box, f.quantities[r], f.caption_place.translated(0, down),
                          f.value_place.translated(0, down));
        }
    }
    const int shaft = static_cast<int>(Quantity::ShaftSpeed);
    lblc_quantity[shaft]->hide();
    lbl_quantity[shaft]->hide();
}

void MainWindow::buildQuantity(QWidget* parent, Quantity quantity, QRect captionPlace,
                               QRect valuePlace, const QString& captionText) {
    const QuantityLook& look = LookOf(quantity);
    const int q = static_cast<int>(quantity);
    lblc_quantity[q] = caption(parent, QStringLiteral("lblc_") + QLatin1String(look.control),
                               captionText.isEmpty() ? look.name : captionText, captionPlace);
    lbl_quantity[q] = value(parent, QStringLiteral("lbl_") + QLatin1String(look.control),
                            QuantityDescription(quantity), valuePlace);
}

void MainWindow::buildRightColumn(QWidget* area) {
    // Alone beside the buttons, the battery's caption names its unit too.
    buildQuantity(area, Quantity::BatteryVoltage, row(48, 770, 110), row(48, 885, 55),
                  QuantityTitle(Quantity::BatteryVoltage));

    const std::array<Command, 4> commands{Command::Start, Command::Stop, Command::Acknowledge,
                                          Command::ProtectionsOff};
    for (int i = 0; i < 4; ++i) {
        const Command command = commands[i];
        auto* button = new QPushButton(CommandCaption(command), area);
        button->setObjectName(indexed("cmd_mode", i));
        button->setGeometry(770 + 88 * (i % 2), 84 + 40 * (i / 2), 82, 34);
        connect(button, &QPushButton::clicked, this,
                [this, command] { emit commandClicked(command); });
    }
    chk_armoff = new QCheckBox(QStringLiteral("Откл. защит"), area);
    chk_armoff->setObjectName(QStringLiteral("chk_armoff"));
    chk_armoff->setGeometry(770, 164, 160, 20);
    chk_armoff->hide();

    const QString discrete = QStringLiteral("Дискр. сигналы ПКВ.604");
    caption(area, "lblc_adc_board_d", discrete, row(200, 620, 258));
    lbl_adc_board_d = value(area, "lbl_adc_board_d", discrete, row(200, 880, 65));
    lbl_service = namedValue(area, "service", QStringLiteral("До сервисного обслуживания осталось"),
                             row(228, 620, 258), row(228, 880, 65));
    lbl_motomin = namedValue(area, "motomin", panel_text::kRunningHours, row(256, 620, 258),
                             row(256, 880, 65));
    lbl_tr_id = namedValue(area, "tr_id", QStringLiteral("Код транзакции"), row(284, 620, 258),
                           row(284, 880, 65));

    caption(area, "Label1", QStringLiteral("Сигналы"), row(kGridTop - 20, kGridLeft, 100));
    lbl_sgl[0] = indicator(area, indexed("lbl_sgl", 0), QStringLiteral("256"), kGreen,
                           {kGridLeft, kGridTop, kCellWidth, kCellHeight});
    QFont small = lbl_sgl[0]->font();
    small.setPointSize(7);
    lbl_sgl[0]->setFont(small);
    setLit(lbl_sgl[0], false);
    lbl_sgl[0]->hide();
}

void MainWindow::buildFaults(QWidget* area) {
    QGroupBox* faults =
        frame(area, "Frame4", QStringLiteral("Аварии и неисправности"), {620, 320, 320, 120});
    caption(faults, "Label3", QStringLiteral("Авария     Неисправность    Внутр. неиспр."),
            row(22, 85, 220));
    for (int r = 0; r < 3; ++r)
        caption(faults, QStringLiteral("Label%1").arg(4 + r), FaultRowName(r),
                row(46 + 24 * r, 10, 75));
    for (int i = 0; i < kFaultCount; ++i)
        lbl_faults[i] = value(faults, indexed("lbl_faults", i),
                              FaultColumnName(i) + QStringLiteral(", ") + FaultRowName(i).toLower(),
                              row(46 + 24 * (i % 3), 90 + 75 * (i / 3), 60));
    faults->hide();
}

void MainWindow::buildBottom(QWidget* area) {
    const QString address = QStringLiteral("Адрес устройства");
    caption(area, "lblc_slad", address, row(505, 10, 125));
    cmb_slad = new QComboBox(area);
    cmb_slad->setObjectName(QStringLiteral("cmb_slad"));
    cmb_slad->setAccessibleName(address);
    cmb_slad->setGeometry(135, 502, 60, 24);
    connect(cmb_slad, &QComboBox::activated, this, &MainWindow::slaveAddressChosen);
    lbl_sys_mes = caption(area, "lbl_sys_mes", QString(), row(505, 205, 735));
    lbl_sys_mes->setFrameShape(QFrame::Panel);
    lbl_sys_mes->setFrameShadow(QFrame::Sunken);
    lbl_sys_mes->setAccessibleDescription(QStringLiteral("Состояние связи"));
}

void MainWindow::fillSlaveAddresses() {
    cmb_slad->clear();
    for (int address = 0; address <= kMaxSlaveAddress; ++address)
        cmb_slad->addItem(QString::number(address));
    cmb_slad->setCurrentIndex(7);
}

void MainWindow::createSignalGrid() {
    const QLabel* model = lbl_sgl[0];
    for (int i = 1; i < kSignalCount; ++i) {
        auto* copy = new QLabel(QString::number(i), model->parentWidget());
        copy->setObjectName(indexed("lbl_sgl", i));
        copy->setAccessibleName(QStringLiteral("Сигнал %1").arg(i));
        copy->setPalette(model->palette());
        copy->setFont(model->font());
        copy->setAlignment(model->alignment());
        copy->setFrameStyle(model->frameStyle());
        copy->setGeometry(kGridLeft + kCellWidth * ((i - 1) % 16),
                          kGridTop + kCellHeight * ((i - 1) / 16), kCellWidth, kCellHeight);
        setLit(copy, true);
        copy->show();
        lbl_sgl[i] = copy;
    }
}

void MainWindow::showPoll(const PollPicture& p) {
    lbl_pr_ver->setText(p.pr_ver);
    lbl_sw_ver->setText(p.sw_ver);
    lbl_modbus_off->setVisible(p.modbus_blocked);
    mnu_param->setEnabled(!p.modbus_blocked);
    if (p.object_look)
        applyObjectTypeLook(*p.object_look);
    lbl_service->setText(p.service);
    lbl_motomin->setText(p.motomin);
    for (int q = 0; q < kQuantityCount; ++q)
        lbl_quantity[q]->setText(p.quantity_texts[q]);
    lbl_adc_board_d->setText(p.adc_board_d);
    for (int i = 0; i < kSignalCount; ++i)
        if (lbl_sgl[i])
            setLit(lbl_sgl[i], p.signal_lit[i]);
    for (int i = 0; i < kLedCount; ++i)
        setLit(lbl_led[i], p.led_lit[i]);
    for (int i = 0; i < kFaultCount; ++i)
        lbl_faults[i]->setText(p.faults[i]);
}

void MainWindow::applyObjectTypeLook(const ObjectTypeLook& look) {
    lbl_object->setText(look.caption);
    for (int i = 6; i < kLedCount; ++i)
        lbl_led[i]->setVisible(look.led_visible[i]);
    const int shaft = static_cast<int>(Quantity::ShaftSpeed);
    lblc_quantity[shaft]->setVisible(look.prop_shaft_visible);
    lbl_quantity[shaft]->setVisible(look.prop_shaft_visible);
}

QString MainWindow::text() const {
    return lbl_sys_mes->text();
}

void MainWindow::setText(const QString& text) {
    lbl_sys_mes->setText(text);
}

void MainWindow::showProgress(const QString& text) {
    setText(text);
    lbl_sys_mes->repaint();
}

int MainWindow::slaveAddress() const {
    return cmb_slad->currentIndex();
}

void MainWindow::setSlaveAddress(int address) {
    cmb_slad->setCurrentIndex(address);
}

bool MainWindow::armOffChecked() const {
    return chk_armoff->isChecked();
}

void MainWindow::showTransactionCounter(int counter) {
    lbl_tr_id->setText(QString::number(counter));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}
