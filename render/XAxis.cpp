// The X axis under the plot: per-row grid lines and labels for a table with
// rows, numbered grid steps for one without.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"
#include "render/ShownText.h"

#include <cmath>

namespace {

// The grid step keeps the value of the last paint with rows; numbered from
// xMin in steps of xDelta, with no label at the left edge.
void DrawXAxisWithoutRows(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    diagram.DrawMinorTicks(layout, dc);
    const double step = layout.xGridStepPx;
    if (!(step > 0) || !std::isfinite(step))
        return;
    const Rect& plot = layout.plotRect;
    const int positions = Trunc(plot.Width() / step) + 1;
    for (int i = 1; i < positions; ++i) {
        const int x = Trunc(i * step + plot.left);
        dc.MoveTo(x, plot.bottom - 1);
        dc.LineTo(x, diagram.xShowNet ? plot.top : plot.bottom + kXTickBelow);
        dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop,
                   FormatC("%6.f", i * layout.xDelta + diagram.xMin));
    }
}

// Every row gets a grid line (a tick for row 0 or without the grid); a label
// is written only when its centre lies more than one and a half label widths
// right of the last written one.
void DrawRowLines(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    const Rect& plot = layout.plotRect;
    const StringArray& xCells = diagram.values[0];
    int lastLabelEnd = plot.left;
    LineBatch lines(dc);
    for (std::size_t j = 0; j < layout.rowPixels.size(); ++j) {
        const int x = layout.rowPixels[j];
        if (x > plot.right)
            break;
        lines.Add(Point{x, plot.bottom - 1},
                  Point{x, diagram.xShowNet && j > 0 ? plot.top : plot.bottom + kXTickBelow});
        if (j == 0 || x > lastLabelEnd) {
            lines.Add(Point{x, plot.bottom}, Point{x, plot.bottom + kXLabelTickBelow});
            lines.Flush();
            const long long row = static_cast<long long>(j);
            const std::string label =
                diagram.xIsDateTime ? diagram.DateText(xCells.NumberAt(row))
                                    : std::string(ShownPart(xCells[row], TextAlign::CenterTop));
            dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop, label);
            lastLabelEnd = x + Trunc(1.5 * dc.TextWidth(label));
        }
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
