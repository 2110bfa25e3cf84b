#include "analysis/RangeStatistics.h"
#include "diagram/LoadProgress.h"
#include "diagram/StringArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// What the statistics must be, from every row one by one, in long double
// with compensated sums, the deviation from a second pass around the mean.
struct Reference {
    std::vector<std::size_t> rows;
    long double mean = 0;
    long double rms = 0;
    long double deviation = 0;
};

long double CompensatedTotal(const std::vector<long double>& terms) {
    long double sum = 0;
    long double error = 0;
    for (const long double term : terms) {
        const long double total = sum + term;
        error += std::fabs(sum) >= std::fabs(term) ? (sum - total) + term : (term - total) + sum;
        sum = total;
    }
    return sum + error;
}

double Drawn(double value) {
    return std::isnan(value) ? 0.0 : value;
}

Reference Expected(std::span<const double> numbers, const std::vector<std::size_t>& rows) {
    Reference ref;
    ref.rows = rows;
    if (rows.empty())
        return ref;
    std::vector<long double> values, squares, deviations;
    for (const std::size_t row : rows) {
        const long double value = Drawn(numbers[row]);
        values.push_back(value);
        squares.push_back(value * value);
    }
    const long double n = static_cast<long double>(rows.size());
    ref.mean = CompensatedTotal(values) / n;
    ref.rms = std::sqrt(CompensatedTotal(squares) / n);
    for (const long double value : values)
        deviations.push_back((value - ref.mean) * (value - ref.mean));
    ref.deviation = std::sqrt(CompensatedTotal(deviations) / n);
    return ref;
}

// Relative 1e-12, and a floor far below any digit shown for results that
// are 0 or nearly: a mean that cancels, the deviation of equal rows.
void ExpectClose(double got, long double want, long double scale, const char* what,
                 const std::string& where) {
    const long double tolerance = 1e-12L * std::fabs(want) + 1e-15L * scale;
    EXPECT_LE(std::fabs(got - want), tolerance)
        << what << " " << where << ": got " << got << ", want " << static_cast<double>(want);
}

void ExpectStatistics(const CurveStatistics& got, std::span<const double> numbers,
                      const std::vector<std::size_t>& rows, const std::string& where) {
    ASSERT_EQ(got.rows, rows.size()) << where;
    if (rows.empty())
        return;
    const Reference ref = Expected(numbers, rows);
    EXPECT_EQ(got.firstRow, rows.front()) << where;
    EXPECT_EQ(got.lastRow, rows.back()) << where;
    std::size_t minRow = rows.front(), maxRow = rows.front();
    for (const std::size_t row : rows) {
        if (Drawn(numbers[row]) < Drawn(numbers[minRow]))
            minRow = row;
        if (Drawn(numbers[row]) > Drawn(numbers[maxRow]))
            maxRow = row;
    }
    EXPECT_EQ(got.min, Drawn(numbers[minRow])) << where;
    EXPECT_EQ(got.max, Drawn(numbers[maxRow])) << where;
    EXPECT_EQ(got.minRow, minRow) << where;
    EXPECT_EQ(got.maxRow, maxRow) << where;
    EXPECT_EQ(got.PeakToPeak(), got.max - got.min);
    ExpectClose(got.mean, ref.mean, ref.rms, "mean", where);
    ExpectClose(got.rms, ref.rms, ref.rms, "rms", where);
    ExpectClose(got.deviation, ref.deviation, ref.rms, "deviation", where);
}

// Cells as loggers write them, with what a curve draws as 0 or as a number
// all the same: blanks, texts, NaN, huge and tiny values.
std::string Cell(std::mt19937& random, double offset) {
    switch (random() % 20) {
    case 0:
        return "";
    case 1:
        return "n/a";
    case 2:
        return "nan";
    case 3:
        return "12.5kPa"; // read as 12.5 by the atof rule
    case 4:
        return std::to_string(static_cast<double>(random() % 1000)) + "e140";
    case 5:
        return std::to_string(static_cast<double>(random() % 1000)) + "e-140";
    default:
        return std::to_string(
            offset + static_cast<double>(static_cast<int>(random() % 20001) - 10000) / 1000.0);
    }
}

enum class XOrder { Ascending, Descending, Unordered, Labels };

std::string XCell(XOrder order, std::size_t row, std::mt19937& random) {
    switch (order) {
    case XOrder::Ascending: // repeated X values: three rows share each
        return std::to_string(static_cast<double>(row / 3) * 0.5);
    case XOrder::Descending:
        return std::to_string(100000.0 - static_cast<double>(row / 2));
    case XOrder::Unordered:
        return random() % 50 == 0 ? std::string("nan") : std::to_string(random() % 5000);
    case XOrder::Labels:
        return "row" + std::to_string(row);
    }
    return {};
}

// The rows a user means by "between from and to", found one by one.
std::vector<std::size_t> RowsByScan(std::span<const double> x, XOrder order, double from,
                                    double to) {
    const double low = std::min(from, to), high = std::max(from, to);
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < x.size(); ++row) {
        const double at = order == XOrder::Labels ? static_cast<double>(row) : x[row];
        if (low <= at && at <= high)
            rows.push_back(row);
    }
    return rows;
}

std::vector<CurveStatistics> Statistics(const StringArray& x, XOrder order,
                                        const std::vector<StringArray>& columns, double from,
                                        double to) {
    std::vector<const StringArray*> shown;
    for (const StringArray& column : columns)
        shown.push_back(&column);
    return StatisticsBetween(x, order != XOrder::Labels, shown, from, to);
}

// A range end: on a row's X, between two, or outside every row.
double RangeEnd(std::span<const double> x, XOrder order, std::mt19937& random) {
    const std::size_t row = random() % x.size();
    const double at = order == XOrder::Labels ? static_cast<double>(row) : Drawn(x[row]);
    switch (random() % 4) {
    case 0:
        return at;
    case 1:
        return at + 0.25;
    case 2:
        return at - 0.3;
    default:
        return random() % 2 ? -1e9 : 1e9;
    }
}

void CheckRandomRanges(XOrder order, std::size_t rows, std::size_t appended, int ranges,
                       unsigned seed) {
    std::mt19937 random(seed);
    StringArray x;
    std::vector<StringArray> columns(3);
    const double offsets[] = {0.0, 1e6, -3.0};
    const auto append = [&](std::size_t from, std::size_t to) {
        for (std::size_t row = from; row < to; ++row) {
            x.Add(XCell(order, row, random));
            for (std::size_t c = 0; c < columns.size(); ++c)
                columns[c].Add(Cell(random, offsets[c]));
        }
    };
    append(0, rows);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < ranges; ++i) {
            const double from = RangeEnd(x.Numbers(), order, random);
            const double to = RangeEnd(x.Numbers(), order, random);
            const std::vector<std::size_t> want = RowsByScan(x.Numbers(), order, from, to);
            const std::vector<CurveStatistics> got = Statistics(x, order, columns, from, to);
            for (std::size_t c = 0; c < columns.size(); ++c)
                ExpectStatistics(got[c], columns[c].Numbers(), want,
                                 "between " + std::to_string(from) + " and " + std::to_string(to) +
                                     ", column " + std::to_string(c) + ", pass " +
                                     std::to_string(pass));
            if (::testing::Test::HasFailure())
                return;
        }
        // Rows appended after the summaries were made are summarised too.
        append(rows, rows + appended);
        rows += appended;
    }
}

TEST(RangeStatistics, EqualABruteForceReferenceOverRandomRangesForEveryOrderOfX) {
    CheckRandomRanges(XOrder::Ascending, 20'000, 9'001, 500, 1);
    CheckRandomRanges(XOrder::Descending, 12'000, 777, 400, 2);
    CheckRandomRanges(XOrder::Unordered, 4'000, 300, 200, 3);
    CheckRandomRanges(XOrder::Labels, 10'000, 4'321, 400, 4);
}

TEST(RangeStatistics, HugeRunsAcrossEveryLevelOfTheSummary) {
    // Over a million rows: blocks of sums three levels deep.
    StringArray x, column;
    std::mt19937 random(5);
    for (std::size_t row = 0; row < (1u << 20) + 77; ++row) {
        x.Add(std::to_string(row));
        column.Add(std::to_string(1e8 + static_cast<double>(random() % 1000) / 997.0));
    }
    for (int i = 0; i < 20; ++i) {
        std::size_t a = random() % x.GetSize(), b = random() % x.GetSize();
        if (a > b)
            std::swap(a, b);
        const RowsBetween rows(x, true, static_cast<double>(b), static_cast<double>(a));
        ASSERT_TRUE(rows.Contiguous());
        std::vector<std::size_t> want;
        for (std::size_t row = a; row <= b; ++row)
            want.push_back(row);
        ExpectStatistics(StatisticsOfRun(column, rows.First(), rows.End()), column.Numbers(), want,
                         "rows " + std::to_string(a) + " .. " + std::to_string(b));
    }
}

TEST(RangeStatistics, EqualRowsHaveNoDeviationAndNoRowsNoStatistics) {
    StringArray x, column;
    for (int row = 0; row < 1000; ++row) {
        x.Add(std::to_string(row));
        column.Add("0.1");
    }
    const CurveStatistics equal = StatisticsOfRun(column, 10, 900);
    EXPECT_EQ(equal.deviation, 0.0);
    EXPECT_EQ(equal.mean, 0.1);
    EXPECT_EQ(equal.PeakToPeak(), 0.0);
    EXPECT_EQ(equal.minRow, 10u);

    const RowsBetween none(x, true, 2000, 3000);
    EXPECT_EQ(none.First(), none.End());
    const CurveStatistics empty = StatisticsOfRun(column, none.First(), none.End());
    EXPECT_EQ(empty.rows, 0u);
    EXPECT_TRUE(std::isnan(empty.mean));
    EXPECT_EQ(RowsBetween(x, true, NAN, 5).End(), 0u);
}

TEST(RangeStatistics, TheScatteredPassStopsWhenCancelled) {
    StringArray x, column;
    for (int row = 0; row < 200'000; ++row) {
        x.Add(std::to_string(row % 7));
        column.Add("1");
    }
    LoadProgress progress;
    progress.Cancel();
    const std::vector<std::span<const double>> columns{column.Numbers()};
    EXPECT_THROW(StatisticsOfScattered(x.Numbers(), columns, RowsBetween(x, true, 0, 3), &progress),
                 LoadCancelled);
}

} // namespace
