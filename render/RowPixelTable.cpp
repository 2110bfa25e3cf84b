#include "render/RowPixelTable.h"

#include "diagram/StringArray.h"

#include <algorithm>

void RowPixelTable::Place(const XScale& wanted, const StringArray& xCells) {
    const std::size_t rows = static_cast<std::size_t>(xCells.GetSize());
    if (kept && wanted == scale && xCells.Content() == content &&
        rows == static_cast<std::size_t>(scale.Rows()))
        return;
    // Forgotten first, so that a failure part way leaves nothing stale.
    kept = false;
    pixelsMade = false;
    columns.clear();
    scale = wanted;
    placed = wanted.PlacesRows() ? static_cast<std::size_t>(wanted.Rows()) : 0;
    xNumbers = placed > 0 ? xCells.Numbers() : std::span<const double>();
    // Rows placed by value keep the order of their X whichever way it runs:
    // the first row lies at the left edge and the last at the right.
    ordered = placed > 0 && wanted.Width() >= 0 &&
              (!wanted.ByValue() || xCells.Summary().Ascending() || xCells.Summary().Descending());
    if (ordered) {
        PlaceInColumns();
    } else {
        const std::span<const int> all = Pixels();
        const int right = wanted.Right();
        firstPastRight = static_cast<std::size_t>(
            std::find_if(all.begin(), all.end(), [right](int x) { return x > right; }) -
            all.begin());
    }
    content = xCells.Content();
    kept = true;
}

int RowPixelTable::PixelOf(std::size_t row) const {
    return scale.RowPixel(static_cast<int>(row), xNumbers[row]);
}

std::span<const int> RowPixelTable::Pixels() const {
    if (!pixelsMade) {
        pixels.clear();
        pixels.resize(placed);
        for (std::size_t j = 0; j < placed; ++j)
            pixels[j] = PixelOf(j);
        pixelsMade = true;
    }
    return pixels;
}

// Each column's rows end where the next column's begin: found by a search
// that doubles its step from the column's first row, then halves it, so a
// column of few rows costs few steps.
void RowPixelTable::PlaceInColumns() {
    const int right = scale.Right();
    firstPastRight = placed;
    for (std::size_t row = 0; row < placed;) {
        const int x = PixelOf(row);
        columns.push_back(RowColumn{x, row});
        if (x > right) {
            firstPastRight = row;
            break;
        }
        std::size_t inside = row; // a row of column x
        std::size_t step = 1;
        while (inside + step < placed && PixelOf(inside + step) <= x) {
            inside += step;
            step *= 2;
        }
        std::size_t beyond = std::min(inside + step, placed); // right of x, or the end
        while (beyond - inside > 1) {
            const std::size_t middle = inside + (beyond - inside) / 2;
            (PixelOf(middle) <= x ? inside : beyond) = middle;
        }
        row = beyond;
    }
}

std::size_t RowPixelTable::FirstRowRightOf(int x) const {
    const auto column = std::upper_bound(columns.begin(), columns.end(), x,
                                         [](int px, const RowColumn& c) { return px < c.x; });
    return column == columns.end() ? placed : column->firstRow;
}
