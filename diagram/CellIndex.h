// Where each cell text of a column lies in its buffer, in little more than a
// byte per cell: the length of every cell, and the start of every 64th. A
// cell of 255 bytes or more keeps its length in a short list of its own.
// Reading the cells in order costs nothing extra; one cell on its own costs
// a sum of at most 63 lengths. The texts of one block of 64 lie back to back;
// between two blocks the buffer may hold bytes of no cell (see
// StringArray::AddAll).
#pragma once

#include "diagram/ColumnBuffer.h"

#include <cstddef>
#include <cstdint>

class CellIndex {
public:
    static constexpr std::size_t kBlock = 64;

    std::size_t size() const { return lengths.size(); }
    bool empty() const { return lengths.empty(); }

    // A cell of length bytes at begin, right after the last one.
    void Add(std::size_t begin, std::size_t length) {
        if (lengths.size() % kBlock == 0)
            starts.push_back(static_cast<std::uint32_t>(begin));
        if (length >= kLong) [[unlikely]] {
            AddLong(length);
            return;
        }
        lengths.push_back(static_cast<std::uint8_t>(length));
    }
    // Every cell of other, whose texts now start at offset.
    void AddAll(const CellIndex& other, std::size_t offset);
    void clear();

    std::size_t Length(std::size_t i) const {
        const std::uint8_t length = lengths[i];
        return length < kLong ? length : LongLength(i);
    }
    std::size_t Begin(std::size_t i) const;
    // The bytes held for the index.
    std::size_t Bytes() const {
        return lengths.size() + starts.size() * sizeof(std::uint32_t) +
               longCells.size() * sizeof(LongCell);
    }
    // Calls visit(index, begin, length) for cells [from, to), in order.
    template <class Visit> void ForEach(std::size_t from, std::size_t to, Visit&& visit) const {
        if (from >= to)
            return;
        std::size_t begin = Begin(from);
        for (std::size_t i = from; i < to; ++i) {
            if (i % kBlock == 0)
                begin = starts[i / kBlock];
            const std::size_t length = Length(i);
            visit(i, begin, length);
            begin += length;
        }
    }

private:
    static constexpr std::uint8_t kLong = 255;
    void AddLong(std::size_t length);
    std::size_t LongLength(std::size_t i) const;

    ColumnBuffer<std::uint8_t> lengths; // kLong: see longCells
    ColumnBuffer<std::uint32_t> starts; // start of cells 0, 64, 128 ...
    struct LongCell {
        std::uint32_t index;
        std::uint32_t length;
    };
    ColumnBuffer<LongCell> longCells; // in index order
};
