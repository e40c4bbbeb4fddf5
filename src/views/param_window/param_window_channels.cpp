#include "views/param_window/param_window.h"

#include "params/param_captions.h"
#include "params/param_groups.h"
#include "views/param_window/param_window_tab_strip.h"
#include "views/param_window/param_window_widgets.h"

#include <QGroupBox>
#include <QLabel>

// Six channel frames over one tab strip: the panel's own eight channels and those of the SNX
// modules, each a grid of channels by the five settings of a channel.

namespace {

constexpr int kGridTop = 840;
constexpr int kRowStep = 360;
constexpr int kBoxWidth = 735;
constexpr int kBoxHeight = 375;

constexpr int ColumnLeft(int column) {
    return 1200 + 780 * column;
}

// Bits of the discrete input inversion mask, shown beneath its box in frame 0; Label1 34..43.
const char* const kInversionBits[] = {
    "1 - Д. масла П", "2 - Д. масла А", "4 - Т. масла П", "8 - Т. ОЖ П",     "16 - У. ОЖ П",
    "32 - Ут. топл.", "64 - СТОП",      "128 - Прогр.",   "256 - Не нейтр.", "512 - Осн. пит.",
};
constexpr int kFirstInversionLabel = 34;

} // namespace

void ParamWindow::buildChannels() {
    const QList<QGroupBox*> frames = BuildTabStrip(frm_prg, {.strip_name = "TabStrip_snx",
                                                             .frame_array = "frm_snx",
                                                             .count = kSnxFrames,
                                                             .strip = {13320, 360, 7455, 4575},
                                                             .frame = {13560, 480, 6975, 3975},
                                                             .tab_caption = SnxTabCaption,
                                                             .frame_caption = SnxFrameCaption});

    for (int g = 0; g < kSnxFrames; ++g) {
        QGroupBox* frame = frames[g];
        for (int c = 0; c < kChannelColumns; ++c)
            addCaption(frame, ChannelColumnCaption(c), {ColumnLeft(c), 600, kBoxWidth, 240})
                ->setAlignment(Qt::AlignCenter);
        for (int row = 0; row < kChannelsPerGroup; ++row) {
            const int top = kGridTop + kRowStep * row;
            const QString name = g == 0 ? PanelChannelName(row) : QString::number(row + 1);
            addCaption(frame, name, {60, top, ColumnLeft(0) - 120 - 60, kBoxHeight})
                ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            for (int c = 0; c < kChannelColumns; ++c)
                addBox(frame, ChannelIndex(g, c, row), {ColumnLeft(c), top, kBoxWidth, kBoxHeight});
        }
    }

    QGroupBox* panel = frames[0];
    QLabel* heading = addCaption(panel, ParamCaption(494), {5280, 360, 1620, 450});
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    addBox(panel, 494, {5280, kGridTop, kBoxWidth, kBoxHeight});
    int top = kGridTop + 420;
    for (int bit = 0; bit < 10; ++bit) {
        QLabel* label =
            PlaceLabel(panel, QString::fromUtf8(kInversionBits[bit]), {5280, top, 1620, 225});
        MarkArrayElement(label, "Label1", kFirstInversionLabel + bit);
        top += 225;
    }
}
