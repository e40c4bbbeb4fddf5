#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QWidget;

// Controls of the parameter window, placed by their twip rectangle inside the parent frame.
// Elements of a control array are named "<array>_<index>" and carry their index in the dynamic
// property "index", so tools and tests find element i of any array.

void MarkArrayElement(QWidget* widget, const char* array, int index);

QLabel* PlaceLabel(QWidget* parent, const QString& text, const QRect& twips);
// Legend texts take the width their text needs, so they never cover a neighbouring control.
void FitWidth(QLabel* label);
QGroupBox* PlaceFrame(QWidget* parent, const QString& caption, const QRect& twips);
