// A sum that carries the rounding error of its additions beside it
// (Kahan-Babuska-Neumaier): a million numbers of mixed sizes add up to their
// exact sum rounded once, where a plain double loses the small ones. Squares
// are added with the exact error of their rounding, so a sum of squares is as
// exact as a sum.
#pragma once

#include <cmath>

// value * value - square exactly, for square = value * value rounded
// (Dekker's product, which needs no fused multiply-add). 0 where value is so
// large that splitting it would overflow; its square is then infinite or
// rounded by far less than any later sum.
inline double SquareError(double value, double square) {
    if (!(std::abs(value) < 1e150))
        return 0.0;
    constexpr double kSplit = 134217729.0; // 2^27 + 1
    const double scaled = kSplit * value;
    const double high = scaled - (scaled - value);
    const double low = value - high;
    return ((high * high - square) + 2.0 * high * low) + low * low;
}

struct CompensatedSum {
    double sum = 0.0;
    double error = 0.0; // what the additions to sum rounded away

    void Add(double value) {
        const double total = sum + value;
        const double part = total - sum;
        error += (sum - (total - part)) + (value - part);
        sum = total;
    }
    void AddSquare(double value) {
        const double square = value * value;
        Add(square);
        error += SquareError(value, square);
    }
    void Add(const CompensatedSum& other) {
        Add(other.sum);
        error += other.error;
    }
    // The sum, rounded once; an infinite or NaN sum as plain addition gives
    // it, without the error term an overflow leaves undefined.
    double Value() const { return std::isfinite(sum) ? sum + error : sum; }
};
