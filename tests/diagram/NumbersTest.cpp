#include "diagram/Numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

TEST(Numbers, AtofReadsTheLeadingNumberLikeTheCLibrary) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"2.5", 2.5},         {" 2.5", 2.5},  {"\t-3", -3.0}, {"+.5", 0.5},    {"12abc", 12.0},
        {"abc", 0.0},         {"", 0.0},      {" ", 0.0},     {"1e3", 1000.0}, {"1e", 1.0},
        {"-1.5E-2x", -0.015}, {"0x10", 16.0}, {"1,5", 1.0},   {"5.", 5.0},     {".", 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(AtoF(c.text), c.expected);
    }
    EXPECT_TRUE(std::isinf(AtoF("inf")));
}

TEST(Numbers, AtofReadsOnlyTheGivenCharactersOfALongerBuffer) {
    const std::string buffer = "12.75;99";
    EXPECT_DOUBLE_EQ(AtoF(std::string_view(buffer).substr(0, 4)), 12.7);
    const std::string longText = std::string(200, ' ') + "4.25";
    EXPECT_DOUBLE_EQ(AtoF(longText), 4.25);
}

TEST(Numbers, AtoiReadsSignAndDigitsAndClampsToInt) {
    EXPECT_EQ(AtoI("42"), 42);
    EXPECT_EQ(AtoI("  -7x"), -7);
    EXPECT_EQ(AtoI("3.9"), 3);
    EXPECT_EQ(AtoI(""), 0);
    EXPECT_EQ(AtoI("abc"), 0);
    EXPECT_EQ(AtoI("99999999999"), INT_MAX);
    EXPECT_EQ(AtoI("-99999999999"), INT_MIN);
}

TEST(Numbers, FormatWritesAPointAsDecimalSeparator) {
    EXPECT_EQ(FormatC("%f", 37991.5), "37991.500000");
    EXPECT_EQ(FormatC("%.3f, %.3f", 0.5, 17.5), "0.500, 17.500");
    EXPECT_EQ(FormatC("%+f", 0.0), "+0.000000");
    EXPECT_EQ(FormatC("%6.f", 20.0), "    20");
    EXPECT_EQ(FormatC("%.2f", -4.0), "-4.00");
    const std::string longText(500, 'a');
    EXPECT_EQ(FormatC("%s!", longText.c_str()), longText + "!");
}

TEST(Numbers, TruncGoesTowardZeroAndStaysWithinSafePixelRange) {
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(NAN), 0);
    EXPECT_EQ(Trunc(1e300), 268435456);
    EXPECT_EQ(Trunc(-INFINITY), -268435456);
}

// The fast paths must give exactly what the C library gives, bit for bit.
TEST(Numbers, FastPathsAgreeWithTheCLibrary) {
    std::mt19937_64 random(2026);
    const char alphabet[] = "0123456789.eE+- xX\tinfa";
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 14);
        for (int k = 0; k < length; ++k)
            text += alphabet[random() % (sizeof alphabet - 1)];
        const double expected = std::strtod(text.c_str(), nullptr);
        const double actual = AtoF(text);
        ASSERT_TRUE(std::memcmp(&expected, &actual, sizeof expected) == 0 ||
                    (std::isnan(expected) && std::isnan(actual)))
            << "\"" << text << "\": " << expected << " vs " << actual;
    }
    std::uniform_real_distribution<double> wide(-1e7, 1e7);
    for (int i = 0; i < 200000; ++i) {
        const double value =
            i % 2 ? wide(random) : static_cast<double>(static_cast<float>(wide(random) / 1e4));
        const std::string text = FormatC("%.*g", static_cast<int>(random() % 18) + 1, value);
        const double parsed = AtoF(text);
        ASSERT_EQ(parsed, std::strtod(text.c_str(), nullptr)) << text;
        for (int decimals : {0, 3, 6}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            ASSERT_EQ(FormatFixed(value, decimals), expected) << value;
        }
    }
    EXPECT_EQ(FormatFixed(0.5, 0), "0"); // ties go to even, as printf does
    EXPECT_EQ(FormatFixed(2.5, 0), "2");
    EXPECT_EQ(FormatFixed(0.0000005, 6), "0.000000"); // 5e-7 is just below the tie
    EXPECT_EQ(FormatFixed(37991.5, 6), "37991.500000");
}

// Every kind of float a spectrum cell can hold, and doubles around the limits
// of the integer path, written as printf writes them: denormals, ties, signs,
// zeros, large values, infinities and NaN.
TEST(Numbers, FormatFixedWritesEveryFloatAsPrintfDoes) {
    std::mt19937 random(11);
    const auto expectSameAsPrintf = [](double value) {
        for (int decimals = 0; decimals <= 7; ++decimals) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            ASSERT_EQ(FormatFixed(value, decimals), expected) << value << " " << decimals;
        }
    };
    for (int i = 0; i < 300000; ++i) {
        const auto bits = static_cast<std::uint32_t>(random());
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        expectSameAsPrintf(value);
        // Values of a few units, where most amplitudes lie.
        expectSameAsPrintf(static_cast<float>(bits % 100000000) / 1e6f);
    }
    const double specials[] = {0.0,       -0.0,      0.5,      1.5,
                               2.5,       0.125,     0.375,    -0.0000005,
                               0.0000015, 0.0000025, 4.9e-324, 999999999999.99999,
                               1e12,      -1e12,     1e300,    INFINITY,
                               -INFINITY, NAN,       -NAN};
    for (double value : specials)
        expectSameAsPrintf(value);
}
