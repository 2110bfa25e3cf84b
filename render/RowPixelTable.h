// Where the rows lie across the plot, kept from one paint to the next: a
// repaint of an unchanged diagram at an unchanged size reuses it instead of
// mapping every X again. A new plot rectangle, X range or X step, and any
// change of the X column's cells (a reload, appended rows), renew it.
//
// Rows whose pixel columns never fall from one row to the next (rows placed
// by index, or an X in order either way) are also kept as pixel columns: each
// column that holds rows, with the first of them, found by searching rather
// than by mapping every row. The pixel column of every row is then made only
// when a paint asks for it.
#pragma once

#include "render/Scales.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class StringArray;

// A pixel column that holds rows, and the first of them.
struct RowColumn {
    int x = 0;
    std::size_t firstRow = 0;
};

class RowPixelTable {
public:
    // Places the rows of xCells as scale maps them. xCells must not change
    // until the next Place.
    void Place(const XScale& scale, const StringArray& xCells);

    // The rows placed: 0 when the scale does not place rows.
    std::size_t Placed() const { return placed; }
    // The index of the first row whose pixel column lies right of the plot,
    // or Placed() when there is none.
    std::size_t FirstPastRight() const { return firstPastRight; }
    // The pixel column of row `row` < Placed().
    int PixelOf(std::size_t row) const;
    // The pixel column of every row placed: made on the first call after a
    // new Place.
    std::span<const int> Pixels() const;

    // Whether the pixel columns never fall from one row to the next.
    bool Ordered() const { return ordered; }
    // Of ordered rows, the pixel columns from the first row's up to that of
    // the first row past the plot (which holds that row alone), left to
    // right; empty when the rows are not ordered.
    std::span<const RowColumn> Columns() const { return columns; }
    // Of ordered rows, the first row right of pixel column x.
    std::size_t FirstRowRightOf(int x) const;

private:
    void PlaceInColumns();

    XScale scale;
    std::span<const double> xNumbers;
    std::uint64_t content = 0;
    std::size_t placed = 0;
    std::size_t firstPastRight = 0;
    bool kept = false;
    bool ordered = false;
    std::vector<RowColumn> columns;
    mutable std::vector<int> pixels;
    mutable bool pixelsMade = false;
};
