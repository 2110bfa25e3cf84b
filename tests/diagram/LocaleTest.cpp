// Runs under LC_ALL=de_DE.UTF-8, where the C library reads "2.5" as 2 and
// writes 2.5 as "2,500", and under tr_TR.UTF-8, where it leaves 'I'
// uppercase: the program's own rules must not notice.
#include "diagram/CDiagram.h"
#include "diagram/DateTime.h"
#include "diagram/Numbers.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdlib>

TEST(GermanLocale, NumbersAndDatesFollowTheCRules) {
    ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr) << "the de_DE.UTF-8 locale is not installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",")
        << "this test must run under a German locale to prove anything";
    ASSERT_DOUBLE_EQ(std::atof("2.5"), 2.0); // the trap the program avoids

    EXPECT_DOUBLE_EQ(AtoF("2.5"), 2.5);
    EXPECT_EQ(FormatC("%.3f", 2.5), "2.500");
    EXPECT_EQ(FormatC("%+f", -0.25), "-0.250000");

    DateValue scratch;
    EXPECT_EQ(DateText(scratch, 37991.5), "01/05/04");
    EXPECT_EQ(DateText(scratch, 0.5), "12:00:00");

    TempDir dir;
    RecordingHost host;
    CDiagram diagram(&host);
    const auto file = dir.Write("de.txt", "X=datetime\nXmin=1.5\nT\nt;a\n"
                                          "01/05/2004 12:00;2.5\n01/05/2004 13:00;2.5\n");
    ASSERT_TRUE(diagram.LoadFile(file.string()));
    EXPECT_DOUBLE_EQ(diagram.fileXmin, 1.5);
    EXPECT_EQ(diagram.values[0][0], "37991.500000");
    EXPECT_EQ(diagram.values[2][0], "2.500000"); // spectrum of a constant 2.5
    std::setlocale(LC_ALL, "C");
}

TEST(TurkishLocale, CommandWordsAndTimesReadAsInTheCLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr)
        << "the tr_TR.UTF-8 locale is not installed";
    ASSERT_NE(std::tolower('I'), 'i')
        << "this locale lowercases I to i, so the test would prove nothing";

    TempDir dir;
    RecordingHost host;
    CDiagram diagram(&host);
    const auto file = dir.Write("tr.txt", "X=DATETIME\nT\nt;a\n"
                                          "01/05/2004 01:00 PM;1\n01/05/2004 02:00 pm;2\n");
    const bool loaded = diagram.LoadFile(file.string());
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(diagram.xIsDateTime);
    EXPECT_EQ(diagram.values[0][0], "37991.541667");
    EXPECT_EQ(diagram.values[0][1], "37991.583333");
}
