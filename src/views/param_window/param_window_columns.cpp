#include "views/param_window/param_window.h"

#include "params/param_captions.h"

#include <QGroupBox>
#include <QLineEdit>

#include <vector>

// The single parameters stand in two columns, one row each, except the multiplier rows, which
// hold three boxes side by side under one caption.

namespace {

constexpr int kFirstRowTop = 360;
constexpr int kRowStep = 360;
constexpr int kBoxWidth = 1215;
constexpr int kBoxHeight = 375;
constexpr int kMultiplierBoxWidth = 1155;

using Row = std::vector<int>;

const std::vector<Row> kLeftColumn{
    {2},
    {3},
    {4},
    {5},
    {30},
    {31},
    {6},
    {7},
    {12},
    {0},
    {328},
    {329},
    {15},
    {16},
    {330},
    {331},
    {13},
    {14},
    {491},
    {492},
    {493, 495, 496},
    {499},
    {500},
    {501},
    {502, 503, 504},
    {332},
    {333},
    {334},
    {335},
    {497},
    {25},
    {487},
    {488},
    {489},
    {490},
    {10},
};

const std::vector<int> kMiddleColumn{505, 32, 17, 24, 18, 19, 20, 21, 498, 22,
                                     1,   28, 35, 8,  36, 9,  11, 26, 23,  27};

} // namespace

void ParamWindow::buildColumns() {
    int top = kFirstRowTop;
    for (const Row& row : kLeftColumn) {
        addCaption(frm_prg, ParamCaption(row.front()), {120, top, 4680, kRowStep});
        if (row.size() == 1) {
            addBox(frm_prg, row.front(), {4920, top, kBoxWidth, kBoxHeight});
        } else {
            for (int k = 0; k < int(row.size()); ++k)
                addBox(frm_prg, row[k], {4920 + 1200 * k, top, kMultiplierBoxWidth, kBoxHeight});
        }
        top += kRowStep;
    }

    top = kFirstRowTop;
    for (int index : kMiddleColumn) {
        // The Modbus address and its time-out stand apart from the other boxes of the column.
        const int boxLeft = index == 23 || index == 27 ? 11760 : 11160;
        addCaption(frm_prg, ParamCaption(index), {6480, top, 4560, kRowStep});
        addBox(frm_prg, index, {boxLeft, top, kBoxWidth, kBoxHeight});
        top += kRowStep;
    }

    // Three settings the panel keeps without a caption: read, written and filed like the rest,
    // never shown.
    top = 3120;
    for (int index : {29, 33, 34}) {
        addBox(frm_prg, index, {12480, top, kBoxWidth, kBoxHeight})->hide();
        top += kRowStep;
    }
}
