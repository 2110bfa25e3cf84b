// The smallest and largest number of every block of a column's rows, of
// every block of those blocks, and so on up: the bounds of any range of rows
// then come from a few dozen blocks instead of every row, and a curve of ten
// million rows can be drawn from what each pixel column holds. A NaN counts
// as 0, the height a curve draws it at. Also whether the numbers are in
// order, which is what lets rows be found by their value. Beside the bounds,
// the compensated sums of the numbers and of their squares by larger blocks,
// so that the mean and spread of any range come from a few dozen sums too.
//
// The summary does not keep the numbers: every call is given them, and the
// first Rows() of them must be the ones it was extended with.
#pragma once

#include "diagram/CompensatedSum.h"

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

struct NumberBounds {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
};

// The sums of a range of numbers and of their squares, NaN read as 0.
struct RowSums {
    CompensatedSum values;
    CompensatedSum squares;

    void Add(double value) {
        if (value != value)
            value = 0.0;
        values.Add(value);
        squares.AddSquare(value);
    }
    void Add(const RowSums& other) {
        values.Add(other.values);
        squares.Add(other.squares);
    }
};

class NumberSummary {
public:
    // Rows of a block, and blocks of a block of the next level.
    static constexpr std::size_t kBlock = 32;
    // Rows of a block of sums; kBlock of those make a block of the next
    // level of sums.
    static constexpr std::size_t kSumBlock = 256;

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
    // The sums of numbers[first .. end - 1], read as Of reads them.
    RowSums SumsOf(std::span<const double> numbers, std::size_t first, std::size_t end) const;
    // The first row of numbers[first .. end - 1] whose number (NaN read as 0)
    // is value, which must be the min or the max Of gives for that range;
    // end when there is none.
    std::size_t FirstRowOf(std::span<const double> numbers, std::size_t first, std::size_t end,
                           double value) const;
    // Whether no number is NaN and none is smaller (Ascending) or larger
    // (Descending) than the one before.
    bool Ascending() const { return firstFall >= rows; }
    bool Descending() const { return firstRise >= rows; }
    // The memory the summary holds.
    std::size_t Bytes() const;

private:
    std::size_t FirstBlockOf(std::size_t level, std::size_t from, std::size_t to,
                             double value) const;
    void AddSumBlocks(RowSums& result, std::size_t level, std::size_t from, std::size_t to) const;

    // levels[0] holds the bounds of the complete blocks of rows, levels[k]
    // those of the complete blocks of levels[k - 1].
    std::vector<std::vector<NumberBounds>> levels;
    // sums[0] holds the sums of the complete blocks of kSumBlock rows,
    // sums[k] those of the complete blocks of kBlock of sums[k - 1].
    std::vector<std::vector<RowSums>> sums;
    std::size_t rows = 0;
    // The first row that is NaN or breaks the order; none: the largest value.
    std::size_t firstFall = std::numeric_limits<std::size_t>::max();
    std::size_t firstRise = std::numeric_limits<std::size_t>::max();
};
