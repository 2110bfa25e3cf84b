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
    const DevicePixels& device = layout.device;
    const double positions = plot.Height() / diagram.yGridStepPx + 1;
    for (int i = 0; i < positions; ++i) {
        const int y = plot.bottom - Trunc(i * diagram.yGridStepPx);
        if (y < plot.top)
            break;
        if (i > 0) {
            const int lineY =
                device.plotRect.bottom - Trunc(i * diagram.yGridStepPx * device.ratio);
            dc.MoveTo(device.plotRect.left, lineY);
            dc.LineTo(diagram.yShowNet ? device.plotRect.right
                                       : device.Of(plot.left - kYTickLength),
                      lineY);
        }
        dc.TextOut(plot.left - kYLabelLeft, y - kYLabelRaise, TextAlign::CenterTop,
                   FormatC("%.2f", i * layout.yDelta + layout.yMin));
    }
}
