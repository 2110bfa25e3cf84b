// The statistics of a table's curves over the rows between two X values: the
// count of rows, the smallest and largest value and where each is first
// reached, mean, RMS and standard deviation. Each value is read as its curve
// draws it: the cell's number by the atof rule, a NaN as 0. Where X is in
// order the rows between are one run, and its statistics come from the
// column's summary in O(log rows); otherwise every row's X is looked at once.
#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

class LoadProgress;
class StringArray;

struct CurveStatistics {
    // Without rows every other member is undefined: NaN, rows 0.
    std::size_t rows = 0;
    // The first and the last row taken.
    std::size_t firstRow = 0;
    std::size_t lastRow = 0;
    double min = std::numeric_limits<double>::quiet_NaN();
    std::size_t minRow = 0; // the first row taken that holds min
    double max = std::numeric_limits<double>::quiet_NaN();
    std::size_t maxRow = 0;
    double mean = std::numeric_limits<double>::quiet_NaN();
    double rms = std::numeric_limits<double>::quiet_NaN();
    // Of the rows themselves: dividing by their number.
    double deviation = std::numeric_limits<double>::quiet_NaN();

    double PeakToPeak() const { return max - min; }
};

// The rows whose X lies between two values, both ends included, in either
// order. Rows placed by their X (number and date-time X) are taken by their
// X number; rows placed by index (labels) by their index, the two values
// then being row positions.
class RowsBetween {
public:
    RowsBetween(const StringArray& x, bool byValue, double from, double to);

    // Whether the rows taken are the run First() .. End() - 1: X in either
    // order (no NaN), or rows by index. Otherwise each row whose X number
    // Takes is taken.
    bool Contiguous() const { return contiguous; }
    std::size_t First() const { return first; }
    std::size_t End() const { return end; }
    bool Takes(double x) const { return low <= x && x <= high; }

private:
    double low;
    double high;
    bool contiguous = true;
    std::size_t first = 0;
    std::size_t end = 0;
};

// The statistics of a column over the run of rows first .. end - 1, from the
// column's summary and the rows at its two ends.
CurveStatistics StatisticsOfRun(const StringArray& column, std::size_t first, std::size_t end);

// The statistics of each of columns over the rows between from and to (see
// RowsBetween): from the summaries where the rows are one run, else in one
// pass, which progress can cancel (LoadCancelled). A column's numbers and
// summary are made here when they are not yet, so a caller that shares the
// columns with another thread makes them first.
std::vector<CurveStatistics> StatisticsBetween(const StringArray& x, bool byValue,
                                               std::span<const StringArray* const> columns,
                                               double from, double to,
                                               const LoadProgress* progress = nullptr);

// The statistics of each of columns over the rows whose X number rows takes,
// in one pass over every row. With progress, raises LoadCancelled soon after
// it is cancelled.
std::vector<CurveStatistics> StatisticsOfScattered(std::span<const double> x,
                                                   std::span<const std::span<const double>> columns,
                                                   const RowsBetween& rows,
                                                   const LoadProgress* progress = nullptr);
