// The legend right of the plot: a sample line and the name of every shown
// column, pale for a hidden one.
#include "diagram/CDiagram.h"
#include "diagram/Utf8Text.h"
#include "render/DiagramMetrics.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"
#include "render/Scales.h"

#include <algorithm>

COLORREF PaleColor(COLORREF color) {
    return RGB(std::min(GetRValue(color) + 230, 255), std::min(GetGValue(color) + 230, 255),
               std::min(GetBValue(color) + 230, 255));
}

void DrawLegend(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    if (!diagram.showLegend)
        return;
    FontScope font(dc, diagram.labelFont);
    for (int i = 1; i <= LastShownColumn(diagram); ++i) {
        const ColumnRecord& record = diagram.columns[i];
        const auto [x, y] = LegendEntryAt(layout.plotRect, i - 1);
        const COLORREF color = record.visible ? record.color : PaleColor(record.color);
        PenScope pen(dc, PenSpec{diagram.lineWidth + 1, color});
        const Point start = layout.device.Of(Point{x, y});
        dc.MoveTo(start.x, start.y);
        dc.LineTo(layout.device.Of(x + kLegendSampleLength), start.y);
        // The text colour is still the title's (or the labels' without a title).
        dc.TextOut(x + kLegendNameLeft, y + kLegendNameTop, TextAlign::LeftTop,
                   FirstCharacters(ColumnName(record), kLegendNameCharacters));
    }
}
