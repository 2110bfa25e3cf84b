// Plain CSV files (a header line, then rows; no title line, no commands):
// the first line is the header, the file's name the title, and the first
// row's X token says whether X holds numbers, date-times or labels. Files of
// Kelvaro's own format read as before. Zoom windows, refreshes of a growing
// file and the second thread of a large read all see the same table.
#include "diagram/CDiagram.h"
#include "diagram/DateTime.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"
#include "diagram/PlainTable.h"
#include "diagram/TableRefresh.h"
#include "diagram/TableZoom.h"
#include "diagram/TwoThreads.h"
#include "diagram/ZoomRequest.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// The X cell a date-time table stores for a date: its day number as "%f".
std::string DayCell(int year, int month, int day, int hour, int minute, int second) {
    return FormatFixed(FieldsToDayNumber(year, month, day, hour, minute, second), 6);
}

// The loaded table as texts: title, X kind, minor ticks and column count,
// then every column's name and cells but the spectrum column's (computed
// after the read, and named then).
Strings TableOf(const CDiagram& d) {
    Strings table{d.title, std::to_string(d.xIsNumber) + std::to_string(d.xIsDateTime) + "|" +
                               std::to_string(d.minorTicks) + "|" + std::to_string(d.columnCount)};
    for (int c = 0; c + 1 < d.columnCount; ++c) {
        std::string column(ColumnName(d.columns[c]));
        for (int r = 0; r < d.values[c].GetSize(); ++r)
            column.append("\x1f").append(d.values[c][r]);
        table.push_back(column);
    }
    return table;
}

// ---- Which lines are numbers ----

TEST(PlainCsvNumber, OnlyATokenTheNumberRuleReadsWholeIsANumber) {
    const struct {
        std::string token;
        bool number;
    } cases[] = {
        {"0", true},           {"20.1", true},   {" 20.1", true}, {"20.1 ", true},
        {"\r40", true},        {"-3e2", true},   {"+.5", true},   {"1.", true},
        {"1e+05", true},       {"nan", true},    {"NaN", true},   {"inf", true},
        {"-Infinity", true},   {"0x1A", true},   {"0x1p3", true}, {"", false},
        {" ", false},          {"12abc", false}, {"abc", false},  {"1 2", false},
        {"1e", false},         {"--1", false},   {"-", false},    {".", false},
        {"2004-01-05", false}, {"12:30", false}, {"0x", false},   {std::string("1\0", 2), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("token \"" + c.token + "\"");
        EXPECT_EQ(ReadsAsNumber(c.token), c.number);
    }
}

// ---- Files and what they read as ----

// What a load left, in one line: "title T, columns A;B, N rows, X numbers from
// X0, ticks M", the spectrum column left out; "refused, " in front when the
// load returned false, and the count of messages at the end when there were
// any.
std::string Summary(const CDiagram& d, bool loaded, std::size_t warnings) {
    std::string summary = loaded ? "" : "refused, ";
    summary += "title " + d.title + ", columns ";
    for (int c = 0; c + 1 < d.columnCount; ++c)
        summary.append(c > 0 ? ";" : "").append(ColumnName(d.columns[c]));
    const int rows = d.columnCount > 0 ? d.values[0].GetSize() : 0;
    summary += ", " + std::to_string(rows) + " rows, X ";
    summary += d.xIsNumber && d.xIsDateTime ? "numbers and dates"
               : d.xIsNumber                ? "numbers"
               : d.xIsDateTime              ? "dates"
                                            : "labels";
    if (rows > 0)
        summary += " from " + std::string(d.values[0][0]);
    summary += ", ticks " + std::to_string(d.minorTicks);
    if (warnings > 0)
        summary += ", " + std::to_string(warnings) + " warnings";
    return summary;
}

struct FileCase {
    const char* name;
    std::string content;
    std::string expected; // the Summary, or "throws" for the invalid-argument error
};

std::vector<FileCase> FileCases() {
    const std::string own = "Pump test 14\nTime;Pressure;Flow\n0;1.25;10\n0.5;1.31;11\n";
    return {
        // Plain CSV files.
        {"Numbers", "time,temp,hum\n0,20.1,40\n1,20.3,41\n2,20.2,42\n3,20.6,43\n",
         "title plain.csv, columns time;temp;hum, 4 rows, X numbers from 0, ticks 0"},
        {"IsoDateTimes", "when,temp\n2024-03-01T10:00:00,20.1\n2024-03-01T10:05:00,20.3\n",
         "title plain.csv, columns when;temp, 2 rows, X dates from " +
             DayCell(2024, 3, 1, 10, 0, 0) + ", ticks 0"},
        {"UsDateTimes", "when;p\n01/05/2004 12:00;3.5\n01/05/2004 13:00;3.6\n",
         "title plain.csv, columns when;p, 2 rows, X dates from " + DayCell(2004, 1, 5, 12, 0, 0) +
             ", ticks 0"},
        {"TimesOfDay", "clock\tp\n12:30\t1\n12:31\t2\n",
         "title plain.csv, columns clock;p, 2 rows, X dates from " +
             DayCell(1899, 12, 30, 12, 30, 0) + ", ticks 0"},
        {"Labels", "month,rain\nJan,20\nFeb,31\n",
         "title plain.csv, columns month;rain, 2 rows, X labels from Jan, ticks 5"},
        {"BlankCellInALaterRow", "t,a,b\n0,1,2\n1,,3\n",
         "title plain.csv, columns t;a;b, 2 rows, X numbers from 0, ticks 0"},
        {"SpacesAfterCommas", "time, temp, hum\n0, 20.1, 40\n1, 20.3, 41\n",
         "title plain.csv, columns time; temp; hum, 2 rows, X numbers from 0, ticks 0"},
        {"Semicolons", "t;a;b\n0;1;2\n1;2;3\n",
         "title plain.csv, columns t;a;b, 2 rows, X numbers from 0, ticks 0"},
        {"Tabs", "t\ta\tb\n0\t1\t2\n",
         "title plain.csv, columns t;a;b, 1 rows, X numbers from 0, ticks 0"},
        {"CrLfAndBlankLines", "time,temp\r\n\r\n;;\r\n\r\n0,20.5\r\n\r\n1,21\r\n",
         "title plain.csv, columns time;temp, 2 rows, X numbers from 0, ticks 0"},
        {"NanAndInfCells", "t,a,b\n0,nan,-inf\n1,2,3\n",
         "title plain.csv, columns t;a;b, 2 rows, X numbers from 0, ticks 0"},
        {"HexadecimalX", "t,a\n0x10,1\n",
         "title plain.csv, columns t;a, 1 rows, X numbers from 0x10, ticks 0"},
        {"EmptyFieldsDoNotHoldTheirPlace", "t,a\n1,,3\n",
         "title plain.csv, columns t;a, 1 rows, X numbers from 1, ticks 0"},
        {"NumbersOnly", "1,2,3\n4,5,6\n7,8,9\n",
         "title plain.csv, columns 1;2;3, 2 rows, X numbers from 4, ticks 0"},
        {"TwoLinesOnly", "time,temp\n0,20.5\n",
         "title plain.csv, columns time;temp, 1 rows, X numbers from 0, ticks 0"},
        {"TwoLinesWithoutTheLastLineFeed", "time,temp\n0,20.5",
         "title plain.csv, columns time;temp, 1 rows, X numbers from 0, ticks 0"},
        {"OneLineOnly", "time,temp,hum\n", "throws"},
        // Commands after the first line: an X command decides the X kind.
        {"XDateTimeCommandAfterTheFirstLine", "time,temp\nX=datetime\n01/05/2004 12:00,3.5\n",
         "title plain.csv, columns time;temp, 1 rows, X dates from " +
             DayCell(2004, 1, 5, 12, 0, 0) + ", ticks 0"},
        {"XNumberCommandOverLabels", "month,rain\nX=number\nJan,20\n",
         "title plain.csv, columns month;rain, 1 rows, X numbers from Jan, ticks 0"},
        {"UnknownXCommandLeavesLabels", "t,a\nX=bar\n0,1\n",
         "title plain.csv, columns t;a, 1 rows, X labels from 0, ticks 0, 1 warnings"},
        {"OtherCommandAfterTheFirstLine", "t,a\nTimer=500\n0,1\n",
         "title plain.csv, columns t;a, 1 rows, X numbers from 0, ticks 0"},
        {"DateXThenNoDate", "when,p\n2024-03-01,1\nsoon,2\n",
         "refused, title plain.csv, columns when;p, 1 rows, X dates from " +
             DayCell(2024, 3, 1, 0, 0, 0) + ", ticks 0, 1 warnings"},
        // Kelvaro's own format, and files that only look like plain ones.
        {"OwnFormat", own,
         "title Pump test 14, columns Time;Pressure;Flow, 2 rows, X labels from 0, ticks 5"},
        {"OwnFormatWithCommands", "X=number\nXmin=0\n" + own,
         "title Pump test 14, columns Time;Pressure;Flow, 2 rows, X numbers from 0, ticks 0"},
        {"OneTokenTitleOverNumbers", "Pump test 14\n0;1\n2;3\n",
         "title Pump test 14, columns 0;1, 1 rows, X labels from 2, ticks 5"},
        {"TitleWithACommaOverNames", "Rig 7, run 3\nTime;Pressure;Flow\n0;1;2\n",
         "title Rig 7, run 3, columns Time;Pressure;Flow, 1 rows, X labels from 0, ticks 5"},
        {"TitleOfNumbersOverNames", "1,2,3\nx,a,b\n4,5,6\n",
         "title 1,2,3, columns x;a;b, 1 rows, X labels from 4, ticks 5"},
        {"CommandBeforeACsvHeader", "Timer=500\ntime,temp\n0,20.5\n1,21\n",
         "title time,temp, columns 0;20.5, 1 rows, X labels from 1, ticks 5"},
        {"SecondLineShort", "t,a,b\n0,1\n2,3,4\n",
         "title t,a,b, columns 0;1, 1 rows, X labels from 2, ticks 5"},
        {"SecondLineLong", "t,a\n0,1,2\n", "title t,a, columns 0;1;2, 0 rows, X labels, ticks 5"},
        {"SecondLineWithAWord", "t,a,b\n0,1,abc\n",
         "title t,a,b, columns 0;1;abc, 0 rows, X labels, ticks 5"},
        {"NumberWithTextAfterIt", "t,a\n0,12abc\n",
         "title t,a, columns 0;12abc, 0 rows, X labels, ticks 5"},
        // The one way Kelvaro's own format meets the rule: a title of two or
        // more tokens over a header whose names after the first are numbers.
        {"TitleWithACommaOverANumericHeader", "Run 3, day 2\n0;1\n2;3\n",
         "title plain.csv, columns Run 3; day 2, 2 rows, X numbers from 0, ticks 0"},
    };
}

// A failing case names itself rather than its bytes.
void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.name;
}

class PlainCsvFile : public testing::TestWithParam<FileCase> {};

TEST_P(PlainCsvFile, ReadsAsItsCaseSays) {
    const FileCase& c = GetParam();
    TempDir dir;
    RecordingHost host;
    CDiagram diagram(&host);
    const std::string path = dir.Write("plain.csv", c.content).string();
    if (c.expected == "throws") {
        EXPECT_THROW(diagram.LoadFile(path), InvalidArgumentError);
        return;
    }
    const bool loaded = diagram.LoadFile(path);
    EXPECT_EQ(Summary(diagram, loaded, host.warnings.size()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlainCsvFile, testing::ValuesIn(FileCases()),
                         [](const testing::TestParamInfo<FileCase>& info) {
                             return std::string(info.param.name);
                         });

class PlainCsv : public testing::Test {
protected:
    CDiagram& Load(const std::string& content) {
        path = dir.Write("plain.csv", content).string();
        EXPECT_TRUE(diagram.LoadFile(path));
        return diagram;
    }
    Strings Column(int c) const {
        Strings texts;
        for (int r = 0; r < diagram.values[c].GetSize(); ++r)
            texts.emplace_back(diagram.values[c][r]);
        return texts;
    }

    TempDir dir;
    RecordingHost host;
    CDiagram diagram{&host};
    std::string path;
};

TEST_F(PlainCsv, TheFirstRowIsStoredAsEveryOtherRow) {
    Load("t,a,b\n0,1,2\n1,,3\n2,4\n");
    EXPECT_EQ(Column(0), (Strings{"0", "1", "2"}));
    EXPECT_EQ(Column(1), (Strings{"1", "3", "4"}));
    EXPECT_EQ(Column(2), (Strings{"2", "", ""}));
    EXPECT_EQ(diagram.fileName, "plain.csv");
    EXPECT_EQ(diagram.fileTitle, "plain");
    EXPECT_TRUE(host.warnings.empty());
}

TEST_F(PlainCsv, ADateXStoresEveryRowAsItsDayNumber) {
    Load("when,t\n2024-03-01T10:00:00,1\n2024-03-01 10:30,2\n03/02/2024 11:00,3\n");
    EXPECT_EQ(Column(0), (Strings{DayCell(2024, 3, 1, 10, 0, 0), DayCell(2024, 3, 1, 10, 30, 0),
                                  DayCell(2024, 3, 2, 11, 0, 0)}));
    // The same rows under the command give the same cells.
    RecordingHost otherHost;
    CDiagram withCommand(&otherHost);
    ASSERT_TRUE(withCommand.LoadFile(
        dir.Write("own.txt", "X=datetime\nT\nwhen,t\n2024-03-01T10:00:00,1\n2024-03-01 10:30,2\n"
                             "03/02/2024 11:00,3\n")
            .string()));
    EXPECT_EQ(TableOf(withCommand)[1], TableOf(diagram)[1]); // X kind and ticks
    EXPECT_EQ(TableOf(withCommand)[2], TableOf(diagram)[2]); // the X column
}

// A zoom window keeps the rows of its range, the first row among them or not:
// the rows a whole read gives whose X lies in the range, ends included.
TEST_F(PlainCsv, AZoomWindowFiltersTheFirstRowLikeAnyRow) {
    const std::string numbers = "x,y\n0,5\n1,6\n2,7\n3,8\n";
    const std::string dates = "when,y\n2024-03-01T10:00:00,5\n2024-03-01T11:00:00,6\n"
                              "2024-03-01T12:00:00,7\n";
    const double ten = FieldsToDayNumber(2024, 3, 1, 10, 0, 0);
    const double eleven = FieldsToDayNumber(2024, 3, 1, 11, 0, 0);
    const double noon = FieldsToDayNumber(2024, 3, 1, 12, 0, 0);
    const struct {
        const char* what;
        const std::string& content;
        XRange range;
    } cases[] = {
        {"numbers, first row out", numbers, {1.0, 2.0}},
        {"numbers, first row at the lower end", numbers, {0.0, 1.0}},
        {"numbers, nothing", numbers, {10.0, 20.0}},
        {"dates, first row out", dates, {eleven, noon}},
        {"dates, first row in", dates, {ten, eleven}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh window: one whose command values are the file's own.
        RecordingHost openHost;
        CDiagram open(&openHost);
        path = dir.Write("plain.csv", c.content).string();
        ASSERT_TRUE(open.LoadFile(path));
        std::vector<int> kept;
        for (int r = 0; r < open.values[0].GetSize(); ++r) {
            const CellText cell = open.values[0][r];
            const double x = AtoF(cell);
            if (x >= c.range.from && x <= c.range.to)
                kept.push_back(r);
        }
        std::vector<Strings> expected(static_cast<std::size_t>(open.columnCount - 1));
        for (int col = 0; col + 1 < open.columnCount; ++col)
            for (const int r : kept)
                expected[static_cast<std::size_t>(col)].emplace_back(open.values[col][r]);

        RecordingHost zoomHost;
        CDiagram zoom(&zoomHost);
        {
            const ZoomOpenScope request(c.range.from, c.range.to, 0.0, 0.0);
            ASSERT_TRUE(zoom.LoadFile(path));
        }
        EXPECT_EQ(zoom.title, open.title);
        EXPECT_EQ(zoom.xIsNumber, open.xIsNumber);
        EXPECT_EQ(zoom.xIsDateTime, open.xIsDateTime);
        ASSERT_EQ(zoom.columnCount, open.columnCount);
        for (int col = 0; col + 1 < zoom.columnCount; ++col) {
            Strings cells;
            for (int r = 0; r < zoom.values[col].GetSize(); ++r)
                cells.emplace_back(zoom.values[col][r]);
            EXPECT_EQ(cells, expected[static_cast<std::size_t>(col)]) << "column " << col;
        }
        // The zoom window made from the open window's table is the same.
        ASSERT_TRUE(ZoomableFromMemory(open, c.range));
        RecordingHost memoryHost;
        CDiagram fromMemory(&memoryHost);
        fromMemory.TakeTable(
            ZoomTableOf(open, open.values[0].Numbers(), c.range, fromMemory.palette, nullptr));
        EXPECT_EQ(TableOf(fromMemory), TableOf(zoom));
    }
}

// ---- A growing file ----

// A plain CSV as a logger writes it: CR LF ends here and there, blank lines,
// rows one value short.
std::string LoggerCsv(int rows, bool dates) {
    std::string text = "time,temp,hum\r\n";
    for (int r = 0; r < rows; ++r) {
        text += dates ? "2024-03-01T10:" + std::to_string(10 + r % 50) + ":00"
                      : std::to_string(r) + "." + std::to_string(r % 4);
        text += ", " + std::to_string(20 + r % 7) + "." + std::to_string(r % 10);
        if (r % 11 != 5)
            text += "," + std::to_string(40 + r % 13);
        text += r % 3 == 0 ? "\r\n" : "\n";
        if (r % 17 == 8)
            text += "\n";
    }
    return text;
}

class PlainCsvRefresh : public testing::Test {
protected:
    // Opens the file as it is now; false when a window would not open it.
    bool Open(const std::string& content) {
        path = dir.Write("live.csv", content).string();
        host.warnings.clear();
        try {
            return diagram.LoadFile(path);
        } catch (const InvalidArgumentError&) {
            return false;
        }
    }
    void Append(const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
    }
    // A whole read of the file as it is now, as a refresh reads it; nothing
    // when that read fails.
    std::optional<Strings> WholeRead() const {
        RecordingHost other;
        CDiagram fresh(&other);
        try {
            if (!fresh.LoadFile(path, {}, CDiagram::LoadMode::Refresh))
                return std::nullopt;
        } catch (const InvalidArgumentError&) {
            return std::nullopt;
        }
        return TableOf(fresh);
    }
    // Grows the file to content piece by piece, refreshing after each piece:
    // every refresh gives the table of a whole read of the same bytes, or
    // fails where a whole read fails and leaves the table as it was.
    void GrowTo(const std::string& content, std::size_t from, std::size_t piece) {
        for (std::size_t at = from; at < content.size(); at += piece) {
            const std::size_t to = std::min(at + piece, content.size());
            Append(content.substr(at, to - at));
            const Strings before = TableOf(diagram);
            const RefreshOutcome outcome = RefreshTable(diagram);
            const std::optional<Strings> whole = WholeRead();
            if (outcome.kind == RefreshOutcome::Kind::Failed) {
                ASSERT_FALSE(whole.has_value()) << "up to byte " << to << ": " << outcome.failure;
                ASSERT_EQ(TableOf(diagram), before);
            } else {
                ASSERT_TRUE(whole.has_value()) << "up to byte " << to;
                ASSERT_EQ(TableOf(diagram), *whole) << "up to byte " << to;
            }
        }
    }

    TempDir dir;
    std::string path;
    RecordingHost host;
    CDiagram diagram{&host};
};

TEST_F(PlainCsvRefresh, RowByRowAGrowingFileGivesTheTableOfAWholeRead) {
    for (const bool dates : {false, true}) {
        SCOPED_TRACE(dates ? "date-time X" : "numeric X");
        const std::string file = LoggerCsv(60, dates);
        const std::size_t secondLineEnd = file.find('\n', file.find('\n') + 1) + 1;
        ASSERT_TRUE(Open(file.substr(0, secondLineEnd)));
        EXPECT_EQ(diagram.title, "live.csv");
        EXPECT_EQ(diagram.xIsDateTime, dates);
        EXPECT_EQ(diagram.xIsNumber, !dates);
        for (std::size_t at = secondLineEnd; at < file.size();) {
            const std::size_t next = file.find('\n', at) + 1;
            Append(file.substr(at, next - at));
            ASSERT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::Appended);
            ASSERT_EQ(TableOf(diagram), WholeRead()) << "up to byte " << next;
            at = next;
        }
        EXPECT_TRUE(host.warnings.empty());
    }
}

// Opened at any byte, then grown a few bytes at a time: also while the
// second line is still being written.
TEST_F(PlainCsvRefresh, GrownInPiecesFromAnyCutAGrowingFileGivesTheTableOfAWholeRead) {
    for (const bool dates : {false, true}) {
        const std::string file = LoggerCsv(25, dates);
        for (std::size_t cut = 1; cut < 80; cut += 3) {
            SCOPED_TRACE(std::string(dates ? "date-time X" : "numeric X") + ", opened at byte " +
                         std::to_string(cut));
            if (!Open(file.substr(0, cut)))
                continue;
            GrowTo(file, cut, 7);
            ASSERT_EQ(TableOf(diagram), WholeRead());
            EXPECT_EQ(diagram.title, "live.csv");
        }
    }
}

// A second line without its line feed: an open reads the file as it stands,
// so a row not yet complete leaves the format's own reading (title and
// header) until a refresh finds it complete; a refresh leaves it for later.
TEST_F(PlainCsvRefresh, ASecondLineStillBeingWrittenIsReadOnceItIsComplete) {
    ASSERT_TRUE(Open("time,temp,hum\n0,20"));
    EXPECT_EQ(diagram.title, "time,temp,hum");
    EXPECT_EQ(diagram.columnCount, 3);
    Append(".1,40\n1,2");
    EXPECT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::ReadWhole);
    EXPECT_EQ(diagram.title, "live.csv");
    EXPECT_TRUE(diagram.xIsNumber);
    EXPECT_EQ(diagram.values[0].GetSize(), 1); // "1,2" waits for its line feed
    Append("0.3,41\n");
    EXPECT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::Appended);
    EXPECT_EQ(diagram.values[0].GetSize(), 2);
    EXPECT_EQ(TableOf(diagram), WholeRead());

    // Rewritten by a logger that starts again: the header alone, then a row
    // being written, give no table yet; the last one stays.
    const Strings shown = TableOf(diagram);
    WriteFile(path, "time,temp,hum\n");
    EXPECT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::Failed);
    Append("5,20.9,4");
    EXPECT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::Failed);
    EXPECT_EQ(TableOf(diagram), shown);
    Append("4\n");
    EXPECT_EQ(RefreshTable(diagram).kind, RefreshOutcome::Kind::ReadWhole);
    EXPECT_EQ(diagram.values[0].GetSize(), 1);
    EXPECT_EQ(diagram.values[2][0], "44");
}

// ---- Two threads ----

// A large plain file, numbers or dates in X, read by one thread and by two:
// the second thread, started once the first row has told the X kind, reads
// its rows as the first thread would.
TEST(PlainCsvTwoThreads, ALargePlainFileReadsTheSameOnOneAndTwoThreads) {
    if (!HasSecondCore())
        GTEST_SKIP() << "one core: the second thread never starts";
    TempDir dir;
    const double from = FieldsToDayNumber(2024, 3, 1, 10, 20, 0);
    const double to = FieldsToDayNumber(2024, 3, 1, 10, 40, 0);
    const struct {
        const char* what;
        std::string content;
        std::optional<XRange> zoom;
    } cases[] = {
        {"numbers", LoggerCsv(30'000, false), std::nullopt},
        {"dates", LoggerCsv(30'000, true), std::nullopt},
        {"numbers, zoomed", LoggerCsv(30'000, false), XRange{5'000.0, 25'000.5}},
        {"dates, zoomed", LoggerCsv(30'000, true), XRange{from, to}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.Write("big.csv", c.content).string();
        std::vector<Strings> reads;
        std::vector<int> rows;
        for (const long long twoThreadsFrom : {std::numeric_limits<long long>::max(), 1LL}) {
            std::optional<ZoomOpenScope> zoom;
            if (c.zoom)
                zoom.emplace(c.zoom->from, c.zoom->to, 0.0, 0.0);
            RecordingHost host;
            CDiagram diagram(&host);
            ASSERT_TRUE(diagram.LoadFile(path, LoadLimits{.twoThreadsFrom = twoThreadsFrom}));
            EXPECT_TRUE(host.warnings.empty());
            EXPECT_EQ(diagram.title, "big.csv");
            reads.push_back(TableOf(diagram));
            rows.push_back(diagram.values[0].GetSize());
            reads.back().push_back(std::to_string(diagram.lastRead.end) + "|" +
                                   std::to_string(diagram.lastRead.lines));
        }
        EXPECT_GT(rows[0], 5'000);
        EXPECT_EQ(rows[1], rows[0]);
        EXPECT_TRUE(reads[1] == reads[0]);
    }
}

} // namespace
