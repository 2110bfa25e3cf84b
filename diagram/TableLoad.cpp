#include "diagram/TableLoad.h"

#include "diagram/CommandLine.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/PlainTable.h"
#include "diagram/TableLine.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// The colour of column i: the palette entry while there is one, else a colour
// computed from the index.
COLORREF ColumnColor(const CheckedArray<COLORREF>& palette, int i) {
    if (i < palette.GetSize())
        return palette[i];
    return RGB((50 * i) & 0xFF, (255 - 50 * i) & 0xFF, 255 / (i + 1));
}

// A byte count as the messages give it: whole GiB or MiB where it is one.
std::string SizeText(long long bytes) {
    if (bytes > 0 && bytes % (1LL << 30) == 0)
        return std::to_string(bytes >> 30) + " GiB";
    if (bytes > 0 && bytes % (1LL << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

ColumnRecord NewColumnRecord(std::string_view name, const CheckedArray<COLORREF>& palette, int i) {
    ColumnRecord record;
    SetColumnName(record, name);
    record.color = ColumnColor(palette, i);
    return record;
}

TableLoad::TableLoad(CDiagram& diagram, const LoadLimits& limits, const std::string& shownPath,
                     std::string_view fileName, CheckedArray<StringArray>& rows, int rowsBefore)
    : diagram(diagram), limits(limits), shownPath(shownPath), rows(rows), rowsBefore(rowsBefore),
      fileName(fileName) {}

void TableLoad::ResetTable() {
    diagram.xIsNumber = false;
    diagram.xIsDateTime = false;
    diagram.columnCount = 0;
    diagram.columns.RemoveAll();
    diagram.title.clear();
    diagram.values.RemoveAll();
}

bool TableLoad::Line(std::string_view line, long long lineNumber) {
    if (line.empty())
        return true;
    if (const std::optional<CommandLine> command = ParseCommandLine(line)) {
        Command(line, *command);
        return true;
    }
    return TableLine(line, lineNumber);
}

// An unknown command is reported and loading goes on.
void TableLoad::Command(std::string_view line, const CommandLine& command) {
    ++commands;
    if (command.key == "X")
        xCommand = true;
    if (!ApplyCommand(diagram, command))
        diagram.ShowWarning("Not known command:\n\n" + std::string(line) + "\n\n" + shownPath);
}

// The title, the header or a data row, told apart by their order; or, in a
// plain table, the header and the data rows.
bool TableLoad::TableLine(std::string_view line, long long lineNumber) {
    const int count = diagram.SplitLine(line);
    if (count == 1) // separators only
        return true;
    if (count == -1) // SplitLine has reported the bad date
        return false;
    if (diagram.columnCount != 0)
        return DataRow(count, lineNumber);
    if (diagram.title.empty()) {
        diagram.title = line;
        titleTokens = commands == 0 ? count - 1 : 0;
        return true;
    }
    if (IsFirstDataRow(titleTokens, diagram.cells, count))
        return PlainHeader(line, lineNumber);
    return Header(count - 1);
}

bool TableLoad::End(const LineReader& reader) {
    if (reader.LineTooLong())
        return RefuseLongLine(reader.LineNumber());
    if (reader.TooLarge())
        return Refuse("it is longer than " + SizeText(limits.maxBytes));
    if (reader.Failed()) {
        if (diagram.view)
            diagram.view->ShowWarningWithReason("Can not read a file \"" + shownPath + "\".",
                                                reader.SystemReason());
        return false;
    }
    if (!reader.SawOneVersion())
        return RefuseChangedFile();
    return true;
}

bool TableLoad::RefuseChangedFile() {
    return Refuse("it changed while it was read");
}

bool TableLoad::RefuseLongLine(long long lineNumber) {
    return Refuse("line " + std::to_string(lineNumber) + " is longer than " +
                  SizeText(static_cast<long long>(limits.maxLineBytes)));
}

// The header names the X column and the data columns; the spectrum column
// follows with an empty name.
bool TableLoad::Header(int tokens) {
    if (tokens < 2) {
        diagram.ShowWarning("Error: File has an incorrect format\n\n" + shownPath);
        diagram.title.clear();
        return false;
    }
    diagram.columnCount = tokens + 1;
    for (int i = 0; i <= tokens; ++i) {
        diagram.columns.Add(NewColumnRecord(diagram.cells[i], diagram.palette, i));
        diagram.values.Add(StringArray(i == tokens ? "spectrum column" : "column"));
    }
    return true;
}

// A plain table: the line taken as the title is the header, the file's name
// becomes the title, and line is the first data row. Without an "X" command
// before it, the row's X token sets the X kind as "X=number" or "X=datetime"
// would, before the row is split again and stored as any data row is: a
// date-time X as its day number, outside a zoom window's range not at all.
bool TableLoad::PlainHeader(std::string_view line, long long lineNumber) {
    if (!xCommand) {
        switch (PlainXOf(diagram.cells[0])) {
        case PlainX::Number:
            ApplyCommand(diagram, CommandLine{"X", "number"});
            break;
        case PlainX::DateTime:
            ApplyCommand(diagram, CommandLine{"X", "datetime"});
            break;
        case PlainX::Labels:
            break;
        }
    }
    // Split while columnCount is 0, the header's first token stays text.
    const std::string header = std::exchange(diagram.title, fileName);
    if (!Header(diagram.SplitLine(header) - 1))
        return false;
    const int count = diagram.SplitLine(line);
    if (count == -1) // a date-time X from a command, and no date here
        return false;
    return DataRow(count, lineNumber);
}

bool TableLoad::Refuse(const std::string& why) {
    diagram.ShowWarning("Can not read a file \"" + shownPath + "\": " + why + ".");
    return false;
}

// One cell per data column and "0.0" for the spectrum column; a zoom window
// keeps only the rows of its X range, ends included. The columns grow with
// the rows kept, never ahead of them: a file's size says nothing of its rows
// (a sparse file, one that is still being written), and growing costs no copy.
bool TableLoad::DataRow(int count, long long lineNumber) {
    const int columnCount = diagram.columnCount;
    if (count < columnCount - 1)
        throw InvalidArgumentError(
            "Line " + std::to_string(lineNumber) + " has " + std::to_string(count - 1) +
            " value(s); the header names " + std::to_string(columnCount - 1) +
            " columns, so a row needs at least " + std::to_string(columnCount - 2) + ".");
    if (!RowInRange(diagram.xRange, diagram.cells[0]))
        return true;
    if (rows[0].GetSize() >= limits.maxRows - rowsBefore)
        return Refuse("it has more than " + std::to_string(limits.maxRows) + " rows");
    StoreDataRow(rows, diagram.cells);
    return true;
}
