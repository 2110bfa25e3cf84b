// The drawing context on a QPainter: window, printer, image, PDF and SVG all
// draw the diagram through it. Antialiasing is off and every coordinate is an
// integer pixel; on a raster device without a transform a one-pixel line
// covers exactly the pixels the classic graphics interface covers (its end
// pixel left out).
//
// At a pixel ratio other than 1 the painter draws in device pixels, the
// ratio of them per layout pixel: text is drawn scaled by the ratio at the
// layout pixel it is given, and every line goes down as its one-pixel line
// widened to the pen's device width, pixel by pixel, whatever the device.
#pragma once

#include "render/DrawContext.h"

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <utility>
#include <vector>

class CQtDrawContext final : public CDrawContext {
public:
    // The painter must stay active for the life of the context.
    explicit CQtDrawContext(QPainter& painter, double pixelRatio = 1.0);
    // Draws the lines still waiting.
    ~CQtDrawContext() override;
    CQtDrawContext(const CQtDrawContext&) = delete;
    CQtDrawContext& operator=(const CQtDrawContext&) = delete;

    void Rectangle(const Rect& rect) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Lines(std::span<const LineSegment> segments) override;
    Point CurveBlock(const int* columns, const int* rows, std::size_t size, Point previous, int top,
                     int bottom) override;
    double PixelRatio() const override { return ratio; }
    // On a raster device without a transform, for a one-pixel pen; at a
    // ratio other than 1, always.
    bool DrawsLinesAsPixels() const override { return DrawsRuns(); }
    void TextOut(int x, int y, TextAlign align, std::string_view text) override;
    void SetTextColor(COLORREF color) override;
    int TextWidth(std::string_view text) override;
    void FillSolidRect(int x, int y, int width, int height, COLORREF color) override;
    PenSpec SelectPen(const PenSpec& pen) override;
    FontSpec SelectFont(const FontSpec& font) override;

private:
    struct LoadedFont {
        QFont font;
        QFontMetrics metrics;
    };

    // Consecutive lines of one pen are drawn together; any other operation
    // draws them first, so the order of the picture never changes.
    void Flush();
    // Whether lines go down as pixel runs, and how wide in device pixels.
    bool DrawsRuns() const { return ratio != 1.0 || (pixelExact && pen.width <= 1); }
    int DeviceWidth() const;
    // Fills the pending runs, each widened to width, with color.
    void FillRuns(int width, const QColor& color);
    // Queues a line of a pen that is not drawn as pixel runs: one wider
    // than a pixel, or any pen on a device other than a raster image.
    void AddLine(const QLine& line);
    // Queues a line of a pen wider than one pixel. A vertical line that
    // continues the last one queued in the same column widens it instead:
    // where thousands of rows share a pixel column, one stroke covers the
    // pixels all of them would.
    void QueueWideLine(const QLine& line);
    const LoadedFont& CurrentFont();

    // The current position is kept as one 8-byte value, written and read
    // whole: written as two 4-byte halves and read back at once, it would
    // stall every LineTo until the two stores reached the cache.
    static std::uint64_t Packed(int x, int y) {
        return static_cast<std::uint32_t>(x) |
               static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32;
    }
    static QPoint Unpacked(std::uint64_t point) {
        return QPoint(static_cast<std::int32_t>(static_cast<std::uint32_t>(point)),
                      static_cast<std::int32_t>(static_cast<std::uint32_t>(point >> 32)));
    }

    QPainter& painter;
    double ratio;
    bool pixelExact; // raster device, no transform: lines go down as pixel runs
    QRect area;      // where pixel runs can land, in device pixels
    QRect textArea;  // the same in layout pixels
    PenSpec pen{1, 0};
    FontSpec font;
    COLORREF textColor = 0;
    std::uint64_t position = 0;
    std::vector<QLine> pending;
    QLine lastLine; // the last line queued, to skip an exact repeat
    bool lineQueued = false;
    std::vector<std::pair<FontSpec, LoadedFont>> fonts;
};
