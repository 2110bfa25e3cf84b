#include "diagram/CellIndex.h"

#include <algorithm>

void CellIndex::AddLong(std::size_t length) {
    longCells.push_back(
        LongCell{static_cast<std::uint32_t>(lengths.size()), static_cast<std::uint32_t>(length)});
    lengths.push_back(kLong);
}

std::size_t CellIndex::LongLength(std::size_t i) const {
    const auto* const first = longCells.data();
    const auto* const last = first + longCells.size();
    const auto* found = std::lower_bound(
        first, last, i, [](const LongCell& cell, std::size_t index) { return cell.index < index; });
    return found->length;
}

std::size_t CellIndex::Begin(std::size_t i) const {
    const std::size_t block = i / kBlock;
    std::size_t begin = starts[block];
    for (std::size_t j = block * kBlock; j < i; ++j)
        begin += Length(j);
    return begin;
}

void CellIndex::AddAll(const CellIndex& other, std::size_t offset) {
    const std::size_t before = lengths.size();
    for (std::size_t k = 0; k < other.longCells.size(); ++k) {
        const LongCell& cell = other.longCells[k];
        longCells.push_back(LongCell{static_cast<std::uint32_t>(before + cell.index), cell.length});
    }
    lengths.Append(other.lengths.data(), other.lengths.size());
    // The block starts follow from the lengths, since blocks of the two need
    // not line up.
    std::size_t i = before;
    std::size_t begin = offset;
    if (i % kBlock != 0) {
        const std::size_t next = std::min(lengths.size(), (i / kBlock + 1) * kBlock);
        for (; i < next; ++i)
            begin += Length(i);
    }
    for (; i < lengths.size(); ++i) {
        if (i % kBlock == 0)
            starts.push_back(static_cast<std::uint32_t>(begin));
        begin += Length(i);
    }
}

void CellIndex::clear() {
    lengths.clear();
    starts.clear();
    longCells.clear();
}
