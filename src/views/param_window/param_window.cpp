#include "views/param_window/param_window.h"

#include "params/param_description.h"
#include "views/param_window/param_window_widgets.h"
#include "views/param_window/twips.h"
#include "views/screen_placement.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The designed client area; smaller screens get a smaller window and scroll.
constexpr int kDesignedWidth = 22350;
constexpr int kDesignedHeight = 14565;

} // namespace

ParamWindow::ParamWindow(QWidget* owner, const QString& pickerFolder) : QWidget(owner, Qt::Window) {
    setObjectName("frm_param");
    setWindowTitle("Программируемые параметры");
    // The layout was drawn for a small 8-point face; larger defaults would crowd the captions.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    frm_prg = PlaceFrame(this, "Программируемые параметры", {120, 120, 21855, 14055});
    frm_prg->setObjectName("frm_prg");

    buildColumns();
    buildChannels();
    buildRelays();
    buildLogic();
    buildCodeLegends();
    buildColourLegend();
    buildButtons(pickerFolder);
    buildTransferProgress();

    lbl_modbus_off = PlaceLabel(frm_prg, "Управление по Modbus заблокировано в ПКВ.604",
                                {13440, 5040, 7335, 1335});
    lbl_modbus_off->setObjectName("lbl_modbus_off");
    QFont bold = lbl_modbus_off->font();
    bold.setPointSize(24);
    bold.setBold(true);
    lbl_modbus_off->setFont(bold);
    lbl_modbus_off->setWordWrap(true);
    lbl_modbus_off->setAlignment(Qt::AlignCenter);
    QPalette red = lbl_modbus_off->palette();
    red.setColor(QPalette::WindowText, QColor::fromRgb(0xFF0000));
    lbl_modbus_off->setPalette(red);
    lbl_modbus_off->setAutoFillBackground(true);
    lbl_modbus_off->hide();

    refresh_timer = new QTimer(this);
    refresh_timer->setObjectName("Timer1");
    refresh_timer->setInterval(500);
    connect(refresh_timer, &QTimer::timeout, this, &ParamWindow::driveWatchTick);

    buildScrollBars();

    PlaceOnScreen(this, QSize(TwipsToPx(kDesignedWidth), TwipsToPx(kDesignedHeight)));
}

QLineEdit* ParamWindow::addBox(QWidget* parent, int index, const QRect& twips) {
    auto* box = new QLineEdit("-", parent);
    MarkArrayElement(box, "txt_par", index);
    box->setGeometry(TwipsRect(twips));
    box->setAccessibleName(QString("PAR%1").arg(index));
    box->setAccessibleDescription(ParamDescription(index));
    // Whatever changes the text, typing or a writer, the box no longer shows where its value came
    // from; writers therefore set the colour after the text.
    connect(box, &QLineEdit::textChanged, this,
            [this, index] { setState(index, BoxState::Changed); });
    connect(box, &QLineEdit::returnPressed, this, [this, index] { emit enterPressed(index); });
    txt_par[index] = box;
    return box;
}

QLabel* ParamWindow::addCaption(QWidget* parent, const QString& text, const QRect& twips) {
    QLabel* label = PlaceLabel(parent, text, twips);
    MarkArrayElement(label, "lblc_par", caption_count++);
    return label;
}

QString ParamWindow::text(int index) const {
    const QLineEdit* b = box(index);
    return b ? b->text() : QString();
}

void ParamWindow::setText(int index, const QString& text) {
    if (QLineEdit* b = box(index))
        b->setText(text);
}

void ParamWindow::setState(int index, BoxState state) {
    QLineEdit* b = box(index);
    if (!b)
        return;
    QPalette p = b->palette();
    p.setColor(QPalette::Base, QColor::fromRgb(BoxStateRgb(state)));
    b->setPalette(p);
    box_states[index] = state;
}

std::optional<BoxState> ParamWindow::state(int index) const {
    return box(index) ? box_states[index] : std::nullopt;
}

QLineEdit* ParamWindow::box(int index) const {
    return index >= 0 && index < kParamCount ? txt_par[index] : nullptr;
}

void ParamWindow::setModbusBlocked(bool blocked) {
    lbl_modbus_off->setVisible(blocked);
}

// The drive watch only matters while the picker can be seen.
void ParamWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh_timer->start();
}

void ParamWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    refresh_timer->stop();
}
