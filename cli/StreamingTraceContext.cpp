#include "cli/StreamingTraceContext.h"

CStreamingTraceContext::CStreamingTraceContext(FontNames fontNames, CDrawContext& target,
                                               std::ostream& out)
    : fontNames(std::move(fontNames)), target(target), out(out) {}

void CStreamingTraceContext::Emit(const DrawOp& op) {
    out << TraceLine(op, fontNames) << '\n';
}

void CStreamingTraceContext::Rectangle(const Rect& rect) {
    Emit(RectangleOp{rect});
    target.Rectangle(rect);
}

void CStreamingTraceContext::MoveTo(int x, int y) {
    position = Point{x, y};
    target.MoveTo(x, y);
}

void CStreamingTraceContext::LineTo(int x, int y) {
    Emit(LineOp{position, Point{x, y}, pen});
    position = Point{x, y};
    target.LineTo(x, y);
}

void CStreamingTraceContext::TextOut(int x, int y, TextAlign align, std::string_view text) {
    Emit(TextOp{Point{x, y}, align, textColor, font, std::string(text)});
    target.TextOut(x, y, align, text);
}

void CStreamingTraceContext::SetTextColor(COLORREF color) {
    textColor = color;
    target.SetTextColor(color);
}

void CStreamingTraceContext::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    Emit(FillOp{x, y, width, height, color});
    target.FillSolidRect(x, y, width, height, color);
}

PenSpec CStreamingTraceContext::SelectPen(const PenSpec& newPen) {
    const PenSpec previous = pen;
    pen = newPen;
    target.SelectPen(newPen);
    return previous;
}

FontSpec CStreamingTraceContext::SelectFont(const FontSpec& newFont) {
    const FontSpec previous = font;
    font = newFont;
    target.SelectFont(newFont);
    return previous;
}
