#include "views/param_window/param_window.h"

#include "views/param_window/param_window_widgets.h"
#include "views/param_window/twips.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

// The colour legend: one swatch per box state with its meaning, painted from the same colours
// the boxes take.

namespace {

struct LegendRow {
    const char* swatch;
    BoxState state;
    int top;
    const char* text;
};

const LegendRow kRows[] = {
    {"Shape1", BoxState::FromEeprom, 10560, "Значение из ЭСППЗУ"},
    {"Shape7", BoxState::NotRead, 10920, "Значение не прочитано из ЭСППЗУ"},
    {"Shape2", BoxState::FromFile, 11520, "Значение из файла"},
    {"Shape6", BoxState::MissingInFile, 11880, "Значение отсутствует в файле"},
    {"Shape4", BoxState::MatchesFile, 12480, "Значение соответствует данному в файле"},
    {"Shape5", BoxState::DiffersFromFile, 12960, "Значение не соответствует данному в файле"},
    {"Shape3", BoxState::Changed, 13560, "Значение изменено"},
};

} // namespace

void ParamWindow::buildColourLegend() {
    PlaceLabel(frm_prg, "Легенда", {6360, 10200, 2400, 255})->setObjectName("Label30");
    int k = 0;
    for (const LegendRow& row : kRows) {
        auto* swatch = new QFrame(frm_prg);
        swatch->setObjectName(QLatin1String(row.swatch));
        swatch->setFrameShape(QFrame::Box);
        swatch->setGeometry(TwipsRect(6360, row.top, 495, 255));
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(BoxStateRgb(row.state)));
        p.setColor(QPalette::WindowText, Qt::black);
        swatch->setPalette(p);
        swatch->setAutoFillBackground(true);
        QLabel* text = PlaceLabel(frm_prg, QString::fromUtf8(row.text), {6960, row.top, 0, 255});
        FitWidth(text);
        MarkArrayElement(text, "Label31", k++);
    }
}
