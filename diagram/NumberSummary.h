// The smallest and largest number of every block of a column's rows, of
// every block of those blocks, and so on up: the bounds of any range of rows
// then come from a few dozen blocks instead of every row, and a curve of ten
// million rows can be drawn from what each pixel column holds. A NaN counts
// as 0, the height a curve draws it at. Also whether the numbers are in
// order, which is what lets rows be found by their value.
//
// The summary does not keep the numbers: every call is given them, and the
// first Rows() of them must be the ones it was extended with.
#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

struct NumberBounds {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
};

class NumberSummary {
public:
    // Rows of a block, and blocks of a block of the next level.
    static constexpr std::size_t kBlock = 32;

    // Takes in the numbers past the first Rows(), which must be unchanged.
    void Extend(std::span<const double> numbers);
    // Forgets the rows from `rows` on: the numbers there will change.
    void Truncate(std::size_t rows);
    void Clear() { *this = NumberSummary(); }

    std::size_t Rows() const { return rows; }
    // The bounds of numbers[first .. end - 1], NaN read as 0; the empty
    // bounds (min +inf, max -inf) for an empty range. Rows past Rows() are
    // read one by one.
    NumberBounds Of(std::span<const double> numbers, std::size_t first, std::size_t end) const;
    // Whether no number is NaN and none is smaller (Ascending) or larger
    // (Descending) than the one before.
    bool Ascending() const { return firstFall >= rows; }
    bool Descending() const { return firstRise >= rows; }
    // The memory the summary holds.
    std::size_t Bytes() const;

private:
    // levels[0] holds the bounds of the complete blocks of rows, levels[k]
    // those of the complete blocks of levels[k - 1].
    std::vector<std::vector<NumberBounds>> levels;
    std::size_t rows = 0;
    // The first row that is NaN or breaks the order; none: the largest value.
    std::size_t firstFall = std::numeric_limits<std::size_t>::max();
    std::size_t firstRise = std::numeric_limits<std::size_t>::max();
};
