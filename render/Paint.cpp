// Paint: compute the layout, store it, then draw the frame, the axes with the
// title and legend, the curves and the marker line from it.
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"
#include "render/Scales.h"

namespace {

// The context is borrowed for one paint only; forget it afterwards, also when
// an invalid-argument error ends the paint early.
class BorrowedContext {
public:
    BorrowedContext(CDiagram& diagram, CDrawContext& context) : diagram(diagram) {
        diagram.dc = &context;
    }
    ~BorrowedContext() { diagram.dc = nullptr; }
    BorrowedContext(const BorrowedContext&) = delete;
    BorrowedContext& operator=(const BorrowedContext&) = delete;

private:
    CDiagram& diagram;
};

} // namespace

void CDiagram::Paint(CDrawContext& context) {
    BorrowedContext borrowed(*this, context);
    const PaintLayout layout = ComputePaintLayout(*this, g_bZoomOpen, context.PixelRatio());
    if (layout.zoomTitle)
        g_strZoomTitle = *layout.zoomTitle;
    PaintLaidOut(context, layout);
}

void CDiagram::Paint(CDrawContext& context, ZoomRequest& zoom) {
    BorrowedContext borrowed(*this, context);
    const PaintLayout layout = ComputePaintLayout(*this, true, context.PixelRatio());
    zoom.title = layout.zoomTitle.value_or(std::string());
    PaintLaidOut(context, layout);
}

void CDiagram::PaintLaidOut(CDrawContext& context, const PaintLayout& layout) {
    StoreLayout(layout);
    DrawFrame(layout, context);
    if (columnCount == 0) // nothing loaded: the frame alone
        return;
    DrawAxes(layout, context);
    for (int i = 1; i <= LastShownColumn(*this); ++i) {
        PenScope pen(context, PenSpec{lineWidth, columns[i].color});
        DrawCurve(layout, context, i);
    }
    DrawMarker(layout, context);
}

void CDiagram::StoreLayout(const PaintLayout& layout) {
    frameRect = layout.frameRect;
    pixelRatio = layout.device.ratio;
    if (columnCount == 0)
        return;
    legendMargin = layout.legendMargin;
    plotRect = layout.plotRect;
    xGridStepPx = layout.xGridStepPx;
    xDelta = layout.xDelta;
    yMin = layout.yMin;
    yDelta = layout.yDelta;
    if (showLegend) {
        for (int i = 1; i <= LastShownColumn(*this); ++i) {
            const Point entry = LegendEntryAt(plotRect, i - 1);
            columns[i].legendX = entry.x;
            columns[i].legendY = entry.y;
        }
    }
}

void CDiagram::DrawFrame(const PaintLayout& layout, CDrawContext& context) const {
    if (drawFrame)
        context.Rectangle(layout.device.Of(layout.frameRect));
}
