#include "diagram/NumberSummary.h"
#include "diagram/StringArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// The bounds one look at every number gives, NaN read as 0.
NumberBounds Scan(std::span<const double> numbers, std::size_t first, std::size_t end) {
    NumberBounds bounds;
    for (std::size_t i = first; i < end; ++i) {
        const double value = std::isnan(numbers[i]) ? 0.0 : numbers[i];
        bounds.min = std::min(bounds.min, value);
        bounds.max = std::max(bounds.max, value);
    }
    return bounds;
}

// Random ranges of every length class: within one block, across a few,
// across levels, and the whole column.
void ExpectBoundsOfRandomRanges(const StringArray& cells, std::mt19937& random, int count) {
    const std::span<const double> numbers = cells.Numbers();
    const NumberSummary& summary = cells.Summary();
    ASSERT_EQ(summary.Rows(), numbers.size());
    std::vector<std::pair<std::size_t, std::size_t>> ranges{{0, numbers.size()}};
    for (int i = 0; i < count; ++i) {
        std::uniform_int_distribution<std::size_t> at(0, numbers.size());
        std::size_t a = at(random), b = at(random);
        if (i % 3 == 0) // short ones
            b = std::min(numbers.size(), a + random() % 70);
        ranges.emplace_back(std::min(a, b), std::max(a, b));
    }
    for (const auto& [first, end] : ranges) {
        const NumberBounds want = Scan(numbers, first, end);
        const NumberBounds got = summary.Of(numbers, first, end);
        ASSERT_EQ(got.min, want.min) << "rows " << first << " .. " << end;
        ASSERT_EQ(got.max, want.max) << "rows " << first << " .. " << end;
    }
}

std::string Cell(std::mt19937& random) {
    switch (random() % 23) {
    case 0:
        return "nan";
    case 1:
        return "";
    case 2:
        return "-inf";
    case 3:
        return "label";
    default:
        return std::to_string(static_cast<int>(random() % 20001) - 10000) + "." +
               std::to_string(random() % 100);
    }
}

TEST(NumberSummary, BoundsOfAnyRangeAreThoseOfEveryRowAlsoAfterAppends) {
    std::mt19937 random(7);
    StringArray cells;
    // Sizes around block and level edges, then appends of single rows,
    // of whole columns moved and copied in, and a run of repeats written out.
    for (int i = 0; i < 100'000; ++i)
        cells.Add(Cell(random));
    ExpectBoundsOfRandomRanges(cells, random, 3000);
    for (int i = 0; i < 1057; ++i)
        cells.Add(Cell(random));
    ExpectBoundsOfRandomRanges(cells, random, 1000);
    StringArray more;
    for (int i = 0; i < 40'000; ++i)
        more.Add(Cell(random));
    StringArray copied = more;
    cells.AddAll(std::move(more));
    cells.AddAll(copied);
    ExpectBoundsOfRandomRanges(cells, random, 2000);
    cells.AddRepeated("0.0", 5000);
    ExpectBoundsOfRandomRanges(cells, random, 500);
    cells.Add("-123456.5"); // writes the repeats out as cells of their own
    cells.Add("777777");
    ExpectBoundsOfRandomRanges(cells, random, 500);
    EXPECT_EQ(cells.Summary().Of(cells.Numbers(), 0, cells.Numbers().size()).min, -INFINITY);
}

TEST(NumberSummary, ColumnOfTextsAndEmptiedColumnsAreSummarisedAfresh) {
    std::mt19937 random(11);
    StringArray texts;
    for (int i = 0; i < 20'000; ++i) // texts outnumber numbers: kept as texts
        texts.Add(i % 3 == 0 ? std::to_string(i) : "x" + std::to_string(i));
    ExpectBoundsOfRandomRanges(texts, random, 500);
    texts.RemoveAll();
    texts.Add("5");
    texts.Add("-2");
    EXPECT_EQ(texts.Summary().Rows(), 2u);
    EXPECT_EQ(texts.Summary().Of(texts.Numbers(), 0, 2).min, -2);
    StringArray moved = std::move(texts);
    moved.Add("9");
    EXPECT_EQ(moved.Summary().Of(moved.Numbers(), 0, 3).max, 9);
}

TEST(NumberSummary, OrderIsBrokenByAFallOrARiseOrNaN) {
    const auto summary = [](std::vector<double> numbers) {
        NumberSummary s;
        s.Extend(numbers);
        return std::pair{s.Ascending(), s.Descending()};
    };
    EXPECT_EQ(summary({}), std::pair(true, true));
    EXPECT_EQ(summary({1, 1, 2, 5}), std::pair(true, false));
    EXPECT_EQ(summary({5, 5, 2, -1}), std::pair(false, true));
    EXPECT_EQ(summary({3, 3, 3}), std::pair(true, true));
    EXPECT_EQ(summary({1, 2, 1}), std::pair(false, false));
    EXPECT_EQ(summary({1, NAN, 2}), std::pair(false, false));
    EXPECT_EQ(summary({NAN}), std::pair(false, false));

    // Appended rows are checked against the last row before them; rows
    // forgotten no longer count.
    std::vector<double> numbers{1, 2, 3, 0};
    NumberSummary s;
    s.Extend(std::span(numbers).first(3));
    EXPECT_TRUE(s.Ascending());
    s.Extend(numbers);
    EXPECT_FALSE(s.Ascending());
    s.Truncate(3);
    EXPECT_TRUE(s.Ascending());
    numbers[3] = 4;
    s.Extend(numbers);
    EXPECT_TRUE(s.Ascending());
    EXPECT_EQ(s.Of(numbers, 0, 4).max, 4);
}

TEST(NumberSummary, TakesWellUnderOneBytePerRow) {
    StringArray cells;
    for (int i = 0; i < 1'000'000; ++i)
        cells.Add(std::to_string(i % 977));
    EXPECT_LT(cells.Summary().Bytes(), 1'000'000u * 3 / 4);
}

} // namespace

// Blocks are summed four rows at a time, and again row by row where a huge
// value or an infinity leaves the fast sums undefined: either way the sums
// are those of the rows, and after Truncate those of the rows kept.
TEST(NumberSummary, BlockSumsAreThoseOfTheRowsAlsoWithHugeValuesAndInfinities) {
    const auto rowByRow = [](std::span<const double> numbers, std::size_t first, std::size_t end) {
        RowSums sums;
        for (std::size_t i = first; i < end; ++i)
            sums.Add(numbers[i]);
        return sums;
    };
    std::mt19937 random(9);
    std::vector<double> numbers;
    for (int i = 0; i < 5000; ++i)
        numbers.push_back(static_cast<double>(static_cast<int>(random() % 2001) - 1000) / 7.0);
    numbers[300] = 1e200; // its square overflows
    numbers[1000] = NAN;  // counts as 0
    numbers[4100] = -3e300;
    NumberSummary summary;
    summary.Extend(numbers);
    for (const auto& [first, end] : {std::pair<std::size_t, std::size_t>{0, 256},
                                     {256, 512},
                                     {512, 4096},
                                     {700, 4000},
                                     {0, 5000}}) {
        const RowSums got = summary.SumsOf(numbers, first, end);
        const RowSums want = rowByRow(numbers, first, end);
        const double value = want.values.Value();
        EXPECT_NEAR(got.values.Value(), value, 1e-15 * std::abs(value)) << first << " .. " << end;
        const double squares = want.squares.Value();
        if (std::isinf(squares))
            EXPECT_EQ(got.squares.Value(), squares) << first << " .. " << end;
        else
            EXPECT_NEAR(got.squares.Value(), squares, 1e-15 * squares) << first << " .. " << end;
    }
    numbers[4200] = INFINITY;
    summary.Truncate(4200);
    summary.Extend(numbers);
    EXPECT_EQ(summary.SumsOf(numbers, 4096, 4352).values.Value(), INFINITY);
}
