// The text of one cell, as StringArray gives it. A cell kept as a number has
// no bytes in the column to point at: its text is written into this object,
// so a view of it lives exactly as long as the object. A view is therefore
// only handed out by a named object: `std::string_view s = cells[i];` does not
// compile, `const CellText s = cells[i];` does, and so do expressions that
// use the text before the statement ends (`std::string(cells[i])`,
// `cells[i] == "x"`, `out << cells[i]`). The text of a cell the column holds
// as text points into the column and is valid until the column changes.
#pragma once

#include "diagram/FixedPointCell.h"

#include <cstddef>
#include <iosfwd>
#include <string_view>

class CellText {
public:
    // Bytes that outlive this object.
    explicit CellText(std::string_view stored) : stored(stored.data()), length(stored.size()) {}
    // The text of a cell kept as value and its count of decimals.
    CellText(double value, int decimals) : length(fixed_point::Write(value, decimals, written)) {}

    std::size_t size() const { return length; }
    bool empty() const { return length == 0; }
    std::string_view View() const& { return {stored ? stored : written, length}; }
    std::string_view View() const&& = delete;
    operator std::string_view() const& { return View(); }
    operator std::string_view() const&& = delete;

    friend bool operator==(const CellText& a, std::string_view b) { return a.View() == b; }
    friend std::ostream& operator<<(std::ostream& out, const CellText& text);

private:
    const char* stored = nullptr; // null: the text is in written
    std::size_t length;
    char written[fixed_point::kMaxLength];
};
