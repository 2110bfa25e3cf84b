// The X axis under the plot: per-row grid lines and labels for a table with
// rows, numbered grid steps for one without.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "diagram/ZoomRequest.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintSteps.h"
#include "render/PlotLayout.h"
#include "render/Scales.h"

#include <cmath>

namespace {

// The caption of a zoom window: the file name and the X range it holds.
std::string ZoomTitle(CDiagram& diagram, double first, double last) {
    if (diagram.xIsDateTime)
        return FormatC("%s  X = [%s; %s]", diagram.fileName.c_str(),
                       diagram.DateText(first).c_str(), diagram.DateText(last).c_str());
    return FormatC("%s  X = [%f; %f]", diagram.fileName.c_str(), first, last);
}

// The grid step keeps the value of the last paint with rows; numbered from
// xMin in steps of xDelta, with no label at the left edge.
void DrawXAxisWithoutRows(CDiagram& diagram, CDrawContext& dc) {
    diagram.DrawMinorTicks();
    const double step = diagram.xGridStepPx;
    if (!(step > 0) || !std::isfinite(step))
        return;
    const Rect& plot = diagram.plotRect;
    const int positions = Trunc(plot.Width() / step) + 1;
    for (int i = 1; i < positions; ++i) {
        const int x = Trunc(i * step + plot.left);
        dc.MoveTo(x, plot.bottom - 1);
        dc.LineTo(x, diagram.xShowNet ? plot.top : plot.bottom + kXTickBelow);
        dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop,
                   FormatC("%6.f", i * diagram.xDelta + diagram.xMin));
    }
}

// Every row gets a grid line (a tick for row 0 or without the grid); a label
// is written only when its centre lies more than one and a half label widths
// right of the last written one.
void DrawRowLines(CDiagram& diagram, CDrawContext& dc) {
    const XScale scale(diagram);
    if (!scale.PlacesRows())
        return;
    const Rect& plot = diagram.plotRect;
    const StringArray& xCells = diagram.values[0];
    int lastLabelEnd = plot.left;
    for (int j = 0; j < scale.Rows(); ++j) {
        const int x = scale.RowPixel(j);
        if (x > plot.right)
            break;
        dc.MoveTo(x, plot.bottom - 1);
        dc.LineTo(x, diagram.xShowNet && j > 0 ? plot.top : plot.bottom + kXTickBelow);
        if (j == 0 || x > lastLabelEnd) {
            dc.MoveTo(x, plot.bottom);
            dc.LineTo(x, plot.bottom + kXLabelTickBelow);
            const std::string label =
                diagram.xIsDateTime ? diagram.DateText(xCells.NumberAt(j)) : std::string(xCells[j]);
            dc.TextOut(x, plot.bottom + kXLabelTop, TextAlign::CenterTop, label);
            lastLabelEnd = x + Trunc(1.5 * dc.TextWidth(label));
        }
    }
}

} // namespace

void DrawXAxis(CDiagram& diagram, CDrawContext& dc) {
    const StringArray& xCells = diagram.values[0];
    const int rows = xCells.GetSize();
    if (rows == 0) {
        DrawXAxisWithoutRows(diagram, dc);
        return;
    }
    const Rect& plot = diagram.plotRect;
    {
        FontScope font(dc, diagram.axisNameFont);
        dc.TextOut(plot.left + plot.Width() / 2,
                   diagram.frameRect.bottom - kXAxisNameAboveFrameBottom, TextAlign::CenterTop,
                   ColumnName(diagram.columns[0]));
    }
    const double first = xCells.NumberAt(0);
    const double last = xCells.NumberAt(rows - 1);
    if (const auto step = ComputeXStep(plot.Width(), rows, first, last)) {
        diagram.xGridStepPx = step->gridStepPx;
        diagram.xDelta = step->delta;
    }
    if (g_bZoomOpen)
        g_strZoomTitle = ZoomTitle(diagram, first, last);
    diagram.DrawMinorTicks();
    DrawRowLines(diagram, dc);
}
