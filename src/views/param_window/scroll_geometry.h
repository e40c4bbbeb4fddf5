#pragma once

// Where the parameter window's two scroll bars go and how far they reach, for a window of a given
// size. All lengths in twips; "outer" includes borders and title bar, "inner" is the client area.

constexpr int kContentWidth = 21855; // frm_prg
constexpr int kContentHeight = 14055;
constexpr int kScrollBarThickness = 255;
constexpr int kScrollSmallChange = 200;
constexpr int kScrollLargeChange = 1000;
constexpr int kMinWindowHeight = 4000;
constexpr int kMaxWindowHeight = 14100;
constexpr int kMinWindowWidth = 7000;
constexpr int kMaxWindowWidth = 22400;

struct TwipSize {
    int width = 0;
    int height = 0;
    bool operator==(const TwipSize&) const = default;
};

struct ScrollBarPlace {
    bool visible = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int maximum = 0;
};

struct ScrollGeometry {
    TwipSize outer; // the window's size after the limits
    TwipSize inner; // its client area at that size
    ScrollBarPlace vertical;
    ScrollBarPlace horizontal;
};

// The limits applied to the window, then both bars placed for the limited size. Borders keep
// their thickness, so the client area changes by as much as the window does.
ScrollGeometry ComputeScrollGeometry(TwipSize outer, TwipSize inner);

// Frame position for a bar value: the content's top follows the vertical bar from the window's
// top edge, its left the horizontal bar from 125 twips in.
constexpr int ContentTop(int verticalValue) {
    return -verticalValue;
}
constexpr int ContentLeft(int horizontalValue) {
    return 125 - horizontalValue;
}
