// DrawAxes and DrawMinorTicks: the plot rectangle with its grid, ticks and
// labels, followed by the title and the legend.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DrawContext.h"
#include "render/PaintSteps.h"
#include "render/PlotLayout.h"

void CDiagram::DrawAxes() {
    if (!dc)
        return;
    const PlotLayout layout = ComputePlotLayout(*this);
    legendMargin = layout.legendMargin;
    plotRect = layout.plotRect;
    dc->Rectangle(plotRect);
    {
        FontScope font(*dc, labelFont);
        dc->SetTextColor(labelColor);
        PenScope pen(*dc, gridPen);
        DrawXAxis(*this, *dc);
        if (yAutoscale)
            AutoscaleY();
        DrawYAxis(*this, *dc);
    }
    DrawTitle(*this, *dc);
    DrawLegend(*this, *dc);
}

void CDiagram::DrawMinorTicks() {
    if (!dc || minorTicks <= 0)
        return;
    PenScope pen(*dc, gridPen);
    const int n = minorTicks;
    const Rect& plot = plotRect;
    // A tick every mx pixels along the X grid, three pixels up into the plot.
    const int mx = Trunc(xGridStepPx / n);
    if (mx >= 5) {
        for (int j = 0;; ++j) {
            const int xj = Trunc(j * xGridStepPx + plot.left);
            if (xj >= plot.right)
                break;
            for (int k = j == 0 ? 1 : 0; k < n; ++k) {
                const int x = xj + k * mx;
                if (x < plot.right) {
                    dc->MoveTo(x, plot.bottom - 1);
                    dc->LineTo(x, plot.bottom - 4);
                }
            }
        }
    }
    // A tick every my pixels up the Y grid, three pixels right into the plot.
    const int my = Trunc(yGridStepPx / n);
    if (my >= 5) {
        for (int j = 0;; ++j) {
            const int yj = plot.bottom - Trunc(j * yGridStepPx);
            if (yj <= plot.top)
                break;
            for (int k = j == 0 ? 1 : 0; k < n; ++k) {
                const int y = yj - k * my;
                if (y > plot.top) {
                    dc->MoveTo(plot.left + 1, y);
                    dc->LineTo(plot.left + 4, y);
                }
            }
        }
    }
}
