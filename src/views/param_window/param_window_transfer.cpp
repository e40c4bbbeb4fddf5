#include "views/param_window/param_window.h"

#include "views/param_window/param_window_widgets.h"
#include "views/param_window/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

// How far a read-all, a write-all or its check is: a line of text and a bar in the free strip
// under the middle column, above the bulk buttons they belong to. Both are hidden while nothing
// is under way, so the window looks as drawn.

namespace {
const QString kMeaning = QStringLiteral("Ход обмена параметрами с контроллером");
} // namespace

void ParamWindow::buildTransferProgress() {
    transfer_text = PlaceLabel(frm_prg, {}, {8640, 7680, 4320, 255});
    transfer_text->setObjectName("transfer_text");
    transfer_text->setAccessibleDescription(kMeaning);
    transfer_text->hide();
    transfer_bar = new QProgressBar(frm_prg);
    transfer_bar->setObjectName("transfer_bar");
    transfer_bar->setGeometry(TwipsRect(8640, 7980, 4320, 300));
    transfer_bar->setAccessibleDescription(kMeaning);
    transfer_bar->setFormat(QStringLiteral("%p %"));
    transfer_bar->hide();
}

void ParamWindow::showTransfer(const QString& text, int done, int total) {
    const bool underWay = !text.isEmpty();
    transfer_text->setVisible(underWay);
    transfer_bar->setVisible(underWay);
    if (!underWay)
        return;
    transfer_text->setText(text);
    // A screen reader names the bar by what it measures, as it names the label by its text.
    transfer_bar->setAccessibleName(text);
    transfer_bar->setRange(0, total);
    transfer_bar->setValue(done);
}
