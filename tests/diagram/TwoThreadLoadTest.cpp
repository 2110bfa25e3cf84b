// A large file is read by two threads, the second taking plain data rows from
// the middle on. Whatever the file holds there, the table, the messages and
// the read position must be those of a read by one thread.
#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/RowsAhead.h"
#include "diagram/ZoomRequest.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Rows of every kind a table line can be: numbers, blanks, text, extra cells,
// empty and separator-only lines, CRLF ends.
std::string Rows(int count, int seed, bool dates = false) {
    std::mt19937 random(seed);
    std::string rows;
    for (int i = 0; i < count; ++i) {
        const unsigned kind = random() % 40;
        if (kind == 0) {
            rows += "\n";
            continue;
        }
        if (kind == 1 && !dates) { // with a date X, a line without one is a bad date
            rows += ";;\t,\n";
            continue;
        }
        rows += dates ? "2024-02-01 10:" + std::to_string(10 + i % 50) + ":00"
                      : std::to_string(i) + "." + std::to_string(random() % 10);
        rows += kind == 2 ? "; ;" : ";" + std::to_string(static_cast<int>(random() % 2000) - 1000);
        rows += kind == 3 ? ",text" : "\t" + std::to_string(random() % 100) + "e-2";
        if (kind == 4)
            rows += ";extra;cells";
        rows += kind == 5 ? "\r\n" : "\n";
    }
    return rows;
}

std::string Head(const std::string& commands = "X=number\n") {
    return commands + "Title of the test\nt;a;b\n";
}

// What one read leaves: outcome, messages, table and position.
struct Read {
    std::string outcome;
    Strings warnings;
    std::vector<Strings> columns;
    std::string title;
    int timer = 0;
    long long end = 0;
    long long lines = 0;
    bool appendable = false;

    bool operator==(const Read&) const = default;
};

Read ReadWith(const std::string& path, long long twoThreadsFrom, int maxRows,
              CDiagram::LoadMode mode = CDiagram::LoadMode::Open) {
    RecordingHost host;
    CDiagram diagram(&host);
    Read read;
    try {
        read.outcome =
            diagram.LoadFile(path, LoadLimits{.maxRows = maxRows, .twoThreadsFrom = twoThreadsFrom},
                             mode)
                ? "loaded"
                : "refused";
    } catch (const std::exception& error) {
        read.outcome = error.what();
    }
    read.warnings = host.warnings;
    for (const StringArray& column : diagram.values) {
        Strings texts;
        for (int r = 0; r < column.GetSize(); ++r)
            texts.emplace_back(column[r]);
        read.columns.push_back(texts);
    }
    read.title = diagram.title;
    read.timer = diagram.timerPeriod;
    read.end = diagram.lastRead.end;
    read.lines = diagram.lastRead.lines;
    read.appendable = diagram.lastRead.appendable;
    return read;
}

// Returns the read by one thread, so that a case can say what it must give.
Read ExpectSameAsOneThread(const std::string& content, int maxRows = 1 << 30,
                           CDiagram::LoadMode mode = CDiagram::LoadMode::Open) {
    TempDir dir;
    const std::string path = dir.Write("data.txt", content).string();
    const Read one = ReadWith(path, std::numeric_limits<long long>::max(), maxRows, mode);
    const Read two = ReadWith(path, 0, maxRows, mode);
    EXPECT_EQ(two.outcome, one.outcome);
    EXPECT_EQ(two.warnings, one.warnings);
    EXPECT_EQ(two.title, one.title);
    EXPECT_EQ(two.timer, one.timer);
    EXPECT_EQ(two.end, one.end);
    EXPECT_EQ(two.lines, one.lines);
    EXPECT_EQ(two.appendable, one.appendable);
    EXPECT_EQ(two.columns.size(), one.columns.size());
    for (std::size_t c = 0; c < one.columns.size() && c < two.columns.size(); ++c)
        EXPECT_TRUE(two.columns[c] == one.columns[c]) << "column " << c;
    return one;
}

std::size_t RowCount(const Read& read) {
    return read.columns.empty() ? 0 : read.columns[0].size();
}

} // namespace

TEST(TwoThreadLoad, GivesTheTableOfOneThreadWhateverTheSecondHalfHolds) {
    const std::string first = Rows(20'000, 1);
    const std::string second = Rows(20'000, 2);
    struct Case {
        const char* what;
        std::string content;
        const char* outcome;
    };
    const Case cases[] = {
        {"plain rows", Head() + first + second, "loaded"},
        {"a command in the second half", Head() + first + second + "Timer=5\n" + Rows(500, 3),
         "loaded"},
        {"an unknown command there", Head() + first + "Colour=red\n" + second, "loaded"},
        {"a short row there", Head() + first + second + "7\n" + Rows(100, 4),
         "Line 40004 has 1 value(s); the header names 3 columns, so a row needs at least 2."},
        {"an unterminated last line", Head() + first + second + "1;2;3", "loaded"},
        {"an unterminated short last line", Head() + first + second + "1",
         "Line 40004 has 1 value(s); the header names 3 columns, so a row needs at least 2."},
        {"no line feed after the middle", Head() + first + "1;2;" + std::string(300'000, 'x'),
         "loaded"},
        {"two equal halves", Head() + first + first, "loaded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read read = ExpectSameAsOneThread(c.content);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_GT(RowCount(read), 18'000u);
    }
}

TEST(TwoThreadLoad, CommandsBeforeTheSecondHalfStillApplyToIt) {
    // The X kind changes after the header: the second half must read dates.
    const Read dates = ExpectSameAsOneThread(Head("") + Rows(100, 5) + "X=datetime\n" +
                                             Rows(20'000, 6, true) + Rows(20'000, 7, true));
    EXPECT_EQ(dates.outcome, "loaded");
    ASSERT_GT(RowCount(dates), 38'000u);
    EXPECT_EQ(dates.columns[0].back().substr(0, 6), "45323.");
    // A bad date in the second half ends the load at its line.
    const Read bad =
        ExpectSameAsOneThread(Head("X=datetime\n") + Rows(20'000, 8, true) + Rows(20'000, 9, true) +
                              "2024-13-45 99:00;1;2\n" + Rows(100, 10, true));
    EXPECT_EQ(bad.outcome, "refused");
}

TEST(TwoThreadLoad, RowLimitZoomRangeAndARefreshReadLikeOneThread) {
    const std::string content = Head() + Rows(40'000, 11);
    EXPECT_EQ(ExpectSameAsOneThread(content, 30'000).outcome, "refused");
    EXPECT_EQ(ExpectSameAsOneThread(content, 38'800).outcome, "loaded");
    ExpectSameAsOneThread(content + "1;2;3", 1 << 30, CDiagram::LoadMode::Refresh);
    g_bZoomOpen = true;
    g_zoomXFrom = 5'000.0;
    g_zoomXTo = 31'000.5;
    ExpectSameAsOneThread(content);
    g_bZoomOpen = false;
}

// The second thread on its own: it takes rows up to the first line it may
// not take and says where that line starts.
TEST(RowsAhead, StopsAtTheFirstLineItMayNotTake) {
    TempDir dir;
    const std::string before = "1;2;3\n\n;;\n4;5;6\r\n";
    const std::string content = before + "Timer=1\n7;8;9\n";
    const FileDescriptor file(dir.Write("rows.txt", content).string());
    RowsAhead ahead(file.Get(), 0, static_cast<long long>(content.size()),
                    RowsAhead::Shape{4, false, std::nullopt, 1000, 1000});
    RowsAhead::Result& result = ahead.Wait();
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.end, static_cast<long long>(before.size()));
    EXPECT_EQ(result.lines, 4);
    ASSERT_EQ(result.rows.GetSize(), 4);
    EXPECT_EQ(result.rows[0].GetSize(), 2);
    EXPECT_EQ(result.rows[2][1], "6");
    EXPECT_EQ(result.rows[3][1], "0.0");

    const std::optional<long long> split = RowsAhead::SplitPoint(-1, 100);
    EXPECT_FALSE(split.has_value());
}
