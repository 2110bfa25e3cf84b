// The curves and the marker line.
#include "diagram/CDiagram.h"
#include "render/DrawContext.h"
#include "render/PaintSteps.h"
#include "render/Scales.h"

namespace {

// A segment is drawn only when both its ends lie within the plot's height; one
// that leaves the plot is left out whole, with the mark at its end. The first
// row has no segment, and its mark needs the height of the value 0 inside the
// plot as well. The curve stops after the first point right of the plot.
void DrawCurveWith(CDiagram& diagram, CDrawContext& dc, int column, const XScale& x,
                   const YScale& y) {
    const ColumnRecord& record = diagram.columns[column];
    if (!record.visible || !x.PlacesRows() || !y.Defined())
        return;
    const StringArray& cells = diagram.values[column];
    const Rect& plot = diagram.plotRect;
    const auto inside = [&plot](int py) { return py >= plot.top && py <= plot.bottom; };
    Point previous{plot.left, y.CurvePixel(0.0)};
    for (int j = 0; j < x.Rows(); ++j) {
        if (j > 0 && previous.x > plot.right)
            break;
        const Point point{x.RowPixel(j), y.CurvePixel(cells.NumberAt(j))};
        if (inside(previous.y) && inside(point.y)) {
            if (j > 0) {
                dc.MoveTo(previous.x, previous.y);
                dc.LineTo(point.x, point.y);
            }
            if (diagram.showMarks) {
                const int size = record.markSize;
                dc.FillSolidRect(point.x - size / 2, point.y - size / 2, size, size, RGB(0, 0, 0));
            }
        }
        previous = point;
    }
}

} // namespace

// The curves of one paint share one mapping.
void DrawCurves(CDiagram& diagram, CDrawContext& dc) {
    const XScale x(diagram);
    const YScale y(diagram);
    for (int i = 1; i <= LastShownColumn(diagram); ++i) {
        PenScope pen(dc, PenSpec{diagram.lineWidth, diagram.columns[i].color});
        DrawCurveWith(diagram, dc, i, x, y);
    }
}

void CDiagram::DrawCurve(int column) {
    if (dc)
        DrawCurveWith(*this, *dc, column, XScale(*this), YScale(*this));
}

// The marker line runs the plot's full height at markerX; it is not clipped to
// the plot's width.
void CDiagram::DrawMarker(CDrawContext& context) {
    if (!(markerX > 0))
        return;
    const XScale x(*this);
    if (!x.MapsValues())
        return;
    const int px = x.ValuePixel(markerX);
    PenScope pen(context, markerPen);
    context.MoveTo(px, plotRect.top);
    context.LineTo(px, plotRect.bottom);
}
