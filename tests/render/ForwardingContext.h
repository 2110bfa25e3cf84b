// A context that passes every operation on to a QPainter context but does
// not itself take lines as pixels: the diagram hands it every segment and
// every mark, and the QPainter context draws them as it would its own.
#pragma once

#include "qtdraw/QtDrawContext.h"

class ForwardingContext : public CDrawContext {
public:
    explicit ForwardingContext(CQtDrawContext& inner) : inner(inner) {}
    double PixelRatio() const override { return inner.PixelRatio(); }
    void Rectangle(const Rect& rect) override { inner.Rectangle(rect); }
    void MoveTo(int x, int y) override { inner.MoveTo(x, y); }
    void LineTo(int x, int y) override { inner.LineTo(x, y); }
    void Lines(std::span<const LineSegment> segments) override { inner.Lines(segments); }
    Point CurveBlock(const int* columns, const int* rows, std::size_t size, Point previous, int top,
                     int bottom) override {
        return inner.CurveBlock(columns, rows, size, previous, top, bottom);
    }
    void TextOut(int x, int y, TextAlign align, std::string_view text) override {
        inner.TextOut(x, y, align, text);
    }
    void SetTextColor(COLORREF color) override { inner.SetTextColor(color); }
    int TextWidth(std::string_view text) override { return inner.TextWidth(text); }
    void FillSolidRect(int x, int y, int width, int height, COLORREF color) override {
        inner.FillSolidRect(x, y, width, height, color);
    }
    PenSpec SelectPen(const PenSpec& pen) override { return inner.SelectPen(pen); }
    FontSpec SelectFont(const FontSpec& font) override { return inner.SelectFont(font); }

protected:
    CQtDrawContext& inner;
};
