// Integer pixel geometry of the window: origin top left, y growing downward.
#pragma once

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// Grows the rectangle by dx and dy on each side (shrinks for negative values).
constexpr Rect InflateRect(Rect r, int dx, int dy) {
    return Rect{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}
