#include "views/param_window/param_window_widgets.h"

#include "views/param_window/twips.h"

#include <QGroupBox>
#include <QLabel>

void MarkArrayElement(QWidget* widget, const char* array, int index) {
    widget->setObjectName(QString("%1_%2").arg(QLatin1String(array)).arg(index));
    widget->setProperty("index", index);
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, const QRect& twips) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(TwipsRect(twips));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void FitWidth(QLabel* label) {
    label->resize(label->sizeHint().width(), label->height());
}

QGroupBox* PlaceFrame(QWidget* parent, const QString& caption, const QRect& twips) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(TwipsRect(twips));
    return frame;
}
