// DrawAxes and DrawMinorTicks: the plot rectangle with its grid, ticks and
// labels, followed by the title and the legend.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"

namespace {

// The minor ticks along one axis, as distances from its origin edge: n - 1
// ticks between grid positions (and one on every grid position but the
// first), Trunc(gridStepPx / n) pixels apart, while they lie within length.
// Grid position j lies Trunc(j * gridStepPx + origin) - origin from the
// edge. Nothing when the ticks would lie too close together.
template <class Tick>
void ForEachMinorTick(double gridStepPx, int n, int origin, int length, Tick tick) {
    const int spacing = Trunc(gridStepPx / n);
    if (spacing < kMinorTickMinSpacing)
        return;
    for (int j = 0;; ++j) {
        const int position = Trunc(j * gridStepPx + origin) - origin;
        if (position >= length)
            break;
        for (int k = j == 0 ? 1 : 0; k < n && position + k * spacing < length; ++k)
            tick(position + k * spacing);
    }
}

} // namespace

void CDiagram::DrawAxes(const PaintLayout& layout, CDrawContext& context) const {
    context.Rectangle(layout.device.plotRect);
    {
        FontScope font(context, labelFont);
        context.SetTextColor(labelColor);
        PenScope pen(context, gridPen);
        DrawXAxis(*this, layout, context);
        DrawYAxis(*this, layout, context);
    }
    DrawTitle(*this, layout, context);
    DrawLegend(*this, layout, context);
}

void CDiagram::DrawMinorTicks(const PaintLayout& layout, CDrawContext& context) const {
    if (minorTicks <= 0)
        return;
    PenScope pen(context, gridPen);
    const Rect& plot = layout.plotRect;
    const DevicePixels& device = layout.device;
    // Along the bottom edge, reaching up into the plot.
    ForEachMinorTick(layout.xGridStepPx, minorTicks, plot.left, plot.Width(), [&](int offset) {
        const int x = device.Of(plot.left + offset);
        context.MoveTo(x, device.Of(plot.bottom - 1));
        context.LineTo(x, device.Of(plot.bottom - 1 - kMinorTickLength));
    });
    // Up the left edge, reaching right into the plot.
    ForEachMinorTick(yGridStepPx, minorTicks, 0, plot.Height(), [&](int offset) {
        const int y = device.Of(plot.bottom - offset);
        context.MoveTo(device.Of(plot.left + 1), y);
        context.LineTo(device.Of(plot.left + 1 + kMinorTickLength), y);
    });
}
