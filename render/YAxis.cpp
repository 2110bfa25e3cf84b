// The Y axis left of the plot: grid lines or ticks and "%.2f" labels.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"

void DrawYAxis(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    if (!layout.y.Defined())
        return;
    const Rect& plot = layout.plotRect;
    const double positions = plot.Height() / diagram.yGridStepPx + 1;
    for (int i = 0; i < positions; ++i) {
        const int y = plot.bottom - Trunc(i * diagram.yGridStepPx);
        if (y < plot.top)
            break;
        if (i > 0) {
            dc.MoveTo(plot.left, y);
            dc.LineTo(diagram.yShowNet ? plot.right : plot.left - kYTickLength, y);
        }
        dc.TextOut(plot.left - kYLabelLeft, y - kYLabelRaise, TextAlign::CenterTop,
                   FormatC("%.2f", i * layout.yDelta + layout.yMin));
    }
}
