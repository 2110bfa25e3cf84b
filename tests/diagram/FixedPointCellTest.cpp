#include "diagram/FixedPointCell.h"

#include "diagram/CellText.h"
#include "diagram/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

// k / 10^decimals written out by hand: digits of k with a point placed
// decimals from the right, "0" before it below 1.
std::string FixedText(bool negative, std::uint64_t k, int decimals) {
    std::string digits = std::to_string(k);
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return (negative ? "-" : "") + digits;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What the column relies on for a text Parse accepts: the number is AtoF's
// to the bit, and both Write and printf give the text back byte for byte.
void ExpectKeptExactly(const std::string& text, int decimals) {
    SCOPED_TRACE(text);
    double value = 0;
    ASSERT_EQ(fixed_point::Parse(text, value), decimals);
    ASSERT_TRUE(SameBits(value, AtoF(text)));
    char out[fixed_point::kMaxLength];
    ASSERT_EQ(std::string_view(out, fixed_point::Write(value, decimals, out)), text);
    ASSERT_EQ(FormatC("%.*f", decimals, value), text);
}

} // namespace

TEST(FixedPointCell, EveryTextOfUpTo15DigitsComesBackByteForByte) {
    std::mt19937_64 random(7);
    for (int round = 0; round < 300'000; ++round) {
        const int decimals = static_cast<int>(random() % 16);
        const int digits = 1 + static_cast<int>(random() % 15);
        std::uint64_t k = random() % 10 == 0 ? 0 : random() % 9 + 1; // no leading zero
        for (int d = 1; d < digits; ++d)
            k = k * 10 + random() % 10;
        ExpectKeptExactly(FixedText(random() % 2 == 0, k, decimals), decimals);
    }
}

TEST(FixedPointCell, LimitsOfDigitsAndDecimals) {
    for (const char* text : {"999999999999999", "-999999999999999", "99999999.9999999",
                             "0.999999999999999", "0.000000000000001", "1.00000000000000"}) {
        const std::string_view view(text);
        const std::size_t point = view.find('.');
        ExpectKeptExactly(text, point == view.npos ? 0 : static_cast<int>(view.size() - point - 1));
    }
    ExpectKeptExactly("0", 0);
    ExpectKeptExactly("0.000", 3);
    // "-0" reads as minus zero, whose sign bit writes the "-" back.
    ExpectKeptExactly("-0", 0);
    ExpectKeptExactly("-0.00", 2);
    double value = 0;
    fixed_point::Parse("-0.00", value);
    EXPECT_TRUE(std::signbit(value));
}

// Texts that read as a number but are not the one form that number and its
// decimals write: each stays text, whatever it reads as.
TEST(FixedPointCell, NearMissesAreNotTaken) {
    for (const char* text : {"",
                             " ",
                             "-",
                             ".",
                             "+1",
                             "1.",
                             ".5",
                             "-.5",
                             "007",
                             "00",
                             "-01",
                             "00.5",
                             "1e5",
                             "1E5",
                             "1.5e3",
                             "nan",
                             "inf",
                             "-inf",
                             "0x10",
                             " 1",
                             "1 ",
                             "1,5",
                             "1.2.3",
                             "12abc",
                             "--1",
                             "1-",
                             "2024-01-02",
                             "12:30",
                             "1234567890123456",
                             "-1234567890123456",
                             "0.1234567890123456",
                             "0.0000000000000001",
                             "12345678.12345678",
                             "100000000000000.0"}) {
        double value = 42;
        EXPECT_EQ(fixed_point::Parse(text, value), -1) << '"' << text << '"';
        EXPECT_EQ(value, 42); // left alone
    }
}

// A view of a cell's text is handed out only by a named object, so it cannot
// point into a temporary that is gone.
TEST(CellText, ViewsComeOnlyFromNamedObjects) {
    static_assert(std::is_convertible_v<const CellText&, std::string_view>);
    static_assert(!std::is_convertible_v<CellText, std::string_view>);
    static_assert(std::is_constructible_v<std::string, const CellText&>);

    const CellText written(-12.5, 3);
    const CellText copy = written; // the copy holds its own bytes
    EXPECT_EQ(copy, "-12.500");
    EXPECT_EQ(copy.size(), 7u);
    const std::string stored = "label";
    const CellText text(stored);
    EXPECT_EQ(static_cast<std::string_view>(text).data(), stored.data());
    std::ostringstream out;
    out << written << ';' << text;
    EXPECT_EQ(out.str(), "-12.500;label");
}
