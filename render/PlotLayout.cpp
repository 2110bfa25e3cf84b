#include "render/PlotLayout.h"

#include "diagram/CDiagram.h"
#include "render/DiagramMetrics.h"

PlotLayout ComputePlotLayout(const CDiagram& diagram) {
    PlotLayout layout;
    layout.legendMargin = diagram.showLegend ? kLegendMargin : diagram.frameMargin;
    layout.plotRect = InflateRect(diagram.frameRect, -diagram.plotInset, -diagram.plotInset);
    layout.plotRect.right -= layout.legendMargin;
    return layout;
}

std::optional<XStep> ComputeXStep(int plotWidth, int rows, double xFirst, double xLast) {
    if (rows < 2)
        return std::nullopt;
    return XStep{static_cast<double>(plotWidth) / (rows - 1), (xLast - xFirst) / (rows - 1)};
}
