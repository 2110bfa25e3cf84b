#include "diagram/LoadedTable.h"

#include "diagram/TwoThreads.h"

#include <algorithm>

namespace {

// Tables of fewer cells are prepared by one thread: a second one would cost
// more than it saves.
constexpr std::size_t kCellsForTwoThreads = std::size_t{1} << 16;

} // namespace

void LoadedTable::PrepareNumbers() const {
    const auto columns = static_cast<std::size_t>(std::max(values.GetSize() - 1, 0));
    const std::size_t rows = columns > 0 ? static_cast<std::size_t>(values[0].GetSize()) : 0;
    const std::size_t split = rows * columns >= kCellsForTwoThreads ? 2 : columns + 1;
    SplitInTwo(columns, split, [this](std::size_t from, std::size_t to) {
        for (std::size_t c = from; c < to; ++c) {
            values[static_cast<int>(c)].Summary();
            values[static_cast<int>(c)].Range();
        }
    });
}
