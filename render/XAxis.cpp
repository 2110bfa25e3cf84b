// The X axis under the plot: per-row grid lines and labels for a table with
// rows, numbered grid steps for one without.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"
#include "render/ShownText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>

namespace {

// The grid step keeps the value of the last paint with rows; numbered from
// xMin in steps of xDelta, with no label at the left edge.
void DrawXAxisWithoutRows(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    diagram.DrawMinorTicks(layout, dc);
    const double step = layout.xGridStepPx;
    if (!(step > 0) || !std::isfinite(step))
        return;
    const Rect& plot = layout.plotRect;
    const DevicePixels& device = layout.device;
    const int positions = Trunc(plot.Width() / step) + 1;
    for (int i = 1; i < positions; ++i) {
        const int x = Trunc(i * step + plot.left);
        dc.MoveTo(device.Of(x), device.Of(plot.bottom - 1));
        dc.LineTo(device.Of(x), device.Of(diagram.xShowNet ? plot.top : plot.bottom + kXTickBelow));
        dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop,
                   FormatC("%6.f", i * layout.xDelta + diagram.xMin));
    }
}

// The rows a paint labels and the rows it draws lines for: the same table
// at a pixel ratio of 1, else the layout's rows and the device's.
struct RowPlaces {
    const RowPixelTable& labels;
    const RowPixelTable& lines;
};

// Queues the grid lines from fromY to toY of the rows from `row` on whose
// label pixel column lies at or left of limit, up to the first that does
// not, and returns that row. Thousands of rows share a pixel column, so the
// lines are written straight into the batch.
std::size_t QueueRowLines(std::span<const int> labelPixels, std::span<const int> linePixels,
                          std::size_t row, int limit, int fromY, int toY, LineBatch& lines) {
    std::span<LineSegment> room;
    std::size_t written = 0;
    for (; row < labelPixels.size() && labelPixels[row] <= limit; ++row) {
        if (written == room.size()) {
            lines.Added(written);
            room = lines.Room();
            written = 0;
        }
        room[written++] = LineSegment{Point{linePixels[row], fromY}, Point{linePixels[row], toY}};
    }
    lines.Added(written);
    return row;
}

// The same lines for rows whose pixel columns are in order, where only the
// pixels count: one line per pixel column the rows from `row` on up to limit
// fall in.
std::size_t QueueColumnLines(const RowPlaces& rows, std::size_t row, int limit, int fromY, int toY,
                             LineBatch& lines) {
    const std::size_t end = std::max(row, rows.labels.FirstRowRightOf(limit));
    if (row == end)
        return end;
    const std::span<const RowColumn> columns = rows.lines.Columns();
    // The column of `row`: the last one starting at or before it.
    auto column =
        std::upper_bound(columns.begin(), columns.end(), row,
                         [](std::size_t r, const RowColumn& c) { return r < c.firstRow; });
    for (--column; column != columns.end() && column->firstRow < end; ++column)
        lines.Add(Point{column->x, fromY}, Point{column->x, toY});
    return end;
}

// Every row gets a grid line (a tick for row 0 or without the grid); a label
// is written only when its centre lies more than one and a half label widths
// right of the last written one.
void DrawRowLines(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    const Rect& plot = layout.plotRect;
    const DevicePixels& device = layout.device;
    const RowPlaces rows{*layout.rows, *device.rows};
    const bool byColumn = rows.labels.Ordered() && rows.lines.Ordered() && dc.DrawsLinesAsPixels();
    const std::span<const int> labelPixels =
        byColumn ? std::span<const int>() : rows.labels.Pixels();
    const std::span<const int> linePixels = byColumn ? std::span<const int>() : rows.lines.Pixels();
    const StringArray& xCells = diagram.values[0];
    const int lineStart = device.Of(plot.bottom - 1);
    const int tickEnd = device.Of(plot.bottom + kXTickBelow);
    const int rowLineEnd = diagram.xShowNet ? device.Of(plot.top) : tickEnd;
    int lastLabelEnd = plot.left;
    LineBatch lines(dc);
    for (std::size_t j = 0; j < rows.labels.Placed();) {
        const int x = byColumn ? rows.labels.PixelOf(j) : labelPixels[j];
        if (x > plot.right)
            break;
        const int lineX = byColumn ? rows.lines.PixelOf(j) : linePixels[j];
        lines.Add(Point{lineX, lineStart}, Point{lineX, j > 0 ? rowLineEnd : tickEnd});
        if (j == 0 || x > lastLabelEnd) {
            lines.Add(Point{lineX, device.Of(plot.bottom)},
                      Point{lineX, device.Of(plot.bottom + kXLabelTickBelow)});
            lines.Flush();
            const long long row = static_cast<long long>(j);
            const CellText cell = xCells[row];
            const std::string label = diagram.xIsDateTime
                                          ? diagram.DateText(xCells.NumberAt(row))
                                          : std::string(ShownPart(cell, TextAlign::CenterTop));
            dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop, label);
            lastLabelEnd = x + Trunc(1.5 * dc.TextWidth(label));
        }
        // The rows up to the next one with a label or right of the plot.
        const int limit = std::min(lastLabelEnd, plot.right);
        j = byColumn ? QueueColumnLines(rows, j + 1, limit, lineStart, rowLineEnd, lines)
                     : QueueRowLines(labelPixels, linePixels, j + 1, limit, lineStart, rowLineEnd,
                                     lines);
    }
}

} // namespace

void DrawXAxis(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    if (layout.x.Rows() == 0) {
        DrawXAxisWithoutRows(diagram, layout, dc);
        return;
    }
    const Rect& plot = layout.plotRect;
    {
        FontScope font(dc, diagram.axisNameFont);
        dc.TextOut(plot.left + plot.Width() / 2,
                   layout.frameRect.bottom - kXAxisNameAboveFrameBottom, TextAlign::CenterTop,
                   ColumnName(diagram.columns[0]));
    }
    diagram.DrawMinorTicks(layout, dc);
    DrawRowLines(diagram, layout, dc);
}
