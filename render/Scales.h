// The value-to-pixel mappings of a paint: small values built from the plot
// rectangle and the scale fields, like a plotting library's scale maps. The
// axes, curves, marker line and hit tests all map through them, so each
// formula lives here once.
#pragma once

#include "diagram/Geometry.h"
#include "diagram/Numbers.h"

#include <span>

class CDiagram;

// The last of the shown columns: the data columns 1 .. columnCount - 2, and
// the spectrum column columnCount - 1 while the spectrum is shown. Below 1
// when there is none.
int LastShownColumn(const CDiagram& diagram);

// The device pixel where layout pixel `pixel` begins on a device of `ratio`
// device pixels per layout pixel; the pixel itself at ratio 1.
int DevicePixel(int pixel, double ratio);

// X: rows placed by their value (number and date-time X) or evenly by index
// (labels); values mapped linearly between the first and the last row's X.
class XScale {
public:
    XScale() = default;
    // rows rows whose X runs from first to last over plot; gridStepPx pixels
    // between rows placed by index.
    XScale(const Rect& plot, bool byValue, int rows, double first, double last, double gridStepPx);
    // The mapping of the diagram's last paint: its plot rectangle, X step and
    // the X column's first and last values.
    static XScale Of(const CDiagram& diagram);

    int Rows() const { return rows; }
    double First() const { return first; }
    double Last() const { return last; }
    // The plot's right edge and width.
    int Right() const { return left + width; }
    int Width() const { return width; }
    // Whether rows are placed by their X value rather than by index.
    bool ByValue() const { return byValue; }

    // Whether RowPixel is defined: at least two rows and, when placing by
    // value, a last X that differs from the first.
    bool PlacesRows() const;
    // The pixel column of row `row`, whose X value is xValue, as the axis and
    // the curves draw it; within +-kPixelLimit.
    int RowPixel(int row, double xValue) const;
    // Whether values map to pixels: at least one row and a last X that
    // differs from the first by a finite amount.
    bool MapsValues() const;
    // Value to pixel, truncated once after the whole expression and kept
    // within +-kPixelLimit; the plot's left edge when the X range is empty
    // (one row, or equal first and last X).
    int ValuePixel(double value) const;
    // Pixel to value; the first X when the plot has no width.
    double PixelValue(int x) const;
    // The same mapping onto the device pixels of a plot drawn at `ratio`:
    // the plot's edges where DevicePixel puts them, rows placed by index
    // spread evenly over its device width.
    XScale AtRatio(double ratio) const;

    bool operator==(const XScale&) const = default;

private:
    bool byValue = false;
    int rows = 0;
    double first = 0.0;
    double last = 0.0;
    int left = 0;
    int width = 0;
    double gridStepPx = 0.0;
};

// Y: yMin at the bottom edge, one yDelta more every gridStepPx pixels up.
class YScale {
public:
    YScale() = default;
    YScale(int bottom, double yMin, double yDelta, double gridStepPx);
    // The mapping of the diagram's last paint.
    static YScale Of(const CDiagram& diagram);

    // A positive, finite yDelta and grid step and a finite yMin. A zero or
    // negative yDelta (typed in by hand) leaves the Y mapping undefined.
    bool Defined() const;
    // The pixel row of a value as the curves and the readout compute it:
    // value and yMin are scaled and truncated separately.
    int CurvePixel(double value) const { return bottom - Trunc(value * pixelsPerUnit) + offset; }
    // CurvePixel of every value into pixels (as many), several values per
    // instruction where the processor has them.
    void CurvePixels(std::span<const double> values, int* pixels) const;
    // The pixel row truncated once after the whole expression; the bottom
    // edge when the mapping is undefined.
    int ValuePixel(double value) const;
    // Pixel row to value; yMin when the grid step is not positive.
    double PixelValue(int y) const;
    // The same mapping onto the device pixel rows of a plot drawn at `ratio`.
    YScale AtRatio(double ratio) const;

private:
    int bottom = 0;
    double yMin = 0.0;
    double yDelta = 0.0;
    double gridStepPx = 0.0;
    double pixelsPerUnit = 0.0;
    int offset = 0;
};
