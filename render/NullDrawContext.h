// A drawing context that draws nowhere. The first paint after a load goes
// into it: it lays out the plot, computes the scales and composes a zoom
// window's title without drawing a pixel or keeping any operation.
#pragma once

#include "render/DrawContext.h"

#include <utility>

class CNullDrawContext final : public CDrawContext {
public:
    void Rectangle(const Rect&) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Lines(std::span<const LineSegment>) override {}
    // Nothing is drawn: the fewest lines will do.
    bool DrawsLinesAsPixels() const override { return true; }
    void TextOut(int, int, TextAlign, std::string_view) override {}
    void SetTextColor(COLORREF) override {}
    // No font is measured: text widths only thin out the X labels, which
    // are not drawn here, and no layout member depends on them.
    int TextWidth(std::string_view) override { return 0; }
    void FillSolidRect(int, int, int, int, COLORREF) override {}
    PenSpec SelectPen(const PenSpec& wanted) override { return std::exchange(pen, wanted); }
    FontSpec SelectFont(const FontSpec& wanted) override { return std::exchange(font, wanted); }

private:
    PenSpec pen{1, 0};
    FontSpec font;
};
