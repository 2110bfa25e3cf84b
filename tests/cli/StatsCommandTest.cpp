// kelvaro-cli stats end to end: the examples against their golden outputs,
// and generated tables against statistics the test computes itself from the
// cells it wrote.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Json = nlohmann::json;

ProcessResult Stats(std::vector<std::string> args, const std::filesystem::path& cwd = {}) {
    args.insert(args.begin(), "stats");
    return RunProcess(KELVARO_CLI_PATH, args, cwd);
}

Json StatsJson(const std::vector<std::string>& args, const std::filesystem::path& cwd = {}) {
    const ProcessResult r = Stats(args, cwd);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return Json::parse(r.out);
}

// A cell as written to the file, and the height its curve draws it at.
struct Cell {
    std::string text;
    double drawn;
};

// One data column "a" with X cells x; the file's text.
std::string Table(const std::string& xKind, const std::vector<std::string>& x,
                  const std::vector<Cell>& a) {
    std::string text = (xKind.empty() ? "" : "X=" + xKind + "\n") + "T\nt;a\n";
    for (std::size_t i = 0; i < x.size(); ++i)
        text += x[i] + ";" + a[i].text + "\n";
    return text;
}

// Checks a column's entry against the rows taken (in order), computed here in
// two passes over the drawn values; xOf gives what the entry shows as a row's X.
void ExpectStatistics(const Json& got, const std::vector<Cell>& cells,
                      const std::vector<std::size_t>& taken, const std::vector<Json>& xOf) {
    ASSERT_EQ(got["rows"], taken.size());
    ASSERT_FALSE(taken.empty());
    EXPECT_EQ(got["first"], taken.front());
    EXPECT_EQ(got["last"], taken.back());
    std::size_t minRow = taken.front(), maxRow = taken.front();
    double sum = 0, squares = 0;
    for (std::size_t row : taken) {
        const double v = cells[row].drawn;
        minRow = v < cells[minRow].drawn ? row : minRow;
        maxRow = v > cells[maxRow].drawn ? row : maxRow;
        sum += v;
        squares += v * v;
    }
    const double n = static_cast<double>(taken.size()), mean = sum / n;
    double spread = 0;
    for (std::size_t row : taken)
        spread += (cells[row].drawn - mean) * (cells[row].drawn - mean);
    EXPECT_EQ(got["min"], cells[minRow].drawn);
    EXPECT_EQ(got["minX"], xOf[minRow]);
    EXPECT_EQ(got["max"], cells[maxRow].drawn);
    EXPECT_EQ(got["maxX"], xOf[maxRow]);
    EXPECT_EQ(got["peakToPeak"], cells[maxRow].drawn - cells[minRow].drawn);
    EXPECT_NEAR(got["mean"].get<double>(), mean, 1e-12 * std::abs(mean));
    EXPECT_NEAR(got["rms"].get<double>(), std::sqrt(squares / n), 1e-12 * std::sqrt(squares / n));
    EXPECT_NEAR(got["std"].get<double>(), std::sqrt(spread / n), 1e-9 * std::sqrt(spread / n));
}

// Cells of every kind a logger writes: numbers that must read back exactly,
// a blank, texts with and without a leading number, and NaN.
const std::vector<Cell> kCells = {
    {"2.5", 2.5},  {" ", 0.0},         {"0.30000000000000004", 0.30000000000000004},
    {"12abc", 12}, {"abc", 0.0},       {"-7.125e-3", -7.125e-3},
    {"nan", 0.0},  {"1e-300", 1e-300},
};

std::vector<std::string> Texts(const std::vector<int>& numbers) {
    std::vector<std::string> texts;
    for (int n : numbers)
        texts.push_back(std::to_string(n));
    return texts;
}

} // namespace

TEST(CliStats, ExamplesMatchTheirGoldens) {
    const struct {
        const char* golden;
        std::vector<std::string> args;
    } cases[] = {
        {"pump_test.json", {"pump_test.txt"}},
        {"logger_datetime.json", {"logger_datetime.txt"}},
        {"word_labels.json", {"word_labels.txt"}},
        {"sinusoid.json", {"sinusoid.txt"}},
        {"plain_logger.json", {"plain_logger.csv"}},
        {"pump_test_between_columns.json",
         {"pump_test.txt", "--between", "10", "5", "--column", "Level", "--column", "1"}},
        {"word_labels_between.json", {"word_labels.txt", "--between", "2", "7", "--column", "3"}},
        {"logger_datetime_between.json",
         {"logger_datetime.txt", "--between", "37991.25", "37991.75"}},
        {"sinusoid_x_range_between.json",
         {"sinusoid.txt", "--x-range", "10", "60", "--between", "30", "20"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        std::vector<std::string> args = c.args;
        args[0] = ExamplePath(args[0]).string();
        const ProcessResult r = Stats(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        ExpectMatchesGolden(r.out, std::string("cli/stats_") + c.golden);
    }
}

TEST(CliStats, ValuesAreReadAsTheCurvesDrawThem) {
    TempDir dir;
    const std::vector<int> x = {0, 1, 2, 3, 4, 5, 6, 7};
    dir.Write("cells.txt", Table("number", Texts(x), kCells));
    const Json d = StatsJson({"cells.txt"}, dir.Path());
    EXPECT_EQ(d["from"], 0.0);
    EXPECT_EQ(d["to"], 7.0);
    ASSERT_EQ(d["columns"].size(), 1u);
    EXPECT_EQ(d["columns"][0]["name"], "a");
    ExpectStatistics(d["columns"][0], kCells, {0, 1, 2, 3, 4, 5, 6, 7},
                     std::vector<Json>(x.begin(), x.end()));
}

// Ascending X with repeats and descending X are one run, unordered X is
// looked at row by row: each takes the rows whose X lies between the ends.
TEST(CliStats, BetweenTakesTheRowsOfEveryXOrder) {
    const struct {
        std::vector<int> x;
        double a, b;
    } cases[] = {
        {{0, 1, 1, 2, 3, 3, 3, 4}, 1, 3},   {{0, 1, 1, 2, 3, 3, 3, 4}, 0.5, 2.5},
        {{7, 6, 5, 5, 4, 3, 2, 1}, 5, 2},   {{3, 1, 4, 1, 5, 9, 2, 6}, 2, 5},
        {{3, 1, 4, 1, 5, 9, 2, 6}, -10, 3},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.Write("t.txt", Table("number", Texts(c.x), kCells));
        std::vector<std::size_t> taken;
        for (std::size_t row = 0; row < c.x.size(); ++row)
            if (std::min(c.a, c.b) <= c.x[row] && c.x[row] <= std::max(c.a, c.b))
                taken.push_back(row);
        for (const auto& [from, to] : {std::pair(c.a, c.b), std::pair(c.b, c.a)}) {
            SCOPED_TRACE(std::to_string(c.x[0]) + " " + std::to_string(from) + " " +
                         std::to_string(to));
            const Json d = StatsJson(
                {"t.txt", "--between", std::to_string(from), std::to_string(to)}, dir.Path());
            EXPECT_EQ(d["from"], from);
            EXPECT_EQ(d["to"], to);
            ExpectStatistics(d["columns"][0], kCells, taken,
                             std::vector<Json>(c.x.begin(), c.x.end()));
        }
    }
    // Without --between, unordered X loses no row.
    const Json all = StatsJson({"t.txt"}, dir.Path());
    EXPECT_EQ(all["from"], 3.0);
    EXPECT_EQ(all["to"], 6.0);
    ExpectStatistics(all["columns"][0], kCells, {0, 1, 2, 3, 4, 5, 6, 7}, {3, 1, 4, 1, 5, 9, 2, 6});
}

// A date-time X is shown as the viewer's readout shows it; labels by their
// text, the ends of --between being row numbers.
TEST(CliStats, DateTimeAndLabelXAreShownAsTheirText) {
    TempDir dir;
    const std::vector<Cell> cells(kCells.begin(), kCells.begin() + 5);
    dir.Write("dates.txt", Table("datetime",
                                 {"01/05/2004 12:00", "01/06/2004 12:00", "01/07/2004 12:00",
                                  "01/08/2004 12:00", "01/09/2004 12:00"},
                                 cells));
    // Day 37991.5 is noon of 5 January 2004.
    const Json dates = StatsJson({"dates.txt", "--between", "37994", "37992"}, dir.Path());
    EXPECT_EQ(dates["from"], "01/08/04");
    EXPECT_EQ(dates["to"], "01/06/04");
    ExpectStatistics(dates["columns"][0], cells, {1, 2},
                     {"01/05/04", "01/06/04", "01/07/04", "01/08/04", "01/09/04"});

    const std::vector<std::string> days = {"Mon", "Tue", "Wed", "Thu", "Fri"};
    dir.Write("labels.txt", Table("", days, cells));
    const std::vector<Json> labels(days.begin(), days.end());
    const Json reversed = StatsJson({"labels.txt", "--between", "3", "1"}, dir.Path());
    EXPECT_EQ(reversed["from"], "Thu");
    EXPECT_EQ(reversed["to"], "Tue");
    ExpectStatistics(reversed["columns"][0], cells, {1, 2, 3}, labels);
    // Ends that are no row of the table have no label.
    const Json wide = StatsJson({"labels.txt", "--between", "-2", "2.5"}, dir.Path());
    EXPECT_EQ(wide["from"], nullptr);
    EXPECT_EQ(wide["to"], nullptr);
    ExpectStatistics(wide["columns"][0], cells, {0, 1, 2}, labels);
    const Json all = StatsJson({"labels.txt"}, dir.Path());
    EXPECT_EQ(all["from"], "Mon");
    EXPECT_EQ(all["to"], "Fri");
}

TEST(CliStats, WhatHasNoValueIsNull) {
    TempDir dir;
    dir.Write("empty.txt", "T\nt;a;b\n");
    dir.Write("inf.txt", "X=number\nT\nt;a\n1;2\n2;inf\n3;-1\n");
    const std::string pump = ExamplePath("pump_test.txt").string();
    const Json none = StatsJson({pump, "--between", "100", "200"});
    EXPECT_EQ(none["from"], 100.0);
    const Json empty = StatsJson({"empty.txt"}, dir.Path());
    EXPECT_EQ(empty["from"], nullptr);
    EXPECT_EQ(empty["to"], nullptr);
    for (const Json* d : {&none, &empty}) {
        ASSERT_EQ((*d)["columns"].size(), d == &none ? 3u : 2u);
        for (const auto& column : (*d)["columns"])
            for (const auto& [key, value] : column.items())
                EXPECT_EQ(value, key == "name"   ? column["name"]
                                 : key == "rows" ? Json(0)
                                                 : Json())
                    << key;
    }
    const Json inf = StatsJson({"inf.txt"}, dir.Path())["columns"][0];
    EXPECT_EQ(inf["min"], -1.0);
    EXPECT_EQ(inf["minX"], 3.0);
    EXPECT_EQ(inf["maxX"], 2.0);
    for (const char* key : {"max", "mean", "rms", "std", "peakToPeak"})
        EXPECT_EQ(inf[key], nullptr) << key;
}

TEST(CliStats, ColumnsAreChosenByNumberOrNameInTheOrderGiven) {
    const std::string pump = ExamplePath("pump_test.txt").string();
    const Json all = StatsJson({pump});
    ASSERT_EQ(all["columns"].size(), 3u);
    const Json chosen = StatsJson({pump, "--column", "3", "--column", "Pressure", "--column", "3"});
    EXPECT_EQ(chosen["columns"], Json({all["columns"][2], all["columns"][0], all["columns"][2]}));
}

TEST(CliStats, FailuresAreReportedWithTheirExitCode) {
    const std::string pump = ExamplePath("pump_test.txt").string();
    // The X and spectrum columns are no data columns.
    for (const char* k :
         {"0", "4", "99999999999", "-1", "", "Time", "pressure", "Spec. for Pressure"}) {
        SCOPED_TRACE(k);
        const ProcessResult r = Stats({pump, "--column", k});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "error: --column " + std::string(k) +
                             ": the table has no such data column (they are 1 to 3, or their "
                             "names)\n");
    }
    EXPECT_EQ(Stats({pump, "--between", "1"}).exitCode, 2);
    const ProcessResult missing = Stats({"/nonexistent/table.txt"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    const ProcessResult full = RunProcess(
        "/bin/sh", {"-c", "exec \"$0\" stats \"$1\" > /dev/full", KELVARO_CLI_PATH, pump});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err.rfind("error: the statistics could not be written", 0), 0u) << full.err;
}
