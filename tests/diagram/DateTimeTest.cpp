#include "diagram/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr double kSecond = 1.0 / 86400.0;
}

TEST(DateTime, ParsesUsIsoAndTimeOnlyForms) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"01/05/2004 12:00", 37991.5},
        {"1/5/2004", 37991.0},
        {"01/05/04", 37991.0},
        {"01/05/99", 36165.0}, // two-digit years from 30 are the 1900s
        {"  01/05/2004 12:00  ", 37991.5},
        {"01/05/2004 1:30 PM", 37991.0 + 13.5 / 24},
        {"01-05-2004", 37991.0},
        {"2004-01-05", 37991.0},
        {"2004-01-05T12:00:00", 37991.5},
        {"2004-01-05 12:00", 37991.5},
        {"12:30", 0.5208333333333334},
        {"06:00:30", 0.25 + 30 * kSecond},
        {"12:00 AM", 0.0},
        {"00:00:00.5", 0.5 * kSecond},
        {"12/30/1899", 0.0},
        {"12/31/1899 12:00", 1.5},
        {"01/01/1900", 2.0},
        {"12/29/1899 06:00", -1.25}, // before day 0 the fraction still runs forward
        {"02/29/2000", 36585.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        DateValue value{0.0, DateStatus::Invalid};
        ASSERT_TRUE(ParseDateTime(c.text, value));
        EXPECT_EQ(value.status, DateStatus::Valid);
        EXPECT_NEAR(value.day, c.expected, 1e-9);
    }
}

TEST(DateTime, RefusesTextsThatAreNoDateTime) {
    for (const char* text : {"", " ", "abc", "37991", "13/01/2004", "02/30/2004", "02/29/2001",
                             "25:00", "12:60", "12:5", "13:00 PM", "01/05/2004 12", "01/05/2004x",
                             "2004-13-01", "1/5", "12:00:00:00", "0099-01-01"}) {
        SCOPED_TRACE(text);
        DateValue value;
        EXPECT_FALSE(ParseDateTime(text, value));
        EXPECT_EQ(value.status, DateStatus::Invalid);
    }
}

TEST(DateTime, TextIsATimeInTheYear1899AndADateOtherwise) {
    const struct {
        double day;
        const char* expected;
    } cases[] = {
        {37991.5, "01/05/04"},      {0.520833, "12:30:00"}, // stored with six decimals: 12:29:59.97
        {1.5, "12:00:00"},          {2.0, "01/01/00"},          {-1.25, "06:00:00"},
        {-2.0, "00:00:00"},         {0.0, "00:00:00"},          {2958465.0, "12/31/99"},
        {1e10, "Invalid DateTime"}, {-1e7, "Invalid DateTime"}, {NAN, "Invalid DateTime"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day);
        DateValue scratch;
        EXPECT_EQ(DateText(scratch, c.day), c.expected);
    }
}

TEST(DateTime, RoundsToTheNearestSecondAcrossMidnight) {
    CalendarFields f;
    ASSERT_TRUE(DayNumberToFields(37991.0 - 0.1 * kSecond, f)); // 23:59:59.9 on 4 Jan
    EXPECT_EQ(f.year, 2004);
    EXPECT_EQ(f.month, 1);
    EXPECT_EQ(f.day, 5);
    EXPECT_EQ(f.hour, 0);
}

TEST(DateTime, StatusDecidesBeforeTheNumber) {
    EXPECT_EQ(FormatDateValue(DateValue{37991.5, DateStatus::Null}, 'x'), "");
    EXPECT_EQ(FormatDateValue(DateValue{37991.5, DateStatus::Invalid}, 'x'), "Invalid DateTime");
    // An invalid scratch makes DateText use the date form, which reports it.
    DateValue scratch{0.0, DateStatus::Invalid};
    EXPECT_EQ(DateText(scratch, 0.5), "Invalid DateTime");
}
