#include "diagram/Numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(Numbers, AtofReadsTheLeadingNumberLikeTheCLibrary) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"2.5", 2.5},   {" 2.5", 2.5},    {"\t-3", -3.0},   {"+.5", 0.5},     {"12abc", 12.0},
        {"abc", 0.0},   {"", 0.0},        {" ", 0.0},       {"1e3", 1000.0},  {"1e", 1.0},
        {"-1.5E-2x", -0.015}, {"0x10", 16.0}, {"1,5", 1.0}, {"5.", 5.0},      {".", 0.0},
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
