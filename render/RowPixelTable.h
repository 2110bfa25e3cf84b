// The pixel column of every row, kept from one paint to the next: a repaint
// of an unchanged diagram at an unchanged size reuses it instead of mapping
// every X again. A new plot rectangle, X range or X step, and any change of
// the X column's cells (a reload, appended rows), renew it.
#pragma once

#include "render/Scales.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class StringArray;

class RowPixelTable {
public:
    // RowPixels(scale, xCells), valid until the next call.
    std::span<const int> For(const XScale& scale, const StringArray& xCells);
    // The index of the first row of the last For whose pixel column lies
    // right of the plot, or the row count when there is none.
    std::size_t FirstPastRight() const { return firstPastRight; }

private:
    bool kept = false;
    XScale scale;
    std::uint64_t content = 0;
    int rows = 0;
    std::vector<int> pixels;
    std::size_t firstPastRight = 0;
};
