// stats: the statistics of the data columns as JSON, computed by the code the
// viewer's Measurements panel uses, over every row or over the rows between
// two X values.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/StandardOutput.h"

#include "analysis/RangeStatistics.h"
#include "diagram/EscapedText.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

struct StatsOptions {
    std::vector<double> between;      // empty, or A and B
    std::vector<std::string> columns; // each a number (1 is the first after X) or a name
};

// JSON has no word for inf and NaN: they are written as null.
Json Number(double value) {
    return std::isfinite(value) ? Json(value) : Json();
}

// Number and date-time X place their rows by value, labels by row index.
bool XByValue(const CDiagram& d) {
    return d.xIsNumber || d.xIsDateTime;
}

// An X value as the viewer's readout shows it: the number, or its date or
// time for a date-time X.
Json XOfValue(const CDiagram& d, double value) {
    if (!std::isfinite(value))
        return Json();
    return d.xIsDateTime ? Json(d.DateText(value)) : Json(value);
}

Json XOfRow(const CDiagram& d, std::size_t row) {
    const StringArray& x = d.values[0];
    const auto index = static_cast<long long>(row);
    return XByValue(d) ? XOfValue(d, x.NumberAt(index)) : Json(std::string(x[index]));
}

// An end of --between: its X value, or for labels the label of that row
// (null when the end is no row of the table).
Json XOfEnd(const CDiagram& d, double end) {
    if (XByValue(d))
        return XOfValue(d, end);
    if (!(end >= 0 && end < d.values[0].GetSize() && end == std::floor(end)))
        return Json();
    return XOfRow(d, static_cast<std::size_t>(end));
}

// The table column that K names among the data columns: its number (1 is the
// first after X) when K is all digits, else the first column of that exact
// name.
std::optional<int> DataColumn(const CDiagram& d, const std::string& k) {
    const int last = d.columnCount - 2;
    int number = 0;
    const char* end = k.data() + k.size();
    if (!k.empty() && k.find_first_not_of("0123456789") == std::string::npos) {
        const auto [at, error] = std::from_chars(k.data(), end, number);
        if (error == std::errc() && at == end && number >= 1 && number <= last)
            return number;
        return std::nullopt;
    }
    for (int c = 1; c <= last; ++c)
        if (ColumnName(d.columns[c]) == k)
            return c;
    return std::nullopt;
}

Json ColumnJson(const CDiagram& d, int column, const CurveStatistics& s) {
    const bool any = s.rows > 0;
    const auto row = [any](std::size_t r) { return any ? Json(r) : Json(); };
    const auto x = [any, &d](std::size_t r) { return any ? XOfRow(d, r) : Json(); };
    Json json;
    json["name"] = std::string(ColumnName(d.columns[column]));
    json["rows"] = s.rows;
    json["first"] = row(s.firstRow);
    json["last"] = row(s.lastRow);
    json["min"] = Number(s.min);
    json["minX"] = x(s.minRow);
    json["max"] = Number(s.max);
    json["maxX"] = x(s.maxRow);
    json["mean"] = Number(s.mean);
    json["rms"] = Number(s.rms);
    json["std"] = Number(s.deviation);
    json["peakToPeak"] = Number(s.PeakToPeak());
    return json;
}

// The statistics as JSON on stdout; the exit code (2 for a --column that
// names no data column).
int WriteStats(const CDiagram& d, const StatsOptions& o) {
    std::vector<int> columns;
    for (const std::string& k : o.columns) {
        const std::optional<int> column = DataColumn(d, k);
        if (!column) {
            std::cerr << "error: --column " << EscapeControlBytes(k)
                      << ": the table has no such data column (they are 1 to " << d.columnCount - 2
                      << ", or their names)" << std::endl;
            return 2;
        }
        columns.push_back(*column);
    }
    if (o.columns.empty())
        for (int c = 1; c <= d.columnCount - 2; ++c)
            columns.push_back(c);

    const StringArray& x = d.values[0];
    const std::size_t rows = static_cast<std::size_t>(x.GetSize());
    std::vector<const StringArray*> arrays;
    for (int c : columns)
        arrays.push_back(&d.values[c]);
    // Without --between every row is taken by its index, so an X out of
    // order loses none.
    const bool between = o.between.size() == 2;
    // The summaries the statistics come from, made on two threads as a load
    // for the viewer makes them.
    d.PrepareNumbers();
    const std::vector<CurveStatistics> statistics =
        between ? StatisticsBetween(x, XByValue(d), arrays, o.between[0], o.between[1])
                : StatisticsBetween(x, false, arrays, 0.0, static_cast<double>(rows) - 1.0);

    Json json;
    json["from"] = between ? XOfEnd(d, o.between[0]) : rows > 0 ? XOfRow(d, 0) : Json();
    json["to"] = between ? XOfEnd(d, o.between[1]) : rows > 0 ? XOfRow(d, rows - 1) : Json();
    json["columns"] = Json::array();
    for (std::size_t i = 0; i < columns.size(); ++i)
        json["columns"].push_back(ColumnJson(d, columns[i], statistics[i]));

    // As info writes its JSON; texts that are not UTF-8 get replacement
    // characters.
    const std::string text = json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    std::string error;
    if (WriteToStandardOutput(text, error))
        return 0;
    std::cerr << "error: the statistics could not be written to the standard output: " << error
              << std::endl;
    return 1;
}

} // namespace

void AddStatsCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<StatsOptions>();
    CLI::App* command = AddLoadingCommand(
        app, "stats",
        "Print the statistics of the data columns as JSON: rows, first and last row, min and "
        "max with their X, mean, RMS, standard deviation and peak to peak",
        exitCode, [o](CDiagram& diagram, TerminalHost&) { return WriteStats(diagram, *o); }, false);
    command
        ->add_option("--between", o->between,
                     "Only the rows whose X lies from A to B, both included, in either order; "
                     "row numbers (0 is the first) for an X of labels")
        ->expected(2)
        ->type_name("A B");
    command
        ->add_option("--column", o->columns,
                     "Only this data column, by number (1 is the first after X) or by name; may "
                     "be given more than once, the columns are reported in that order")
        ->allow_extra_args(false)
        ->type_name("K");
}
