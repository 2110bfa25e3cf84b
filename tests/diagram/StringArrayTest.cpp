#include "diagram/StringArray.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kCells[] = {"",       " ",    "0",     "-0",    "abc",
                              "7.25",   "-3e2", "nan",   "inf",   "-inf",
                              "1e-320", "  12", "+4.5x", "0x1p3", "99999999999999999"};

// Blank cells left out, NaN present but never a bound: the scan the range
// stands for, one cell after the other.
NumberRange ScanRange(const std::vector<std::string>& texts) {
    NumberRange range;
    for (const std::string& text : texts) {
        const double value = AtoF(text);
        if (value == 0 && (text.empty() || text == " "))
            continue;
        range.any = true;
        if (value > range.max)
            range.max = value;
        if (value < range.min)
            range.min = value;
    }
    return range;
}

void ExpectSameRange(const NumberRange& got, const NumberRange& want) {
    EXPECT_EQ(got.any, want.any);
    EXPECT_EQ(got.min, want.min);
    EXPECT_EQ(got.max, want.max);
    EXPECT_EQ(std::signbit(got.min), std::signbit(want.min));
    EXPECT_EQ(std::signbit(got.max), std::signbit(want.max));
}

} // namespace

TEST(StringArrayNumbers, FollowRowsAddedAfterAReadAndAreForgottenByRemoveAll) {
    StringArray cells;
    cells.Add("1.5");
    cells.Add("x");
    EXPECT_EQ(cells.NumberAt(0), 1.5);
    cells.Add("-2e3");
    cells.Add("nan");
    const std::span<const double> numbers = cells.Numbers();
    ASSERT_EQ(numbers.size(), 4u);
    EXPECT_EQ(numbers[1], 0.0);
    EXPECT_EQ(numbers[2], -2000.0);
    EXPECT_TRUE(std::isnan(numbers[3]));
    EXPECT_EQ(cells.GetAt(2), "-2e3");
    EXPECT_THROW(cells.NumberAt(4), InvalidArgumentError);

    cells.RemoveAll();
    EXPECT_TRUE(cells.Numbers().empty());
    cells.Add("8");
    EXPECT_EQ(cells.NumberAt(0), 8.0);
    EXPECT_THROW(cells.NumberAt(-1), InvalidArgumentError);
}

TEST(StringArrayRange, MatchesACellByCellScanAlsoWhenRowsComeAfterARead) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kCells) - 1);
    for (int round = 0; round < 200; ++round) {
        StringArray cells;
        std::vector<std::string> texts;
        const int count = round % 9;
        for (int part = 0; part < 3; ++part) {
            for (int k = 0; k < count; ++k) {
                texts.emplace_back(kCells[pick(random)]);
                cells.Add(texts.back());
            }
            SCOPED_TRACE(testing::Message() << "round " << round << ", part " << part);
            ExpectSameRange(cells.Range(), ScanRange(texts));
        }
        cells.RemoveAll();
        ExpectSameRange(cells.Range(), NumberRange{});
    }
}

TEST(StringArrayRange, BlankAndNanColumns) {
    StringArray blanks;
    blanks.Add("");
    blanks.Add(" ");
    EXPECT_FALSE(blanks.Range().any);
    StringArray nans;
    nans.Add("nan");
    nans.Add(" ");
    EXPECT_TRUE(nans.Range().any);
    EXPECT_EQ(nans.Range().max, -INFINITY);
    EXPECT_EQ(nans.Range().min, INFINITY);
    nans.Add("-0");
    EXPECT_EQ(nans.Range().max, 0.0);
    EXPECT_TRUE(std::signbit(nans.Range().max));
}

// The content id with the size names the cells: emptying and copying draw a
// new one, so two copies that grow apart never share id and size.
TEST(StringArrayContent, RenewedByRemoveAllAndByEveryCopy) {
    StringArray cells;
    cells.Add("1");
    const std::uint64_t first = cells.Content();
    cells.Add("2");
    EXPECT_EQ(cells.Content(), first); // appending keeps it: the size tells
    StringArray copy = cells;
    EXPECT_NE(copy.Content(), cells.Content());
    StringArray assigned;
    assigned = cells;
    EXPECT_NE(assigned.Content(), cells.Content());
    EXPECT_NE(assigned.Content(), copy.Content());
    cells.RemoveAll();
    EXPECT_NE(cells.Content(), first);
}

// A run of one text at the end is held as a count; every way of adding cells
// must still give each cell its own text and number.
TEST(StringArrayRuns, CellsOfARunReadLikeWrittenCells) {
    StringArray cells;
    cells.Add("2.5");
    cells.AddRepeated("0.0", 3);
    cells.Add("0.0");         // joins the run
    cells.AddRepeated("0.0"); // so does this
    ASSERT_EQ(cells.GetSize(), 6);
    EXPECT_EQ(cells.Numbers()[5], 0.0);
    cells.Add("-1"); // writes the run out before it
    cells.AddRepeated("x", 0);
    cells.AddRepeated("7", 2);
    cells.AddRepeated("8", 1); // another text: the run of 7 is written out
    const std::vector<std::string> want = {"2.5", "0.0", "0.0", "0.0", "0.0",
                                           "0.0", "-1",  "7",   "7",   "8"};
    ASSERT_EQ(cells.GetSize(), static_cast<int>(want.size()));
    for (int i = 0; i < cells.GetSize(); ++i) {
        EXPECT_EQ(cells[i], want[i]) << i;
        EXPECT_EQ(cells.NumberAt(i), AtoF(want[i])) << i;
    }
    EXPECT_THROW(cells.GetAt(10), InvalidArgumentError);

    StringArray more;
    more.Add("");
    more.Add("12");
    more.AddRepeated("0.0", 2);
    StringArray joined = cells;
    joined.AddAll(more);
    joined.AddAll(StringArray());
    std::vector<std::string> all = want;
    all.insert(all.end(), {"", "12", "0.0", "0.0"});
    ASSERT_EQ(joined.GetSize(), static_cast<int>(all.size()));
    for (int i = 0; i < joined.GetSize(); ++i) {
        EXPECT_EQ(joined[i], all[i]) << i;
        EXPECT_EQ(joined.NumberAt(i), AtoF(all[i])) << i;
    }
    EXPECT_EQ(cells.GetSize(), static_cast<int>(want.size())); // the copy left it alone
}

// Columns of millions of cells grow in mapped blocks; the texts must survive
// every growth, a copy and a move.
TEST(StringArrayRuns, LargeColumnsKeepEveryCellThroughGrowthCopyAndMove) {
    constexpr int kCells = 3'000'000;
    StringArray cells;
    for (int i = 0; i < kCells; ++i)
        cells.Add(std::to_string(i * 7));
    StringArray copy = cells;
    StringArray moved = std::move(cells);
    EXPECT_TRUE(cells.IsEmpty());
    const std::span<const double> numbers = moved.Numbers();
    ASSERT_EQ(copy.GetSize(), kCells);
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kCells));
    for (int i = 0; i < kCells; i += 9973) {
        EXPECT_EQ(copy[i], std::to_string(i * 7));
        EXPECT_EQ(numbers[static_cast<std::size_t>(i)], i * 7.0);
    }
    EXPECT_EQ(moved[kCells - 1], std::to_string((kCells - 1) * 7));
    cells = copy; // an emptied array takes cells again
    EXPECT_EQ(cells[kCells - 1], copy[kCells - 1]);
}

// Cells of every length, long ones among them, joined at block boundaries
// and between them: each cell reads back whole, on its own and in order.
TEST(StringArrayRuns, CellsOfEveryLengthReadBackAfterJoins) {
    std::mt19937 random(3);
    const std::size_t lengths[] = {0, 1, 7, 254, 255, 256, 300, 70'000};
    const auto makeCells = [&](int count, char letter) {
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) {
            const std::size_t length = lengths[random() % std::size(lengths)];
            texts.push_back(std::string(length, static_cast<char>(letter + i % 20)) +
                            (length > 0 ? std::to_string(i) : ""));
        }
        return texts;
    };
    std::vector<std::string> want;
    StringArray joined;
    for (const int count : {64, 1, 63, 130, 0, 200}) {
        StringArray part;
        for (const std::string& text : makeCells(count, 'a'))
            part.Add(text), want.push_back(text);
        joined.AddAll(part);
        for (const std::string& text : makeCells(3, 'A'))
            joined.Add(text), want.push_back(text);
    }
    ASSERT_EQ(joined.GetSize(), static_cast<int>(want.size()));
    std::vector<int> order(want.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.end(), random);
    for (const int i : order)
        ASSERT_EQ(joined[i], want[static_cast<std::size_t>(i)]) << i;
    const std::span<const double> numbers = joined.Numbers();
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(numbers[i], AtoF(want[i])) << i;
}

// Joining by moving hands large texts over page by page, leaving bytes of no
// cell between the two parts; small parts and those that only complete the
// last block are copied. Every cell must read back, alone, in order and as a
// number, also after the joined column grows again, and the part taken is
// left empty.
TEST(StringArrayRuns, JoinsByMovingReadBackLikeJoinsByCopying) {
    std::mt19937 random(11);
    const auto fill = [&](StringArray& cells, std::vector<std::string>& want, int count) {
        for (int i = 0; i < count; ++i) {
            const int kind = static_cast<int>(random() % 100);
            const std::string text =
                kind == 0   ? std::string(300, 'x') + std::to_string(i)
                : kind < 10 ? ""
                            : std::to_string(random() % 100000) + "." + std::to_string(i % 97);
            cells.Add(text);
            want.push_back(text);
        }
    };
    std::vector<std::string> want;
    StringArray moved, copied;
    // Part sizes: large ones ending in the middle of a block and on its
    // boundary, one of a few cells, one inside the open block, a run.
    for (const int count : {100'005, 90'000, 3, 40, 64 * 2000, 70'001}) {
        StringArray part;
        std::vector<std::string> texts;
        fill(part, texts, count);
        if (count == 40)
            part.AddRepeated("0.0", 5), texts.insert(texts.end(), 5, "0.0");
        copied.AddAll(part);
        moved.AddAll(std::move(part));
        EXPECT_TRUE(part.IsEmpty());
        want.insert(want.end(), texts.begin(), texts.end());
    }
    std::vector<std::string> tail;
    StringArray grown;
    fill(grown, tail, 200'000); // enough to outgrow the joined block
    for (const std::string& text : tail)
        moved.Add(text), copied.Add(text), want.push_back(text);

    ASSERT_EQ(moved.GetSize(), static_cast<int>(want.size()));
    ASSERT_EQ(copied.GetSize(), static_cast<int>(want.size()));
    const std::span<const double> numbers = moved.Numbers();
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(moved[static_cast<long long>(i)], want[i]) << i;
        ASSERT_EQ(numbers[i], AtoF(want[i])) << i;
    }
    for (std::size_t i = 0; i < want.size(); i += 997)
        ASSERT_EQ(copied[static_cast<long long>(i)], want[i]) << i;
    const StringArray copy = moved; // a copy of a joined column reads the same
    for (std::size_t i = 0; i < want.size(); i += 1009)
        ASSERT_EQ(copy[static_cast<long long>(i)], want[i]) << i;
    EXPECT_EQ(copy.Range().max, moved.Range().max);
}
