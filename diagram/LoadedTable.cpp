#include "diagram/LoadedTable.h"

#include "diagram/TwoThreads.h"

#include <algorithm>

void LoadedTable::PrepareNumbers() const {
    const int columns = std::max(values.GetSize() - 1, 0);
    SplitInTwo(static_cast<std::size_t>(columns), 2, [this](std::size_t from, std::size_t to) {
        for (std::size_t c = from; c < to; ++c) {
            values[static_cast<int>(c)].Summary();
            values[static_cast<int>(c)].Range();
        }
    });
}
