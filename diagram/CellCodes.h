// What each cell of a column is: a number kept with its count of decimals
// (0 to 15), an empty cell, a cell of one space, or a text kept as it is. A
// column whose cells all share one code (numbers written with a fixed count
// of decimals, the common case) holds just that code and the count of cells;
// the first cell of another code writes out a byte for every cell. The count
// of text cells before every 64th cell finds a text cell's place among the
// texts in at most 63 steps.
#pragma once

#include "diagram/ColumnBuffer.h"
#include "diagram/FixedPointCell.h"

#include <cstddef>
#include <cstdint>

class CellCodes {
public:
    static constexpr std::uint8_t kEmpty = fixed_point::kMaxDecimals + 1;
    static constexpr std::uint8_t kSpace = kEmpty + 1;
    static constexpr std::uint8_t kText = kSpace + 1;
    static constexpr std::size_t kBlock = 64;

    std::size_t size() const { return count; }
    std::uint8_t operator[](std::size_t i) const { return bytes.empty() ? common : bytes[i]; }
    static bool IsBlank(std::uint8_t code) { return code == kEmpty || code == kSpace; }

    void Add(std::uint8_t code) {
        if (bytes.empty() && (code == common || count == 0)) [[likely]] {
            common = code;
            ++count;
            return;
        }
        AddMixed(code);
    }
    void AddAll(const CellCodes& other);
    void clear();

    // The count of text cells before cell i.
    std::size_t TextsBefore(std::size_t i) const;
    // The bytes held for the codes.
    std::size_t Bytes() const { return bytes.size() + textsBefore.size() * sizeof(std::uint32_t); }

private:
    void AddMixed(std::uint8_t code);
    void WriteOut();
    void CountTexts(std::size_t from);

    std::size_t count = 0;
    std::uint8_t common = 0;                 // the code of every cell while bytes is empty
    ColumnBuffer<std::uint8_t> bytes;        // one per cell once two codes occur
    ColumnBuffer<std::uint32_t> textsBefore; // text cells before cells 0, 64, 128 ...
    std::size_t texts = 0;                   // text cells among bytes
};
