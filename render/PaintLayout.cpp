#include "render/PaintLayout.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"

#include <cmath>

namespace {

// The frame: the owner's client area less frameMargin on every side while it
// fits the window, else where it was.
Rect FrameRect(const CDiagram& diagram) {
    if (diagram.drawFrame && diagram.fitToWindow && diagram.view)
        return InflateRect(diagram.view->ClientRect(), -diagram.frameMargin, -diagram.frameMargin);
    return diagram.frameRect;
}

// The caption of a zoom window: the file name and the X range it holds.
std::string ZoomTitle(const CDiagram& diagram, double first, double last) {
    if (diagram.xIsDateTime)
        return FormatC("%s  X = [%s; %s]", diagram.fileName.c_str(),
                       diagram.DateText(first).c_str(), diagram.DateText(last).c_str());
    return FormatC("%s  X = [%f; %f]", diagram.fileName.c_str(), first, last);
}

} // namespace

int DevicePixels::Size(int pixels) const {
    if (ratio == 1.0)
        return pixels;
    return static_cast<int>(std::lround(pixels * ratio));
}

DevicePixels PlaceOnDevice(const Rect& plot, const XScale& x, const YScale& y, double ratio) {
    DevicePixels device;
    device.ratio = ratio;
    device.plotRect = device.Of(plot);
    device.x = x.AtRatio(ratio);
    device.y = y.AtRatio(ratio);
    return device;
}

PaintLayout ComputePaintLayout(const CDiagram& diagram, bool zoomTitle, double pixelRatio) {
    PaintLayout layout;
    layout.frameRect = FrameRect(diagram);
    layout.device.ratio = pixelRatio;
    if (diagram.columnCount == 0)
        return layout;

    // The plot: plotInset inside the frame, and room on the right for the
    // legend.
    layout.legendMargin = diagram.showLegend ? kLegendMargin : diagram.frameMargin;
    layout.plotRect = InflateRect(layout.frameRect, -diagram.plotInset, -diagram.plotInset);
    layout.plotRect.right -= layout.legendMargin;

    // X: the rows spread evenly over the plot width; the mean X step per row.
    // Fewer than two rows have no step and keep the last one.
    const StringArray& xCells = diagram.values[0];
    const int rows = xCells.GetSize();
    const double first = rows > 0 ? xCells.NumberAt(0) : 0.0;
    const double last = rows > 0 ? xCells.NumberAt(rows - 1) : 0.0;
    layout.xGridStepPx = diagram.xGridStepPx;
    layout.xDelta = diagram.xDelta;
    if (rows >= 2) {
        layout.xGridStepPx = static_cast<double>(layout.plotRect.Width()) / (rows - 1);
        layout.xDelta = (last - first) / (rows - 1);
    }
    if (zoomTitle && rows > 0)
        layout.zoomTitle = ZoomTitle(diagram, first, last);

    layout.yMin = diagram.yMin;
    layout.yDelta = diagram.yDelta;
    if (diagram.yAutoscale)
        diagram.AutoscaleY(layout);

    layout.x = XScale(layout.plotRect, diagram.xIsNumber || diagram.xIsDateTime, rows, first, last,
                      layout.xGridStepPx);
    layout.y = YScale(layout.plotRect.bottom, layout.yMin, layout.yDelta, diagram.yGridStepPx);
    diagram.rowPixelTable.Place(layout.x, xCells);
    layout.rows = &diagram.rowPixelTable;
    layout.firstRowPastPlot = diagram.rowPixelTable.FirstPastRight();

    layout.device = PlaceOnDevice(layout.plotRect, layout.x, layout.y, pixelRatio);
    if (pixelRatio == 1.0) {
        layout.device.rows = layout.rows;
    } else {
        diagram.deviceRowPixelTable.Place(layout.device.x, xCells);
        layout.device.rows = &diagram.deviceRowPixelTable;
    }
    layout.device.firstRowPastPlot = layout.device.rows->FirstPastRight();
    return layout;
}
