#include "diagram/StringArray.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
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

// The shares, in percent, of the kinds of cell a generated column holds.
struct Mix {
    int fixedDecimals; // numbers all written with 3 decimals
    int anyDecimals;   // numbers of 0 to 15 decimals and at most 15 digits
    int blanks;        // "" and " "
    // the rest: texts, near misses of a number and numbers of more digits
};

std::string RandomCell(std::mt19937_64& random, const Mix& mix) {
    const int kind = static_cast<int>(random() % 100);
    const double value = std::ldexp(static_cast<double>(random() % 2'000'001) - 1e6,
                                    static_cast<int>(random() % 40) - 30);
    if (kind < mix.fixedDecimals)
        return FormatC("%.3f", value);
    if (kind < mix.fixedDecimals + mix.anyDecimals) {
        const int decimals = static_cast<int>(random() % 16);
        std::uint64_t limit = 10;
        for (auto digits = random() % 15; digits > 0; --digits)
            limit *= 10;
        const auto k = static_cast<double>(random() % limit);
        return FormatC("%.*f", decimals, (random() % 2 == 0 ? k : -k) / std::pow(10.0, decimals));
    }
    if (kind < mix.fixedDecimals + mix.anyDecimals + mix.blanks)
        return random() % 2 == 0 ? "" : " ";
    if (random() % 5 == 0)
        return FormatC("%.*f", 16 + static_cast<int>(random() % 3), value);
    static const char* const kNearMisses[] = {"+", "0",  "e3",  ".",    " ",
                                              "x", ",5", "nan", "-inf", "0x1p3"};
    const std::string number = FormatC("%.*f", static_cast<int>(random() % 4), value);
    const std::string miss = kNearMisses[random() % std::size(kNearMisses)];
    return random() % 2 == 0 ? miss + number : number + miss;
}

std::vector<std::string> RandomCells(std::mt19937_64& random, const Mix& mix, int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(RandomCell(random, mix));
    return texts;
}

void AddEach(StringArray& cells, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        cells.Add(text);
}

// Every cell against its text: the text byte for byte, the number to the
// bit, and the range as a scan of the texts gives it.
void ExpectCells(const StringArray& cells, const std::vector<std::string>& want) {
    ASSERT_EQ(cells.GetSize(), static_cast<int>(want.size()));
    const std::span<const double> numbers = cells.Numbers();
    ASSERT_EQ(numbers.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto at = static_cast<long long>(i);
        ASSERT_EQ(cells[at], want[i]) << i;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(numbers[i]),
                  std::bit_cast<std::uint64_t>(AtoF(want[i])))
            << i << " \"" << want[i] << '"';
    }
    for (std::size_t i = 0; i < want.size(); i += 101)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(cells.NumberAt(static_cast<long long>(i))),
                  std::bit_cast<std::uint64_t>(numbers[i]));
    ExpectSameRange(cells.Range(), ScanRange(want));
}

// The columns the layout tests join: numbers of one count of decimals, of
// any count with blanks and texts among them, mostly texts (kept as texts
// only), only blanks, each in a small and a large part, with and without a
// run at the end, and an empty one.
struct Part {
    std::vector<std::string> texts;
    StringArray cells;
};

std::vector<Part> LayoutParts(std::mt19937_64& random) {
    const Mix mixes[] = {{100, 0, 0}, {10, 70, 10}, {0, 20, 10}, {0, 0, 100}};
    std::vector<Part> parts;
    const auto add = [&](const Mix& mix, int count, std::size_t run) {
        Part& part = parts.emplace_back();
        part.texts = RandomCells(random, mix, count);
        AddEach(part.cells, part.texts);
        part.cells.AddRepeated("0.0", run);
        part.texts.insert(part.texts.end(), run, "0.0");
    };
    for (const Mix& mix : mixes) {
        add(mix, 5, 0);
        add(mix, 70, 9);
    }
    // Large enough for their buffers to be joined by moving pages.
    add(mixes[1], 40'000, 0);
    add(mixes[2], 40'000, 0);
    parts.emplace_back();
    return parts;
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

TEST(StringArrayLayouts, EveryCellReadsBackAsItsTextAndNumber) {
    std::mt19937_64 random(5);
    const Mix mixes[] = {{100, 0, 0}, {0, 100, 0}, {10, 70, 10}, {0, 30, 10},
                         {0, 0, 0},   {0, 0, 100}, {40, 0, 60}};
    for (const Mix& mix : mixes) {
        SCOPED_TRACE(testing::Message()
                     << "mix " << mix.fixedDecimals << '/' << mix.anyDecimals << '/' << mix.blanks);
        StringArray cells;
        std::vector<std::string> want;
        // Reads between the parts: numbers and range follow the cells added.
        for (const int count : {1, 63, 5000, 30'000}) {
            const std::vector<std::string> texts = RandomCells(random, mix, count);
            AddEach(cells, texts);
            want.insert(want.end(), texts.begin(), texts.end());
            ExpectCells(cells, want);
        }
    }
}

// A column that turns to texts once they outnumber the numbers, partway
// through writing out a run, still reads every cell as it was.
TEST(StringArrayLayouts, TurningToTextsKeepsEveryCell) {
    std::mt19937_64 random(8);
    StringArray cells;
    std::vector<std::string> want = RandomCells(random, {0, 100, 0}, 3000);
    AddEach(cells, want);
    cells.AddRepeated("a text", 6000);
    want.insert(want.end(), 6000, "a text");
    ExpectCells(cells, want);
    cells.Add("12.5"); // writes the run out
    want.push_back("12.5");
    const std::vector<std::string> more = RandomCells(random, {50, 50, 0}, 100);
    AddEach(cells, more);
    want.insert(want.end(), more.begin(), more.end());
    ExpectCells(cells, want);
}

TEST(StringArrayLayouts, JoinsAcrossLayoutsReadLikeOneColumn) {
    std::mt19937_64 random(12);
    const std::vector<Part> parts = LayoutParts(random);
    for (std::size_t a = 0; a < parts.size(); ++a)
        for (std::size_t b = 0; b < parts.size(); ++b) {
            SCOPED_TRACE(testing::Message() << "parts " << a << " and " << b);
            std::vector<std::string> want = parts[a].texts;
            want.insert(want.end(), parts[b].texts.begin(), parts[b].texts.end());
            StringArray copied = parts[a].cells;
            copied.AddAll(parts[b].cells);
            ExpectCells(copied, want);
            StringArray moved = parts[a].cells;
            moved.Numbers(); // numbers of a run kept before the join
            StringArray taken = parts[b].cells;
            moved.AddAll(std::move(taken));
            EXPECT_TRUE(taken.IsEmpty());
            ExpectCells(moved, want);
            // The joined column goes on taking cells of every kind.
            const std::vector<std::string> more = RandomCells(random, {20, 40, 20}, 40);
            AddEach(moved, more);
            want.insert(want.end(), more.begin(), more.end());
            ExpectCells(moved, want);
        }
}

// What a column costs per cell: a number of a column written with one count
// of decimals its value, of mixed counts one byte more; a column of texts
// no more than its texts and their index until its numbers are asked for.
TEST(StringArrayLayouts, BytesPerCell) {
    constexpr int kCount = 200'000;
    std::mt19937_64 random(4);
    const auto bytesPerCell = [&](const Mix& mix) {
        StringArray cells;
        AddEach(cells, RandomCells(random, mix, kCount));
        return static_cast<double>(cells.Bytes()) / kCount;
    };
    EXPECT_LE(bytesPerCell({100, 0, 0}), 8.0);
    EXPECT_LE(bytesPerCell({0, 90, 10}), 9.1);

    for (const Mix& mix : {Mix{0, 0, 0}, Mix{0, 25, 0}}) {
        StringArray cells;
        std::size_t textBytes = 0;
        for (const std::string& text : RandomCells(random, mix, kCount)) {
            cells.Add(text);
            textBytes += text.size();
        }
        // The index takes a byte and a bit per cell; numbers are kept for
        // the cells before the column turned to texts, 8192 at most.
        EXPECT_LE(cells.Bytes(), textBytes + kCount * 1.07 + 8192 * 9);
        cells.Numbers();
        EXPECT_GE(cells.Bytes(), textBytes + kCount * 8.0);
    }
}

// Blank cells read as 0 but stay out of the range in each way of keeping a
// column: numbers of one count of decimals, of several, and texts only.
TEST(StringArrayLayouts, BlanksStayOutOfTheRangeInEveryLayout) {
    for (const bool texts : {false, true}) {
        StringArray cells;
        std::vector<std::string> want;
        for (int i = 0; i < 20'000; ++i) {
            const double value = 1.0 + i % 5;
            const std::string text = i % 3 == 0   ? (i % 2 == 0 ? "" : " ")
                                     : i % 7 == 1 ? FormatC("%.2f", value)
                                     : texts      ? FormatC("%.1f V", value)
                                                  : FormatC("%.1f", value);
            cells.Add(text);
            want.push_back(text);
        }
        ExpectCells(cells, want);
        EXPECT_EQ(cells.Range().min, 1.0);
    }
}

// Taking a column of numbers copies its values part by part, giving the
// memory of each part back: every value must arrive, across several parts.
TEST(StringArrayLayouts, TakingALargeColumnOfNumbersKeepsEveryValue) {
    StringArray first, second;
    std::vector<std::string> want;
    for (int i = 0; i < 700'000; ++i) {
        want.push_back(FormatC("%.2f", i * 0.37 - 1000));
        (i < 1000 ? first : second).Add(want.back());
    }
    first.AddAll(std::move(second));
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(second.Bytes(), 0u);
    ExpectCells(first, want);
}

namespace {

// Each change a column can undergo, applied to a copy: the copy reads as its
// own cells after it, the original as it was, whatever layout and runs the
// original holds (parts of every layout, so a change also meets a column
// turning to texts only).
TEST(StringArraySharing, AChangeToACopyNeverReachesTheOriginal) {
    std::mt19937_64 random(77);
    std::vector<Part> parts = LayoutParts(random);
    const std::vector<std::string> more = RandomCells(random, {0, 20, 10}, 9000);
    using Change = std::function<void(StringArray&, std::vector<std::string>&)>;
    const std::vector<std::pair<const char*, Change>> changes{
        {"Add",
         [&](StringArray& a, std::vector<std::string>& t) {
             AddEach(a, more);
             t.insert(t.end(), more.begin(), more.end());
         }},
        {"AddRepeated",
         [](StringArray& a, std::vector<std::string>& t) {
             a.AddRepeated("2.5", 40);
             t.insert(t.end(), 40, "2.5");
         }},
        {"AddAll copy",
         [&](StringArray& a, std::vector<std::string>& t) {
             a.AddAll(parts[3].cells);
             t.insert(t.end(), parts[3].texts.begin(), parts[3].texts.end());
         }},
        {"AddAll move",
         [&](StringArray& a, std::vector<std::string>& t) {
             StringArray taken;
             AddEach(taken, more);
             a.AddAll(std::move(taken));
             t.insert(t.end(), more.begin(), more.end());
         }},
        {"AddAll itself",
         [](StringArray& a, std::vector<std::string>& t) {
             a.AddAll(a);
             const std::vector<std::string> again = t;
             t.insert(t.end(), again.begin(), again.end());
         }},
        {"RemoveAll", [](StringArray& a, std::vector<std::string>& t) {
             a.RemoveAll();
             t.clear();
         }}};
    for (const Part& part : parts) {
        for (const auto& [name, change] : changes) {
            SCOPED_TRACE(testing::Message() << name << " on " << part.texts.size() << " cells");
            const StringArray original = part.cells;
            original.Numbers(); // made before the copy, as a shared table has them
            StringArray copy = original;
            EXPECT_EQ(copy.SharesCellsWith(original), original.GetSize() > 0);
            std::vector<std::string> want = part.texts;
            change(copy, want);
            ExpectCells(copy, want);
            ExpectCells(original, part.texts);
            ExpectCells(part.cells, part.texts);
        }
    }
}

TEST(StringArraySharing, ACopyTakesNoCellsAndAMovedSharedArrayIsCopiedNotDrained) {
    StringArray original;
    std::vector<std::string> texts;
    for (int i = 0; i < 100'000; ++i)
        texts.push_back(std::to_string(i) + ".5");
    AddEach(original, texts);
    const StringArray copy = original;
    EXPECT_TRUE(copy.SharesCellsWith(original));
    StringArray alsoShared = original;
    StringArray into;
    into.Add("x");
    into.AddAll(std::move(alsoShared));
    EXPECT_FALSE(into.SharesCellsWith(original));
    EXPECT_EQ(alsoShared.GetSize(), 0);
    ExpectCells(original, texts);
    texts.insert(texts.begin(), "x");
    ExpectCells(into, texts);
}

} // namespace
