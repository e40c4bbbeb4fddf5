#include "views/param_window/param_window.h"

#include "params/param_groups.h"
#include "views/param_window/param_window_tab_strip.h"
#include "views/param_window/param_window_widgets.h"

#include <QGroupBox>
#include <QLabel>

// The logic blocks, one frame per block over a tab strip: a majority block switches its output
// when at least N of its eight inputs are set, a NOT block inverts each input onto its own output.

namespace {

constexpr int kBoxHeight = 375;
constexpr int kInputWidth = 435;
constexpr int kInputStep = 480;

} // namespace

void ParamWindow::buildLogic() {
    const QList<QGroupBox*> frames = BuildTabStrip(frm_prg, {.strip_name = "TabStrip_logic",
                                                             .frame_array = "frm_logic",
                                                             .count = kLogicFrames,
                                                             .strip = {15480, 11640, 6015, 2175},
                                                             .frame = {15600, 11760, 5775, 1335},
                                                             .tab_caption = LogicTabCaption,
                                                             .frame_caption = LogicFrameCaption,
                                                             .tight_tabs = true});

    for (int b = 0; b < kMajorityBlocks; ++b) {
        QGroupBox* frame = frames[b];
        addBox(frame, MajorityThresholdIndex(b), {120, 600, 495, kBoxHeight});
        MarkArrayElement(PlaceLabel(frame, "из 8", {720, 600, 840, kBoxHeight}), "Label2", b);
        for (int j = 0; j < kLogicInputs; ++j)
            addBox(frame, MajorityInputIndex(b, j),
                   {1680 + kInputStep * j, 600, kInputWidth, kBoxHeight});
    }

    for (int b = 0; b < kNotBlocks; ++b) {
        QGroupBox* frame = frames[kMajorityBlocks + b];
        MarkArrayElement(PlaceLabel(frame, "Входы", {120, 480, 1380, kBoxHeight}), "Label3", b);
        MarkArrayElement(PlaceLabel(frame, "Выходы", {120, 900, 1380, 255}), "Label4", b);
        for (int j = 0; j < kLogicInputs; ++j) {
            const int left = 1560 + kInputStep * j;
            addBox(frame, NotInputIndex(b, j), {left, 480, kInputWidth, kBoxHeight});
            QLabel* output = PlaceLabel(frame, QString::number(NotOutputNumber(b, j)),
                                        {left, 900, kInputWidth, 255});
            output->setAlignment(Qt::AlignCenter);
            MarkArrayElement(output, "lbl_notout", kLogicInputs * b + j);
        }
    }
}
