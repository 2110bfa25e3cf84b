// The curves and the marker line.
#include "diagram/CDiagram.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"

#include <algorithm>
#include <cstddef>
#include <span>

namespace {

// One curve's points as the paint places them.
struct CurvePoints {
    std::span<const int> pixels;    // the row pixel columns
    std::span<const double> values; // the column's numbers, as many or more
    const YScale& y;
    int top = 0;
    int bottom = 0;

    Point At(std::size_t j) const { return Point{pixels[j], y.CurvePixel(values[j])}; }
    bool Inside(int py) const { return RowWithin(py, top, bottom); }
};

// Draws points 0 .. count - 1 (count within both spans) with marks: the
// segment from each point to the next where both lie within the plot's
// height, and the marks of the points whose segment (or, for the first, whose
// start at the value 0) lies inside.
void DrawPointsWithMarks(const CurvePoints& points, std::size_t count, Point previous, int markSize,
                         LineBatch& lines, CDrawContext& context) {
    const auto mark = [&](Point point) {
        lines.Flush();
        context.FillSolidRect(point.x - markSize / 2, point.y - markSize / 2, markSize, markSize,
                              RGB(0, 0, 0));
    };
    if (count == 0)
        return;
    Point point = points.At(0);
    bool previousInside = points.Inside(previous.y);
    bool pointInside = points.Inside(point.y);
    if (previousInside && pointInside)
        mark(point);
    for (std::size_t j = 1; j < count; ++j) {
        previous = point;
        previousInside = pointInside;
        point = points.At(j);
        pointInside = points.Inside(point.y);
        if (previousInside && pointInside) {
            lines.Add(previous, point);
            mark(point);
        }
    }
}

// The same segments without marks. A million-point curve passes through
// here, so the values are mapped a block at a time.
void DrawSegments(const CurvePoints& points, std::size_t count, CDrawContext& context) {
    if (count == 0)
        return;
    constexpr std::size_t kBlock = 512;
    int rows[kBlock];
    Point previous = points.At(0);
    for (std::size_t begin = 1; begin < count; begin += kBlock) {
        const std::size_t size = std::min(kBlock, count - begin);
        points.y.CurvePixels(points.values.subspan(begin, size), rows);
        previous = context.CurveBlock(points.pixels.data() + begin, rows, size, previous,
                                      points.top, points.bottom);
    }
}

} // namespace

// A segment is drawn only when both its ends lie within the plot's height; one
// that leaves the plot is left out whole, with the mark at its end. The first
// row has no segment, and its mark needs the height of the value 0 inside the
// plot as well. The curve stops after the first point right of the plot.
void CDiagram::DrawCurve(const PaintLayout& layout, CDrawContext& context, int column) const {
    const ColumnRecord& record = columns[column];
    if (!record.visible || layout.rowPixels.empty() || !layout.y.Defined())
        return;
    const StringArray& cells = values[column];
    const CurvePoints points{layout.rowPixels, cells.Numbers(), layout.y, layout.plotRect.top,
                             layout.plotRect.bottom};
    const std::size_t visited = std::min(layout.firstRowPastPlot + 1, points.pixels.size());
    const std::size_t count = std::min(visited, points.values.size());
    const Point start{layout.plotRect.left, layout.y.CurvePixel(0.0)};
    if (showMarks) {
        LineBatch lines(context);
        DrawPointsWithMarks(points, count, start, record.markSize, lines, context);
    } else {
        DrawSegments(points, count, context);
    }
    if (count < visited) // a column shorter than X: raises
        cells.NumberAt(static_cast<long long>(count));
}

// The marker line runs the plot's full height at markerX; it is not clipped to
// the plot's width.
void CDiagram::DrawMarker(const PaintLayout& layout, CDrawContext& context) const {
    if (!(markerX > 0) || !layout.x.MapsValues())
        return;
    const int px = layout.x.ValuePixel(markerX);
    PenScope pen(context, markerPen);
    context.MoveTo(px, layout.plotRect.top);
    context.LineTo(px, layout.plotRect.bottom);
}

void CDiagram::DrawMarkerOverLastPaint(CDrawContext& context) const {
    PaintLayout layout;
    layout.plotRect = plotRect;
    layout.x = XScale::Of(*this);
    DrawMarker(layout, context);
}
