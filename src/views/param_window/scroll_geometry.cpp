#include "views/param_window/scroll_geometry.h"

#include <algorithm>

ScrollGeometry ComputeScrollGeometry(TwipSize outer, TwipSize inner) {
    ScrollGeometry g;
    g.outer = {std::clamp(outer.width, kMinWindowWidth, kMaxWindowWidth),
               std::clamp(outer.height, kMinWindowHeight, kMaxWindowHeight)};
    g.inner = {inner.width + g.outer.width - outer.width,
               inner.height + g.outer.height - outer.height};

    ScrollBarPlace& v = g.vertical;
    v.visible = kContentHeight + 200 + 511 > g.outer.height;
    if (v.visible) {
        v.left = g.inner.width - kScrollBarThickness;
        v.width = kScrollBarThickness;
        v.height = g.inner.height;
        v.maximum = kContentHeight - g.outer.height + 750;
    }

    ScrollBarPlace& h = g.horizontal;
    h.visible = kContentWidth + 100 + 255 > g.outer.width;
    if (h.visible) {
        h.top = g.inner.height - kScrollBarThickness;
        h.height = kScrollBarThickness;
        h.width = v.visible ? g.inner.width - kScrollBarThickness : g.inner.width;
        h.maximum = kContentWidth - g.outer.width + (v.visible ? 550 : 350);
    }
    return g;
}
