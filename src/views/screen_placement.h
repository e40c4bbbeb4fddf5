#pragma once

#include <QSize>

class QWidget;

// Gives a window that is about to open its size, `wanted` or less, and a place wholly inside the
// available area of its screen (panels left clear), frame and title bar included: centred over
// the window it belongs to, or on the screen. A window larger than its screen can shrink to keeps
// its title bar on the screen.
void PlaceOnScreen(QWidget* window, QSize wanted);
