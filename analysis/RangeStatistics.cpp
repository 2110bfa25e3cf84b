#include "analysis/RangeStatistics.h"

#include "diagram/LoadProgress.h"
#include "diagram/StringArray.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

namespace {

// A number held as the unevaluated sum of two doubles: about 106 bits, so
// that the variance, a small difference of two large sums, keeps its digits.
struct DoubleDouble {
    double high = 0.0;
    double low = 0.0;
};

DoubleDouble TwoSum(double a, double b) {
    const double sum = a + b;
    const double part = sum - a;
    return {sum, (a - (sum - part)) + (b - part)};
}

// a * b exactly, by Dekker's splitting (no fused multiply-add needed).
DoubleDouble TwoProduct(double a, double b) {
    constexpr double kSplit = 134217729.0; // 2^27 + 1
    const double product = a * b;
    const double sa = kSplit * a;
    const double aHigh = sa - (sa - a);
    const double aLow = a - aHigh;
    const double sb = kSplit * b;
    const double bHigh = sb - (sb - b);
    const double bLow = b - bHigh;
    return {product, ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow};
}

DoubleDouble Normalised(const CompensatedSum& sum) {
    return TwoSum(sum.sum, sum.error);
}

DoubleDouble Plus(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble high = TwoSum(a.high, b.high);
    return TwoSum(high.high, high.low + a.low + b.low);
}

DoubleDouble Times(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = TwoProduct(a.high, b.high);
    return TwoSum(product.high, product.low + a.high * b.low + a.low * b.high);
}

DoubleDouble Over(DoubleDouble a, double b) {
    const double quotient = a.high / b;
    const DoubleDouble back = TwoProduct(quotient, b);
    const double rest = ((a.high - back.high) - back.low + a.low) / b;
    return TwoSum(quotient, rest);
}

// Mean, RMS and deviation of count rows from their sums; min and max decide
// a deviation of exactly 0 for rows that are all equal.
void TakeSums(CurveStatistics& result, const RowSums& sums) {
    const double n = static_cast<double>(result.rows);
    const double sum = sums.values.Value();
    const double squares = sums.squares.Value();
    result.mean = sum / n;
    result.rms = std::sqrt(squares / n);
    if (result.min == result.max) {
        result.deviation = 0.0;
        return;
    }
    double variance = squares / n - result.mean * result.mean;
    if (std::isfinite(sum) && std::isfinite(squares)) {
        // squares / n - (sum / n)^2, in double-double.
        const DoubleDouble mean = Over(Normalised(sums.values), n);
        const DoubleDouble meanSquare = Over(Normalised(sums.squares), n);
        const DoubleDouble negated = Times(mean, mean);
        const DoubleDouble difference = Plus(meanSquare, {-negated.high, -negated.low});
        variance = difference.high + difference.low;
    }
    result.deviation = std::sqrt(std::max(variance, 0.0));
}

double AsDrawn(double value) {
    return value != value ? 0.0 : value;
}

// Where the run of rows whose X number lies within [low, high] begins and
// ends, for X numbers that never fall (ascending) or never rise.
std::pair<std::size_t, std::size_t> RunWithin(std::span<const double> x, bool ascending, double low,
                                              double high) {
    if (ascending) {
        const auto first = std::lower_bound(x.begin(), x.end(), low);
        const auto end = std::upper_bound(first, x.end(), high);
        return {static_cast<std::size_t>(first - x.begin()),
                static_cast<std::size_t>(end - x.begin())};
    }
    const auto first = std::lower_bound(x.begin(), x.end(), high, std::greater<>());
    const auto end = std::upper_bound(first, x.end(), low, std::greater<>());
    return {static_cast<std::size_t>(first - x.begin()), static_cast<std::size_t>(end - x.begin())};
}

} // namespace

RowsBetween::RowsBetween(const StringArray& x, bool byValue, double from, double to)
    : low(std::min(from, to)), high(std::max(from, to)) {
    const std::size_t rows = static_cast<std::size_t>(x.GetSize());
    if (!(low <= high)) // a NaN end takes nothing
        return;
    if (!byValue) {
        const double firstRow = std::max(std::ceil(low), 0.0);
        const double endRow = std::min(std::floor(high) + 1.0, static_cast<double>(rows));
        if (firstRow < endRow) {
            first = static_cast<std::size_t>(firstRow);
            end = static_cast<std::size_t>(endRow);
        }
        return;
    }
    const NumberSummary& summary = x.Summary();
    if (!summary.Ascending() && !summary.Descending()) {
        contiguous = false;
        end = rows;
        return;
    }
    std::tie(first, end) = RunWithin(x.Numbers(), summary.Ascending(), low, high);
}

CurveStatistics StatisticsOfRun(const StringArray& column, std::size_t first, std::size_t end) {
    CurveStatistics result;
    end = std::min(end, static_cast<std::size_t>(column.GetSize()));
    if (first >= end)
        return result;
    const std::span<const double> numbers = column.Numbers();
    const NumberSummary& summary = column.Summary();
    const NumberBounds bounds = summary.Of(numbers, first, end);
    result.rows = end - first;
    result.firstRow = first;
    result.lastRow = end - 1;
    result.min = bounds.min;
    result.max = bounds.max;
    result.minRow = summary.FirstRowOf(numbers, first, end, bounds.min);
    result.maxRow = summary.FirstRowOf(numbers, first, end, bounds.max);
    TakeSums(result, summary.SumsOf(numbers, first, end));
    return result;
}

std::vector<CurveStatistics> StatisticsOfScattered(std::span<const double> x,
                                                   std::span<const std::span<const double>> columns,
                                                   const RowsBetween& rows,
                                                   const LoadProgress* progress) {
    std::vector<CurveStatistics> results(columns.size());
    std::vector<RowSums> sums(columns.size());
    constexpr std::size_t kRowsBetweenChecks = 1 << 16;
    for (std::size_t row = 0; row < x.size(); ++row) {
        if (progress && row % kRowsBetweenChecks == 0)
            progress->ThrowIfCancelled();
        if (!rows.Takes(x[row]))
            continue;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (row >= columns[c].size())
                continue;
            const double value = AsDrawn(columns[c][row]);
            CurveStatistics& result = results[c];
            if (result.rows == 0) {
                result.firstRow = result.minRow = result.maxRow = row;
                result.min = result.max = value;
            } else if (value < result.min) {
                result.min = value;
                result.minRow = row;
            } else if (value > result.max) {
                result.max = value;
                result.maxRow = row;
            }
            result.lastRow = row;
            ++result.rows;
            sums[c].Add(value);
        }
    }
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (results[c].rows > 0)
            TakeSums(results[c], sums[c]);
    return results;
}

std::vector<CurveStatistics> StatisticsBetween(const StringArray& x, bool byValue,
                                               std::span<const StringArray* const> columns,
                                               double from, double to,
                                               const LoadProgress* progress) {
    const RowsBetween rows(x, byValue, from, to);
    std::vector<CurveStatistics> results;
    if (rows.Contiguous()) {
        for (const StringArray* column : columns)
            results.push_back(StatisticsOfRun(*column, rows.First(), rows.End()));
        return results;
    }
    std::vector<std::span<const double>> numbers;
    for (const StringArray* column : columns)
        numbers.push_back(column->Numbers());
    return StatisticsOfScattered(x.Numbers(), numbers, rows, progress);
}
