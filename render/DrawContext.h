// The drawing surface Paint draws on: exactly the operations the diagram
// needs, in integer window pixels. The window, printer, image, PDF and SVG
// draw through a QPainter implementation (qtdraw/), tests and traces through the
// recording one (render/RecordingContext.h).
#pragma once

#include "diagram/Color.h"
#include "diagram/DrawingResources.h"
#include "diagram/Geometry.h"

#include <cstddef>
#include <exception>
#include <span>
#include <string_view>

// Where TextOut places a text relative to its point; the values are those of
// the classic text-alignment flags.
enum class TextAlign {
    LeftTop = 0,   // left edge at x, top of the character cell at y
    CenterTop = 6, // centred on x, top of the character cell at y
};

// top <= row <= bottom as one comparison: below top, row - top wraps around
// to a large unsigned number.
inline bool RowWithin(int row, int top, int bottom) {
    return static_cast<unsigned>(row) - static_cast<unsigned>(top) <=
           static_cast<unsigned>(bottom) - static_cast<unsigned>(top);
}

// A line from `from` to `to`: MoveTo(from) followed by LineTo(to).
struct LineSegment {
    Point from;
    Point to;
};

class CDrawContext {
public:
    virtual ~CDrawContext() = default;

    // Device pixels per layout pixel. Text (positions and widths) is given
    // in layout pixels; lines, rectangles and fills in device pixels. A pen's
    // width is given in layout pixels and drawn round(width x ratio) device
    // pixels wide. At a ratio other than 1 a line is the one-pixel line of
    // its device pixels with every pixel widened to a square of that width
    // towards the right and below.
    virtual double PixelRatio() const { return 1.0; }

    // Outlines (left, top)-(right, bottom) with the current pen and fills the
    // inside white; right and bottom are exclusive, as for every rectangle.
    // The outline lies inside, as wide as the pen.
    virtual void Rectangle(const Rect& rect) = 0;
    // A straight line from the current position with the current pen; the end
    // point itself is not drawn and becomes the current position.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Every segment in order as MoveTo and LineTo; a context may draw them
    // together faster, with the same result (the current position ends at
    // the last segment's end).
    virtual void Lines(std::span<const LineSegment> segments) {
        for (const LineSegment& segment : segments) {
            MoveTo(segment.from.x, segment.from.y);
            LineTo(segment.to.x, segment.to.y);
        }
    }
    // One block of a curve: the segments from `previous` through the points
    // (columns[k], rows[k]), k = 0 .. size - 1, in turn, of which only those
    // whose two ends both lie in rows top .. bottom are drawn, as Lines of
    // them in order. Returns the last point. A context may draw the block
    // without passing through segments, with the same result.
    virtual Point CurveBlock(const int* columns, const int* rows, std::size_t size, Point previous,
                             int top, int bottom);
    // Whether lines of the current pen leave nothing but the pixels they
    // cover, the same whatever order and whichever lines cover them, and a
    // filled rectangle its pixels in its colour: a curve of a million rows
    // may then be handed over as what each pixel column shows, and a mark
    // that a later one paints over is left out. A context that keeps or
    // passes on the operations themselves answers no and is given every one.
    virtual bool DrawsLinesAsPixels() const { return false; }
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

// Collects segments and hands them to the context in batches: before any
// other operation on the context (Flush), when full and when it goes.
class LineBatch {
public:
    explicit LineBatch(CDrawContext& dc) : dc(dc) {}
    // The segments collected before an exception still reach the context;
    // a second failure while one is on its way is dropped.
    ~LineBatch() noexcept(false) {
        if (std::uncaught_exceptions() == unwinding) {
            Flush();
            return;
        }
        try {
            Flush();
        } catch (...) {
        }
    }
    LineBatch(const LineBatch&) = delete;
    LineBatch& operator=(const LineBatch&) = delete;

    void Add(Point from, Point to) {
        if (count == kSize)
            Flush();
        segments[count++] = LineSegment{from, to};
    }
    // The free part of the batch, after handing it to the context when it
    // is full. A loop that queues many segments writes them there and tells
    // how many with Added, keeping its count in a register meanwhile.
    std::span<LineSegment> Room() {
        if (count == kSize)
            Flush();
        return std::span<LineSegment>(segments + count, kSize - count);
    }
    void Added(std::size_t written) { count += written; }
    void Flush() {
        if (count > 0)
            dc.Lines(std::span<const LineSegment>(segments, count));
        count = 0;
    }

private:
    static constexpr std::size_t kSize = 256;
    CDrawContext& dc;
    const int unwinding = std::uncaught_exceptions();
    std::size_t count = 0;
    LineSegment segments[kSize];
};

using PenScope = SelectionScope<PenSpec, &CDrawContext::SelectPen>;
using FontScope = SelectionScope<FontSpec, &CDrawContext::SelectFont>;
