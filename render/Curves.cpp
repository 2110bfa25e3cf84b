// The curves and the marker line.
#include "diagram/CDiagram.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

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
// start at the value 0) lies inside. The marks of the rows set in paintedOver,
// when it is given, are left out.
void DrawPointsWithMarks(const CurvePoints& points, std::size_t count, Point previous, int markSize,
                         const std::vector<bool>* paintedOver, LineBatch& lines,
                         CDrawContext& context) {
    const auto mark = [&](std::size_t j, Point point) {
        if (paintedOver && (*paintedOver)[j])
            return;
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
        mark(0, point);
    for (std::size_t j = 1; j < count; ++j) {
        previous = point;
        previousInside = pointInside;
        point = points.At(j);
        pointInside = points.Inside(point.y);
        if (previousInside && pointInside) {
            lines.Add(previous, point);
            mark(j, point);
        }
    }
}

// The rows whose mark a later mark paints over whole: the one of a later row
// at the same point. Whatever is drawn between the two, the later mark covers
// it again, so only the last mark at each point changes the picture. Rows in
// order of their pixel columns meet a point again only within its column.
std::vector<bool> MarksPaintedOver(const CurvePoints& points, std::span<const RowColumn> columns,
                                   std::size_t count, Point start) {
    std::vector<bool> paintedOver(count);
    // The last column whose marks took each height of the plot, plus one.
    std::vector<std::size_t> takenBy(static_cast<std::size_t>(points.bottom - points.top + 1));
    for (std::size_t c = 0; c < columns.size() && columns[c].firstRow < count; ++c) {
        const std::size_t end =
            c + 1 < columns.size() ? std::min(columns[c + 1].firstRow, count) : count;
        for (std::size_t j = end; j-- > columns[c].firstRow;) {
            const int y = points.At(j).y;
            if (!points.Inside(y) || !points.Inside(j > 0 ? points.At(j - 1).y : start.y))
                continue; // no mark
            std::size_t& taken = takenBy[static_cast<std::size_t>(y - points.top)];
            paintedOver[j] = taken == c + 1;
            taken = c + 1;
        }
    }
    return paintedOver;
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

// One curve seen by pixel column, for rows whose columns are in order.
struct CurveColumns {
    const RowPixelTable& rows;
    std::span<const double> values;
    const NumberSummary& summary;
    const YScale& y;
    int top = 0;
    int bottom = 0;

    int Row(std::size_t j) const { return y.CurvePixel(values[j]); }
    bool Inside(int py) const { return RowWithin(py, top, bottom); }
};

// The segments between rows first .. last of pixel column x, one by one.
void QueueColumnSegments(const CurveColumns& curve, int x, std::size_t first, std::size_t last,
                         LineBatch& lines) {
    int previous = curve.Row(first);
    for (std::size_t j = first + 1; j <= last; ++j) {
        const int row = curve.Row(j);
        if (curve.Inside(previous) && curve.Inside(row))
            lines.Add(Point{x, previous}, Point{x, row});
        previous = row;
    }
}

// The pixels DrawSegments covers, from the rows of each pixel column taken
// together. The segments between the rows a .. b of one column run up and
// down that column; they cover every pixel between the highest and the
// lowest of them but perhaps the highest or lowest itself, and then only when
// row b lies there, whose pixel the segment leaving the column starts with.
// So where every row of the column lies inside the plot and the segment to
// the next column is drawn, one run from the highest to the lowest row and
// that segment cover exactly what all the segments do. Elsewhere (a row
// outside the plot, the curve's last column) the column's segments are
// queued one by one. The highest and lowest rows are those of the largest
// and smallest value: the mapping to rows only falls as values grow.
void DrawCurveByPixelColumns(const CurveColumns& curve, std::size_t count, CDrawContext& context) {
    const std::span<const RowColumn> columns = curve.rows.Columns();
    LineBatch lines(context);
    for (std::size_t c = 0; c < columns.size() && columns[c].firstRow < count; ++c) {
        const int x = columns[c].x;
        const std::size_t first = columns[c].firstRow;
        const std::size_t next = c + 1 < columns.size() ? columns[c + 1].firstRow : count;
        const std::size_t last = std::min(next, count) - 1;
        const int lastRow = curve.Row(last);
        const bool leaves = next < count && curve.Inside(lastRow) && curve.Inside(curve.Row(next));
        if (last > first) {
            bool covered = false;
            if (leaves) {
                const NumberBounds bounds = curve.summary.Of(curve.values, first, last + 1);
                const int highest = curve.y.CurvePixel(bounds.max);
                const int lowest = curve.y.CurvePixel(bounds.min);
                covered = curve.Inside(highest) && curve.Inside(lowest);
                if (covered)
                    lines.Add(Point{x, highest}, Point{x, lowest + 1});
            }
            if (!covered)
                QueueColumnSegments(curve, x, first, last, lines);
        }
        if (leaves)
            lines.Add(Point{x, lastRow}, Point{columns[c + 1].x, curve.Row(next)});
    }
}

} // namespace

// A segment is drawn only when both its ends lie within the plot's height; one
// that leaves the plot is left out whole, with the mark at its end. The first
// row has no segment, and its mark needs the height of the value 0 inside the
// plot as well. The curve stops after the first point right of the plot.
void CDiagram::DrawCurve(const PaintLayout& layout, CDrawContext& context, int column) const {
    const ColumnRecord& record = columns[column];
    const DevicePixels& device = layout.device;
    if (!record.visible || device.rows->Placed() == 0 || !device.y.Defined())
        return;
    const StringArray& cells = values[column];
    const std::span<const double> numbers = cells.Numbers();
    const std::size_t visited = std::min(device.firstRowPastPlot + 1, device.rows->Placed());
    const std::size_t count = std::min(visited, numbers.size());
    // By pixel column where only pixels count, the rows' columns are in
    // order and the plot's height is the rows from its top to its bottom (a
    // window too small for the plot turns it upside down).
    const Rect& plot = device.plotRect;
    const bool byColumn =
        device.rows->Ordered() && context.DrawsLinesAsPixels() && plot.top <= plot.bottom;
    if (!showMarks && byColumn) {
        DrawCurveByPixelColumns(
            CurveColumns{*device.rows, numbers, cells.Summary(), device.y, plot.top, plot.bottom},
            count, context);
    } else {
        const CurvePoints points{device.rows->Pixels(), numbers, device.y, plot.top, plot.bottom};
        if (showMarks) {
            const Point start{plot.left, device.y.CurvePixel(0.0)};
            std::optional<std::vector<bool>> paintedOver;
            if (byColumn)
                paintedOver = MarksPaintedOver(points, device.rows->Columns(), count, start);
            LineBatch lines(context);
            DrawPointsWithMarks(points, count, start, device.Size(record.markSize),
                                paintedOver ? &*paintedOver : nullptr, lines, context);
        } else {
            DrawSegments(points, count, context);
        }
    }
    if (count < visited) // a column shorter than X: raises
        cells.NumberAt(static_cast<long long>(count));
}

namespace {

// Marker B's dashes and the gaps between them, in pixels.
constexpr int kMarkerDash = 4;
// A marker's name sits right of its line, this far below the plot's top.
constexpr int kMarkerNameLeft = 3;
constexpr int kMarkerNameTop = 2;

void DrawDashedLine(CDrawContext& context, int x, int top, int bottom, int dash) {
    LineBatch lines(context);
    for (int y = top; y < bottom; y += 2 * dash)
        lines.Add(Point{x, y}, Point{x, std::min(y + dash, bottom)});
}

void NameMarker(CDrawContext& context, int x, int top, COLORREF color, std::string_view name) {
    context.SetTextColor(color);
    context.TextOut(x + kMarkerNameLeft, top + kMarkerNameTop, TextAlign::LeftTop, name);
}

} // namespace

// The marker line runs the plot's full height at markerX; it is not clipped to
// the plot's width. Marker B runs beside it dashed, and while it is set both
// lines carry their names at the top of the plot.
void CDiagram::DrawMarker(const PaintLayout& layout, CDrawContext& context) const {
    if (!layout.x.MapsValues())
        return;
    const DevicePixels& device = layout.device;
    const int top = device.plotRect.top;
    const int bottom = device.plotRect.bottom;
    const bool markerShown = markerX > 0;
    if (markerShown) {
        PenScope pen(context, markerPen);
        const int x = device.x.ValuePixel(markerX);
        context.MoveTo(x, top);
        context.LineTo(x, bottom);
    }
    if (!markerB)
        return;
    {
        PenScope pen(context, markerBPen);
        DrawDashedLine(context, device.x.ValuePixel(*markerB), top, bottom,
                       device.Size(kMarkerDash));
    }
    FontScope font(context, labelFont);
    if (markerShown)
        NameMarker(context, layout.x.ValuePixel(markerX), layout.plotRect.top, markerPen.color,
                   "A");
    NameMarker(context, layout.x.ValuePixel(*markerB), layout.plotRect.top, markerBPen.color, "B");
}

void CDiagram::DrawMarkerOverLastPaint(CDrawContext& context) const {
    PaintLayout layout;
    layout.plotRect = plotRect;
    layout.x = XScale::Of(*this);
    layout.device = PlaceOnDevice(plotRect, layout.x, YScale::Of(*this), context.PixelRatio());
    DrawMarker(layout, context);
}
