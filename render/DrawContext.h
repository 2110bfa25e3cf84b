// The drawing surface Paint draws on: exactly the operations the diagram
// needs, in integer window pixels. The window, printer, image, PDF and SVG
// draw through a QPainter implementation (qtdraw/), tests and traces through the
// recording one (render/RecordingContext.h).
#pragma once

#include "diagram/Color.h"
#include "diagram/DrawingResources.h"
#include "diagram/Geometry.h"

#include <string_view>

// Where TextOut places a text relative to its point; the values are those of
// the classic text-alignment flags.
enum class TextAlign {
    LeftTop = 0,   // left edge at x, top of the character cell at y
    CenterTop = 6, // centred on x, top of the character cell at y
};

class CDrawContext {
public:
    virtual ~CDrawContext() = default;

    // Outlines (left, top)-(right, bottom) with the current pen and fills the
    // inside white; right and bottom are exclusive, as for every rectangle.
    virtual void Rectangle(const Rect& rect) = 0;
    // A straight line from the current position with the current pen; the end
    // point itself is not drawn and becomes the current position.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Text (UTF-8, or Latin-1 when it is not valid UTF-8) in the current font
    // and text colour.
    virtual void TextOut(int x, int y, TextAlign align, std::string_view text) = 0;
    virtual void SetTextColor(COLORREF color) = 0;
    // Width in pixels of text in the current font.
    virtual int TextWidth(std::string_view text) = 0;
    virtual void FillSolidRect(int x, int y, int width, int height, COLORREF color) = 0;
    // Make the pen or font current; each returns the one it replaces.
    virtual PenSpec SelectPen(const PenSpec& pen) = 0;
    virtual FontSpec SelectFont(const FontSpec& font) = 0;
};

// Selects a pen or font for the life of the object and puts the previous one
// back, so that every step hands the context back with what it found.
template <class Resource, Resource (CDrawContext::*Select)(const Resource&)> class SelectionScope {
public:
    SelectionScope(CDrawContext& dc, const Resource& wanted)
        : dc(dc), previous((dc.*Select)(wanted)) {}
    ~SelectionScope() { (dc.*Select)(previous); }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

private:
    CDrawContext& dc;
    Resource previous;
};

using PenScope = SelectionScope<PenSpec, &CDrawContext::SelectPen>;
using FontScope = SelectionScope<FontSpec, &CDrawContext::SelectFont>;
