// The legend right of the plot: a sample line and the name of every shown
// column, pale for a hidden one.
#include "diagram/CDiagram.h"
#include "render/Characters.h"
#include "render/DrawContext.h"
#include "render/PaintSteps.h"
#include "render/Scales.h"

#include <algorithm>

COLORREF PaleColor(COLORREF color) {
    return RGB(std::min(GetRValue(color) + 230, 255), std::min(GetGValue(color) + 230, 255),
               std::min(GetBValue(color) + 230, 255));
}

void DrawLegend(CDiagram& diagram, CDrawContext& dc) {
    if (!diagram.showLegend)
        return;
    FontScope font(dc, diagram.labelFont);
    const int x = diagram.plotRect.right + 10;
    int y = diagram.plotRect.top + 20;
    for (int i = 1; i <= LastShownColumn(diagram); ++i, y += 20) {
        ColumnRecord& record = diagram.columns[i];
        record.legendX = x;
        record.legendY = y;
        const COLORREF color = record.visible ? record.color : PaleColor(record.color);
        PenScope pen(dc, PenSpec{diagram.lineWidth + 1, color});
        dc.MoveTo(x, y);
        dc.LineTo(x + 20, y);
        // The text colour is still the title's (or the labels' without a title).
        dc.TextOut(x + 30, y - 5, TextAlign::LeftTop, FirstCharacters(ColumnName(record), 15));
    }
}
