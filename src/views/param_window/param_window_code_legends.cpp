#include "views/param_window/param_window.h"

#include "views/param_window/param_window_widgets.h"

#include <QGroupBox>
#include <QLabel>

// What the codes typed into the channel grid mean, below the channel frames: sensor types of the
// SNX channels and of the built-in sensors, and the weights that add up to a control code.

namespace {

constexpr int kTop = 5040;
constexpr int kLine = 200;
constexpr int kLineHeight = 225;

struct LegendText {
    int label; // element of Label1
    int left;
    int top;
    const char* text;
};

constexpr int kTypesLeft = 13320;
constexpr int kBuiltInLeft = 16260;
constexpr int kWeightsLeft = 17880;
constexpr int kHeads = kTop + 240;
constexpr int kCodes = kHeads + 240;
// The built-in temperature codes stand under the built-in pressure codes.
constexpr int kTemperatureHead = kCodes + 3 * kLine;
constexpr int kTemperatureCodes = kTemperatureHead + kLine;

constexpr int Line(int first, int n) {
    return first + kLine * n;
}

const LegendText kLegend[] = {
    {0, kTypesLeft, kTop, "Коды типов датчиков"},
    {1, kTypesLeft, kHeads, "SNX"},
    {2, kTypesLeft, Line(kCodes, 0), "0 - отключен"},
    {3, kTypesLeft, Line(kCodes, 1), "1 - Pt1000  (-200 ... +850 °C)"},
    {4, kTypesLeft, Line(kCodes, 2), "2 - ТХА(К)  (-200 ... +1360 °C)"},
    {5, kTypesLeft, Line(kCodes, 3), "3 - 4-20 мА   (0 ... +700 °C)"},
    {6, kTypesLeft, Line(kCodes, 4), "4 - 4-20 мА   (0 ... 2,5 бар)"},
    {7, kTypesLeft, Line(kCodes, 5), "5 - 4-20 мА   (0 ... 4 бар)"},
    {8, kTypesLeft, Line(kCodes, 6), "6 - 4-20 мА   (0 ... 7 бар)"},
    {9, kTypesLeft, Line(kCodes, 7), "7 - 4-20 мА   (0 ... 10 бар)"},
    {10, kTypesLeft, Line(kCodes, 8), "8 - 4-20 мА   (0 ... 30 бар)"},
    {11, kTypesLeft, Line(kCodes, 9), "9 - 4-20 мА   (0 ... 40 бар)"},
    {12, kTypesLeft, Line(kCodes, 10), "10 - Дискретный НР"},
    {13, kTypesLeft, Line(kCodes, 11), "11 - Дискретный НЗ"},
    {14, kTypesLeft, Line(kCodes, 12), "12 - 4-20 мА   (0 ... 100 %)"},
    {15, kBuiltInLeft, kHeads, "Встр. P"},
    {16, kBuiltInLeft, kTemperatureHead, "Встр. T"},
    {19, kBuiltInLeft, Line(kCodes, 0), "0 - Настр."},
    {20, kBuiltInLeft, Line(kCodes, 1), "1 -23.3829"},
    {21, kBuiltInLeft, Line(kCodes, 2), "2 - откл"},
    {22, kBuiltInLeft, Line(kTemperatureCodes, 0), "0 - Настр."},
    {23, kBuiltInLeft, Line(kTemperatureCodes, 1), "1 -Настр. огр."},
    {24, kBuiltInLeft, Line(kTemperatureCodes, 2), "2 - 19.3828"},
    {25, kBuiltInLeft, Line(kTemperatureCodes, 3), "3 - откл"},
    {26, kWeightsLeft, kTop, "Десятичные веса кода управления:"},
    {27, kWeightsLeft, Line(kHeads, 0), "1 - уставка по неисправности П1"},
    {28, kWeightsLeft, Line(kHeads, 1), "2 - уставка по аварии включена"},
    {29, kWeightsLeft, Line(kHeads, 2), "4 - останов с охлаждением"},
    {30, kWeightsLeft, Line(kHeads, 3), "8 - останов без охлаждения"},
    {31, kWeightsLeft, Line(kHeads, 4), "16 - контроль всегда"},
    {32, kWeightsLeft, Line(kHeads, 5), "32 - уставка по неисправности П2"},
    {33, kWeightsLeft, Line(kHeads, 6), "64 - блокировка запуска"},
};

} // namespace

void ParamWindow::buildCodeLegends() {
    for (const LegendText& t : kLegend) {
        QLabel* label =
            PlaceLabel(frm_prg, QString::fromUtf8(t.text), {t.left, t.top, 0, kLineHeight});
        FitWidth(label);
        MarkArrayElement(label, "Label1", t.label);
    }
}
