#include "views/param_window/param_window.h"

#include "views/param_window/scroll_geometry.h"
#include "views/param_window/twips.h"

#include <QGroupBox>
#include <QScrollBar>

// The content is larger than many screens: the window keeps its size within limits and two bars
// move the content frame. The frame follows a bar while its thumb is dragged, not only on release.

namespace {

QScrollBar* MakeBar(QWidget* parent, Qt::Orientation orientation, const char* name) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 0);
    bar->setSingleStep(kScrollSmallChange);
    bar->setPageStep(kScrollLargeChange);
    bar->hide();
    return bar;
}

void Place(QScrollBar* bar, const ScrollBarPlace& place) {
    if (!place.visible) {
        // The content fits now; left scrolled, part of it would stay out of reach with no bar
        // to bring it back.
        bar->setValue(0);
        bar->hide();
        return;
    }
    bar->setGeometry(TwipsToPx(place.left), TwipsToPx(place.top), TwipsToPx(place.width),
                     TwipsToPx(place.height));
    bar->setMaximum(place.maximum);
    bar->show();
    bar->raise();
}

TwipSize ToTwips(QSize px) {
    return {PxToTwips(px.width()), PxToTwips(px.height())};
}

} // namespace

void ParamWindow::buildScrollBars() {
    vertical_bar = MakeBar(this, Qt::Vertical, "VScroll1");
    horizontal_bar = MakeBar(this, Qt::Horizontal, "HScroll1");
    connect(vertical_bar, &QScrollBar::valueChanged, this,
            [this](int value) { frm_prg->move(frm_prg->x(), TwipsToPx(ContentTop(value))); });
    connect(horizontal_bar, &QScrollBar::valueChanged, this,
            [this](int value) { frm_prg->move(TwipsToPx(ContentLeft(value)), frm_prg->y()); });
}

// A window manager may report the size of a maximized window before its state: the limits are
// applied once both have arrived, or they would pull a maximized window back to the limit.
void ParamWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (scroll_layout_pending)
        return;
    scroll_layout_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scroll_layout_pending = false;
            applyScrollGeometry();
        },
        Qt::QueuedConnection);
}

void ParamWindow::applyScrollGeometry() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    auto compute = [this] {
        return ComputeScrollGeometry(ToTwips(frameGeometry().size()), ToTwips(size()));
    };
    ScrollGeometry g = compute();
    const QSize limited(TwipsToPx(g.inner.width), TwipsToPx(g.inner.height));
    if (limited != size()) {
        // Whole pixels land a few twips inside the limit; the bars are laid out for the size the
        // window really took.
        resize(limited);
        g = compute();
    }
    Place(vertical_bar, g.vertical);
    Place(horizontal_bar, g.horizontal);
}
