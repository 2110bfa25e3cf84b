#include "analysis/PiecewiseTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace {

struct Built {
    std::vector<double> x, y, table;
};

Built Build(std::vector<double> x, std::vector<double> y) {
    const int n = static_cast<int>(x.size());
    Built b{std::move(x), std::move(y), std::vector<double>(PiecewiseTableLength(n), 0.0)};
    BuildPiecewiseTable(b.x.data(), b.y.data(), n, b.table.data());
    return b;
}

// Linear interpolation through (xs, ys), ascending xs, found by a linear scan
// and extended by the end segments.
double ReferenceLinear(const std::vector<double>& xs, const std::vector<double>& ys, double u) {
    std::size_t j = 0;
    while (j + 2 < xs.size() && u > xs[j + 1])
        ++j;
    const double t = (u - xs[j]) / (xs[j + 1] - xs[j]);
    return ys[j] + t * (ys[j + 1] - ys[j]);
}

} // namespace

TEST(PiecewiseTable, LayoutHoldsLengthTagKnotsAndFourCoefficientsPerPiece) {
    const Built b = Build({2, 0, 1}, {5, 1, 3});        // unsorted on purpose
    const std::vector<double> expected = {14, 3, 3,     // length 5n - 1, order tag, knot count
                                          0,  1, 2,     // knots, ascending
                                          1,  2, 0, 0,  // piece 0: from (0, 1) with slope 2
                                          3,  2, 0, 0}; // piece 1: from (1, 3) with slope 2
    EXPECT_EQ(b.table, expected);
    EXPECT_EQ(b.x, (std::vector<double>{0, 1, 2})) << "the rows are sorted in place";
    EXPECT_EQ(b.y, (std::vector<double>{1, 3, 5}));
}

TEST(PiecewiseTable, FewerThanTwoRowsLeaveTheTableUntouchedAndItEvaluatesToZero) {
    std::vector<double> x{4}, y{7}, table(4, 0.0);
    BuildPiecewiseTable(x.data(), y.data(), 1, table.data());
    EXPECT_EQ(table, std::vector<double>(4, 0.0));
    EXPECT_EQ(EvaluatePiecewise(table.data(), 4.0), 0.0);
}

TEST(PiecewiseTable, OnlyOrderTagThreeEvaluates) {
    Built b = Build({0, 1}, {1, 2});
    EXPECT_EQ(EvaluatePiecewise(b.table.data(), 0.5), 1.5);
    b.table[1] = 3.9; // still 3 when truncated
    EXPECT_EQ(EvaluatePiecewise(b.table.data(), 0.5), 1.5);
    for (double tag : {2.0, 4.0, -3.0, std::nan("")}) {
        b.table[1] = tag;
        EXPECT_EQ(EvaluatePiecewise(b.table.data(), 0.5), 0.0) << "tag " << tag;
    }
}

// A table with cubic pieces written by hand: the evaluator must pick the piece
// by binary search and apply all four coefficients at the offset from its knot.
TEST(PiecewiseTable, EvaluatesCubicPiecesChosenByBinarySearch) {
    const std::vector<double> table = {14, 3,  3, 1, 2,
                                       4,  10, 1, 2, 3, // piece 0 at knot 1: 10 + d + 2d^2 + 3d^3
                                       -5, 0,  0, 1};   // piece 1 at knot 2: -5 + d^3
    struct Case {
        double x, expected;
    } cases[] = {
        {1.0, 10.0},           // first knot: piece 0 at d = 0
        {0.0, 10 - 1 + 2 - 3}, // below the first knot: piece 0 extended, d = -1
        {1.5, 10 + 0.5 + 0.5 + 0.375},
        {2.0, 10 + 1 + 2 + 3}, // inner knot: right end of piece 0, not piece 1
        {3.0, -5 + 1},
        {6.0, -5 + 64}, // beyond the last knot: piece 1 extended
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(EvaluatePiecewise(table.data(), c.x), c.expected) << "x = " << c.x;
}

// Equal X values make a piece of zero width. It takes slope 0, so nothing
// infinite or undefined enters the table, and where it is evaluated it holds
// its left row's value.
TEST(PiecewiseTable, ZeroWidthPieceHoldsItsLeftValue) {
    const Built pair = Build({5, 5}, {1, 3});
    const double left = pair.y[0];  // which of the two comes first is the sort's
    EXPECT_EQ(pair.table[5], left); // c0 of the only piece
    EXPECT_EQ(pair.table[6], 0.0);  // its slope
    for (double u : {4.0, 5.0, 6.0})
        EXPECT_EQ(EvaluatePiecewise(pair.table.data(), u), left) << "u = " << u;

    const Built inner = Build({0, 1, 1, 2}, {0, 10, 30, 20});
    for (double v : inner.table)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(EvaluatePiecewise(inner.table.data(), 0.5), 0.5 * inner.y[1]);
    EXPECT_EQ(EvaluatePiecewise(inner.table.data(), 1.0), inner.y[1]);
    EXPECT_EQ(EvaluatePiecewise(inner.table.data(), 1.5), (inner.y[2] + 20) / 2);
}

// Random rows in random order against a plain reference: sort the pairs,
// then interpolate linearly on the segment found by a scan.
TEST(PiecewiseTable, MatchesStraightforwardLinearInterpolationOnRandomData) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    for (int n : {2, 3, 17, 500}) {
        SCOPED_TRACE(n);
        std::vector<double> x(n), y(n);
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        // Distinct X values, shuffled.
        for (int i = 0; i < n; ++i)
            x[i] = i * 1.5 + std::uniform_real_distribution<double>(0.0, 1.0)(random);
        std::shuffle(order.begin(), order.end(), random);
        std::vector<double> xs(n), ys(n);
        for (int i = 0; i < n; ++i) {
            y[i] = value(random);
            xs[order[i]] = x[i];
            ys[order[i]] = y[i];
        }
        const Built b = Build(xs, ys);
        ASSERT_EQ(b.x, x);
        ASSERT_EQ(b.y, y);
        for (int j = 0; j + 1 < n; ++j) {
            const double* c = &b.table[3 + n + 4 * j];
            EXPECT_EQ(c[0], y[j]);
            EXPECT_NEAR(c[1], (y[j + 1] - y[j]) / (x[j + 1] - x[j]), 1e-12 * std::abs(c[1]));
            EXPECT_EQ(c[2], 0.0);
            EXPECT_EQ(c[3], 0.0);
        }
        std::uniform_real_distribution<double> where(x.front() - 5.0, x.back() + 5.0);
        for (int k = 0; k < 200; ++k) {
            const double u = where(random);
            EXPECT_NEAR(EvaluatePiecewise(b.table.data(), u), ReferenceLinear(x, y, u), 1e-8)
                << "u = " << u;
        }
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(EvaluatePiecewise(b.table.data(), x[i]), y[i], 1e-9) << "knot " << i;
    }
}
