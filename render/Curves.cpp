// The curves and the marker line.
#include "diagram/CDiagram.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"

#include <span>

// A segment is drawn only when both its ends lie within the plot's height; one
// that leaves the plot is left out whole, with the mark at its end. The first
// row has no segment, and its mark needs the height of the value 0 inside the
// plot as well. The curve stops after the first point right of the plot.
void CDiagram::DrawCurve(const PaintLayout& layout, CDrawContext& context, int column) const {
    const ColumnRecord& record = columns[column];
    if (!record.visible || layout.rowPixels.empty() || !layout.y.Defined())
        return;
    const StringArray& cells = values[column];
    const std::span<const double> numbers = cells.Numbers();
    const std::span<const int> pixels = layout.rowPixels;
    const Rect& plot = layout.plotRect;
    const auto inside = [&plot](int py) { return py >= plot.top && py <= plot.bottom; };
    Point previous{plot.left, layout.y.CurvePixel(0.0)};
    LineBatch lines(context);
    for (std::size_t j = 0; j < pixels.size(); ++j) {
        if (j > 0 && previous.x > plot.right)
            break;
        if (j == numbers.size()) // a column shorter than X: raises
            cells.NumberAt(static_cast<long long>(j));
        const Point point{pixels[j], layout.y.CurvePixel(numbers[j])};
        if (inside(previous.y) && inside(point.y)) {
            if (j > 0)
                lines.Add(previous, point);
            if (showMarks) {
                lines.Flush();
                const int size = record.markSize;
                context.FillSolidRect(point.x - size / 2, point.y - size / 2, size, size,
                                      RGB(0, 0, 0));
            }
        }
        previous = point;
    }
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
