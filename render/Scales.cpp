#include "render/Scales.h"

#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <cmath>

int LastShownColumn(const CDiagram& diagram) {
    return diagram.columnCount - (diagram.showSpectrum ? 1 : 2);
}

XScale::XScale(const CDiagram& diagram)
    : byValue(diagram.xIsNumber || diagram.xIsDateTime), left(diagram.plotRect.left),
      width(diagram.plotRect.Width()), gridStepPx(diagram.xGridStepPx) {
    if (diagram.columnCount == 0)
        return;
    x = &diagram.values[0];
    rows = x->GetSize();
    if (rows > 0) {
        first = x->NumberAt(0);
        last = x->NumberAt(rows - 1);
    }
}

bool XScale::PlacesRows() const {
    if (rows < 2)
        return false;
    return byValue ? MapsValues() : std::isfinite(gridStepPx);
}

bool XScale::MapsValues() const {
    return rows > 0 && last != first && std::isfinite(last - first);
}

int XScale::RowPixel(int row) const {
    if (rowPixels.empty()) {
        rowPixels.resize(static_cast<std::size_t>(rows));
        for (int j = 0; j < rows; ++j)
            rowPixels[static_cast<std::size_t>(j)] = PlaceRow(j);
    }
    if (row < 0 || row >= rows)
        CheckIndex(row, rowPixels.size(), "rows"); // raises the invalid-argument error
    return rowPixels[static_cast<std::size_t>(row)];
}

int XScale::PlaceRow(int row) const {
    if (byValue)
        return Trunc((x->NumberAt(row) - first) * width / (last - first)) + left;
    return Trunc(row * gridStepPx + left);
}

int XScale::ValuePixel(double value) const {
    if (!MapsValues())
        return left;
    return Trunc((value - first) * width / (last - first) + left);
}

double XScale::PixelValue(int pixel) const {
    if (width == 0 || !std::isfinite(last - first))
        return first;
    return first + (pixel - left) * (last - first) / width;
}

YScale::YScale(const CDiagram& diagram)
    : bottom(diagram.plotRect.bottom), yMin(diagram.yMin), yDelta(diagram.yDelta),
      gridStepPx(diagram.yGridStepPx) {
    if (Defined()) {
        pixelsPerUnit = gridStepPx / yDelta;
        offset = Trunc(yMin * pixelsPerUnit);
    }
}

bool YScale::Defined() const {
    return yDelta > 0 && std::isfinite(yDelta) && gridStepPx > 0 && std::isfinite(gridStepPx) &&
           std::isfinite(yMin);
}

int YScale::CurvePixel(double value) const {
    return bottom - Trunc(value * pixelsPerUnit) + offset;
}

int YScale::ValuePixel(double value) const {
    if (!Defined())
        return bottom;
    return Trunc(bottom - (value - yMin) / yDelta * gridStepPx);
}

double YScale::PixelValue(int y) const {
    if (!(gridStepPx > 0))
        return yMin;
    return (bottom - y) * yDelta / gridStepPx + yMin;
}
