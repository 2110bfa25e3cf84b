#include "analysis/SortByX.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<double, double>>;

Pairs Sorted(std::vector<double> x, std::vector<double> y) {
    SortByX(x.data(), y.data(), static_cast<int>(x.size()));
    Pairs pairs;
    for (std::size_t i = 0; i < x.size(); ++i)
        pairs.emplace_back(x[i], y[i]);
    return pairs;
}

} // namespace

TEST(SortByX, StrictlyIncreasingRowsStayAsTheyAre) {
    EXPECT_EQ(Sorted({-1, 0, 2.5, 7}, {4, 3, 2, 1}), (Pairs{{-1, 4}, {0, 3}, {2.5, 2}, {7, 1}}));
}

TEST(SortByX, StrictlyDecreasingRowsAreReversed) {
    EXPECT_EQ(Sorted({7, 2.5, 0, -1}, {1, 2, 3, 4}), (Pairs{{-1, 4}, {0, 3}, {2.5, 2}, {7, 1}}));
}

TEST(SortByX, NoRowOrOneRowIsLeftAlone) {
    EXPECT_EQ(Sorted({}, {}), Pairs{});
    EXPECT_EQ(Sorted({3}, {9}), (Pairs{{3, 9}}));
}

// Rows with equal X come out in the order the heap's sift rules give: a parent
// moves only below a strictly larger node, and of two children the right one
// is taken only when strictly larger. Traced by hand from those rules; any
// other tie rule gives a different order of the Y values.
TEST(SortByX, HeapSortOrdersEqualRowsByItsSiftRules) {
    EXPECT_EQ(Sorted({3, 1, 3, 3, 2, 3}, {0, 1, 2, 3, 4, 5}),
              (Pairs{{1, 1}, {2, 4}, {3, 2}, {3, 3}, {3, 5}, {3, 0}}));
    EXPECT_EQ(Sorted({1, 2, 2}, {0, 1, 2}), (Pairs{{1, 0}, {2, 2}, {2, 1}}));
}

TEST(SortByX, RandomRowsComeOutAscendingWithTheirYValues) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 40); // small range: many equal X
    for (int n : {2, 3, 10, 257, 1000}) {
        SCOPED_TRACE(n);
        std::vector<double> x(n), y(n);
        Pairs input;
        for (int i = 0; i < n; ++i) {
            x[i] = pick(random) * 0.5;
            y[i] = i; // marks the row
            input.emplace_back(x[i], y[i]);
        }
        Pairs output = Sorted(x, y);
        EXPECT_TRUE(std::is_sorted(output.begin(), output.end(),
                                   [](const auto& a, const auto& b) { return a.first < b.first; }));
        std::sort(input.begin(), input.end());
        std::sort(output.begin(), output.end());
        EXPECT_EQ(output, input) << "a row lost or changed its Y value";
    }
}
