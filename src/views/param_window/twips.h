#pragma once

#include <QRect>

// The window is drawn in twips, 15 to a pixel; Qt scales pixels for high-DPI screens.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPx(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PxToTwips(int px) {
    return px * kTwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height)};
}

inline QRect TwipsRect(const QRect& twips) {
    return TwipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}
