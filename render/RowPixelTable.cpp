#include "render/RowPixelTable.h"

#include "diagram/StringArray.h"

#include <algorithm>

std::span<const int> RowPixelTable::For(const XScale& wanted, const StringArray& xCells) {
    if (!kept || !(wanted == scale) || xCells.Content() != content || xCells.GetSize() != rows) {
        // Forgotten first, so that a failure part way leaves nothing stale.
        kept = false;
        RowPixels(wanted, xCells, pixels);
        const int right = wanted.Right();
        firstPastRight = static_cast<std::size_t>(
            std::find_if(pixels.begin(), pixels.end(), [right](int x) { return x > right; }) -
            pixels.begin());
        scale = wanted;
        content = xCells.Content();
        rows = xCells.GetSize();
        kept = true;
    }
    return pixels;
}
