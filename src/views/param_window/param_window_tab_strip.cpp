#include "views/param_window/param_window_tab_strip.h"

#include "views/param_window/param_window_widgets.h"
#include "views/param_window/twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QProxyStyle>
#include <QTabBar>

namespace {

// Seventeen logic tabs share one row: they give up most of their side padding and take a point
// less, so that every tab stays in view; the scroll arrows are left for very wide fonts.
class TightTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return 6;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

QList<QGroupBox*> BuildTabStrip(QWidget* parent, const TabStripLayout& layout) {
    const QRect strip = TwipsRect(layout.strip);

    auto* body = new QFrame(parent);
    body->setObjectName(QString("%1_body").arg(QLatin1String(layout.strip_name)));
    body->setFrameShape(QFrame::StyledPanel);

    auto* tabs = new QTabBar(parent);
    if (layout.tight_tabs) {
        auto* style = new TightTabStyle;
        style->setParent(tabs);
        tabs->setStyle(style);
        QFont small = tabs->font();
        small.setPointSizeF(small.pointSizeF() - 1);
        tabs->setFont(small);
    }
    tabs->setObjectName(QLatin1String(layout.strip_name));
    tabs->setShape(QTabBar::RoundedSouth);
    tabs->setDrawBase(false);
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(true);
    tabs->setElideMode(Qt::ElideNone);

    QList<QGroupBox*> frames;
    for (int k = 0; k < layout.count; ++k) {
        tabs->addTab(layout.tab_caption(k));
        QGroupBox* frame = PlaceFrame(parent, layout.frame_caption(k), layout.frame);
        MarkArrayElement(frame, layout.frame_array, k);
        frame->setVisible(k == 0);
        frames.append(frame);
    }

    const int tabHeight = tabs->sizeHint().height();
    tabs->setGeometry(strip.x(), strip.bottom() + 1 - tabHeight, strip.width(), tabHeight);
    body->setGeometry(strip.x(), strip.y(), strip.width(), strip.height() - tabHeight + 2);
    body->lower();

    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [frames](int selected) {
        for (QGroupBox* frame : frames)
            frame->hide();
        if (selected >= 0 && selected < frames.size())
            frames[selected]->show();
    });
    return frames;
}
