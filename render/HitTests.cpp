// Pixel mapping and hit tests against the layout and scales of the last
// paint: the mouse readout, the marker line, the zoom corners and legend
// clicks.
#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "render/DiagramMetrics.h"
#include "render/Scales.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>

namespace {

// The X mapping for the conversions that need the table's rows.
XScale RowsScale(const CDiagram& diagram) {
    const XScale scale = XScale::Of(diagram);
    if (scale.Rows() == 0)
        throw InvalidArgumentError("The diagram has no rows to map pixels to.");
    return scale;
}

// Row index of the first row from 1 on whose X is at or right of x; rows when
// there is none. Where X never falls that row is found by halving.
int RightEndRow(const StringArray& xCells, double x) {
    const int rows = xCells.GetSize();
    if (rows > 1 && xCells.Summary().Ascending()) {
        const std::span<const double> numbers = xCells.Numbers();
        return static_cast<int>(std::lower_bound(numbers.begin() + 1, numbers.end(), x) -
                                numbers.begin());
    }
    for (int i = 1; i < rows; ++i)
        if (xCells.NumberAt(i) >= x)
            return i;
    return rows;
}

// A column's value at x, on the straight line between rows i - 1 and i. Where
// the two rows share their X the first of them gives the value; where no row
// lies at or right of x, the last row does.
double ValueBetweenRows(const StringArray& xCells, const StringArray& cells, int i, double x) {
    if (i >= cells.GetSize())
        return cells.NumberAt(cells.GetSize() - 1);
    const double x0 = xCells.NumberAt(i - 1);
    const double x1 = xCells.NumberAt(i);
    const double v0 = cells.NumberAt(i - 1);
    if (x1 == x0)
        return v0;
    return v0 + (cells.NumberAt(i) - v0) * (x - x0) / (x1 - x0);
}

} // namespace

bool CDiagram::ValueAtPixel(int x, int y, double* xValue, double* yValue) {
    const XScale scale = RowsScale(*this);
    if (xValue) {
        if (x < plotRect.left || x > plotRect.right)
            return false;
        *xValue = scale.PixelValue(x);
    }
    if (yValue) {
        if (y > plotRect.bottom || y < plotRect.top)
            return false;
        *yValue = YScale::Of(*this).PixelValue(y);
    }
    return true;
}

Point CDiagram::PixelAtValue(double xValue, double yValue) {
    return Point{RowsScale(*this).ValuePixel(xValue), YScale::Of(*this).ValuePixel(yValue)};
}

bool CDiagram::HitTestCurves(int x, int y, double* xValue, double* yValue, int* column,
                             std::string& xText, std::span<double> values) {
    if (columnCount == 0)
        return false;
    const bool valuesMode = !values.empty();
    if (valuesMode && static_cast<long long>(values.size()) <= LastShownColumn(*this))
        throw InvalidArgumentError("The values table holds " + std::to_string(values.size()) +
                                   " entries; the shown columns need " +
                                   std::to_string(LastShownColumn(*this) + 1) + ".");
    const XScale scale = XScale::Of(*this);
    if (scale.Rows() == 0 || x < plotRect.left || x > plotRect.right)
        return false;
    const double cursorX = scale.PixelValue(x);
    const StringArray& xCells = this->values[0];
    const int rightEnd = RightEndRow(xCells, cursorX);
    // The curves as the last paint drew them, on the device's pixel rows: the
    // distance from the middle of the pointer's pixel to the middle of the
    // curve's row, in window pixels.
    const YScale yScale = YScale::Of(*this).AtRatio(pixelRatio);
    const double pointerRow = (y + 0.5) * pixelRatio;
    int hitColumn = 0;
    double hitValue = 0.0;
    for (int c = 1; c <= LastShownColumn(*this); ++c) {
        const double value = ValueBetweenRows(xCells, this->values[c], rightEnd, cursorX);
        if (valuesMode) {
            values[static_cast<std::size_t>(c)] = value;
        } else if (yScale.Defined() && std::abs(yScale.CurvePixel(value) + 0.5 - pointerRow) <=
                                           kCurveHitTolerance * pixelRatio) {
            hitColumn = c;
            hitValue = value;
            break;
        }
    }
    if (!valuesMode && hitColumn == 0)
        return false;
    if (xValue)
        *xValue = cursorX;
    if (!valuesMode) {
        if (yValue)
            *yValue = hitValue;
        if (column)
            *column = hitColumn;
    }
    xText = xIsDateTime ? DateText(cursorX) : std::string();
    return true;
}

std::optional<CurveHit> CDiagram::CurveAtPixel(int x, int y) {
    CurveHit hit;
    if (!HitTestCurves(x, y, &hit.x, &hit.y, &hit.column, hit.xText))
        return std::nullopt;
    return hit;
}

std::optional<CurveValues> CDiagram::CurveValuesAtPixel(int x) {
    CurveValues result;
    result.values.assign(static_cast<std::size_t>(std::max(LastShownColumn(*this) + 1, 1)), 0.0);
    if (!HitTestCurves(x, 0, &result.x, nullptr, nullptr, result.xText, result.values))
        return std::nullopt;
    return result;
}

bool CDiagram::HitTestLegend(int x, int y) {
    // Only entries on screen can be hit: the legend is drawn, and the column
    // is one of the shown ones (whose position the last paint recorded).
    if (!showLegend)
        return false;
    for (int j = 1; j <= LastShownColumn(*this); ++j) {
        ColumnRecord& record = columns[j];
        if (LegendBoxContains(Point{record.legendX, record.legendY}, x, y)) {
            record.visible = !record.visible;
            return true;
        }
    }
    return false;
}
