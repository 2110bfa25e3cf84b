// The value-to-pixel mappings of one paint, built from the plot rectangle and
// scale fields the paint has just computed. The axes, curves, marker line and
// hit tests all map through these two values, so each formula lives here once.
#pragma once

#include "diagram/Geometry.h"

#include <vector>

class CDiagram;
class StringArray;

// The last of the shown columns: the data columns 1 .. columnCount - 2, and
// the spectrum column columnCount - 1 while the spectrum is shown. Below 1
// when there is none.
int LastShownColumn(const CDiagram& diagram);

// X: rows placed by their value (number and date-time X) or evenly by index
// (labels); values mapped linearly between the first and the last row's X.
class XScale {
public:
    explicit XScale(const CDiagram& diagram);

    int Rows() const { return rows; }
    double First() const { return first; }
    double Last() const { return last; }

    // Whether RowPixel is defined: at least two rows and, when placing by
    // value, a last X that differs from the first.
    bool PlacesRows() const;
    // The pixel column of a row as the axis and the curves draw it. The
    // columns of all rows are computed on the first call and kept, so the
    // curves sharing one scale read each X cell once.
    int RowPixel(int row) const;
    // Whether values map to pixels: at least one row and a last X that
    // differs from the first by a finite amount.
    bool MapsValues() const;
    // Value to pixel, truncated once after the whole expression; the plot's
    // left edge when the X range is empty (one row, or equal first and last X).
    int ValuePixel(double value) const;
    // Pixel to value; the first X when the plot has no width.
    double PixelValue(int x) const;

private:
    int PlaceRow(int row) const;

    const StringArray* x = nullptr; // the X column; null without a table
    int rows = 0;
    bool byValue = false;
    double first = 0.0;
    double last = 0.0;
    int left = 0;
    int width = 0;
    double gridStepPx = 0.0;
    mutable std::vector<int> rowPixels;
};

// Y: yMin at the bottom edge, one yDelta more every yGridStepPx pixels up.
class YScale {
public:
    explicit YScale(const CDiagram& diagram);

    // A positive, finite yDelta and grid step and a finite yMin. A zero or
    // negative yDelta (typed in by hand) leaves the Y mapping undefined.
    bool Defined() const;
    // The pixel row of a value as the curves and the readout compute it:
    // value and yMin are scaled and truncated separately.
    int CurvePixel(double value) const;
    // The pixel row truncated once after the whole expression; the bottom
    // edge when the mapping is undefined.
    int ValuePixel(double value) const;
    // Pixel row to value; yMin when the grid step is not positive.
    double PixelValue(int y) const;

private:
    int bottom = 0;
    double yMin = 0.0;
    double yDelta = 0.0;
    double gridStepPx = 0.0;
    double pixelsPerUnit = 0.0;
    int offset = 0;
};
