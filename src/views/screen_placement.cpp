#include "views/screen_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
// The window manager tells a frame's size only once a window is on the screen; until then, room
// for a common title bar and border.
constexpr QMargins kUsualFrame(8, 40, 8, 8);

QMargins frameOf(const QWidget* shown) {
    if (shown == nullptr || !shown->isVisible())
        return kUsualFrame;
    const QRect outer = shown->frameGeometry();
    const QRect inner = shown->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    return frame.isNull() ? kUsualFrame : frame;
}

// The coordinate that keeps [from, from + length) inside [start, start + room), the start
// winning when it cannot.
int inside(int from, int length, int start, int room) {
    return std::max(start, std::min(from, start + room - length));
}
} // namespace

void PlaceOnScreen(QWidget* window, QSize wanted) {
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : window->screen();
    if (screen == nullptr) {
        window->resize(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(owner);
    window->resize(wanted.boundedTo(area.size().shrunkBy(frame)).expandedTo(window->minimumSize()));
    QRect outer = QRect(QPoint(), window->size()).marginsAdded(frame);
    outer.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : area.center());
    window->move(inside(outer.x(), outer.width(), area.x(), area.width()),
                 inside(outer.y(), outer.height(), area.y(), area.height()));
}
