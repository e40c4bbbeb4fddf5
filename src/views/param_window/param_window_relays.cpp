#include "views/param_window/param_window.h"

#include "params/param_groups.h"
#include "views/param_window/param_window_tab_strip.h"
#include "views/param_window/param_window_widgets.h"

#include <QGroupBox>
#include <QLabel>

// Relay assignments: the panel's and the switchboard link's relays in two fixed columns with the
// relay numbers between them, and the KLT modules' relays in frames over a tab strip.

namespace {

constexpr int kFirstRelayTop = 7440;
constexpr int kRowStep = 360;
constexpr int kBoxWidth = 735;
constexpr int kBoxHeight = 375;
constexpr int kPanelColumn = 15600;
constexpr int kSwitchboardColumn = 17040;

} // namespace

void ParamWindow::buildRelays() {
    const QRect headingAt{0, kFirstRelayTop - 255, 1400, 255};
    QLabel* panelHeading =
        PlaceLabel(frm_prg, PanelRelayHeading(), headingAt.translated(kPanelColumn, 0));
    MarkArrayElement(panelHeading, "Label1", 17);
    QLabel* switchboardHeading =
        PlaceLabel(frm_prg, SwitchboardRelayHeading(), headingAt.translated(kSwitchboardColumn, 0));
    MarkArrayElement(switchboardHeading, "Label1", 18);

    for (int row = 0; row < kSwitchboardRelays; ++row) {
        const int top = kFirstRelayTop + kRowStep * row;
        const int numberLeft = kPanelColumn + kBoxWidth + 60;
        addCaption(frm_prg, QString::number(row + 1),
                   {numberLeft, top, kSwitchboardColumn - 60 - numberLeft, kBoxHeight})
            ->setAlignment(Qt::AlignCenter);
        if (row < kPanelRelays)
            addBox(frm_prg, PanelRelayIndex(row), {kPanelColumn, top, kBoxWidth, kBoxHeight});
        addBox(frm_prg, SwitchboardRelayIndex(row),
               {kSwitchboardColumn, top, kBoxWidth, kBoxHeight});
    }

    const QList<QGroupBox*> frames = BuildTabStrip(frm_prg, {.strip_name = "TabStrip_klt",
                                                             .frame_array = "frm_klt",
                                                             .count = kKltFrames,
                                                             .strip = {18600, 7440, 3135, 3975},
                                                             .frame = {18840, 7560, 1815, 3375},
                                                             .tab_caption = KltTabCaption,
                                                             .frame_caption = KltFrameCaption});
    for (int k = 0; k < kKltFrames; ++k) {
        for (int row = 0; row < kKltRelays; ++row) {
            const int top = 240 + kRowStep * row;
            addCaption(frames[k], QString::number(row + 1), {120, top, 480, kBoxHeight})
                ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            addBox(frames[k], KltRelayIndex(k, row), {720, top, kBoxWidth, kBoxHeight});
        }
    }
}
