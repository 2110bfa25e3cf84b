#include "diagram/TableLoad.h"

#include "diagram/CommandLine.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/TableLine.h"

#include <algorithm>
#include <limits>

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
                     CheckedArray<StringArray>& rows, int rowsBefore)
    : diagram(diagram), limits(limits), shownPath(shownPath), rows(rows), rowsBefore(rowsBefore) {}

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
    if (!ApplyCommand(diagram, command))
        diagram.ShowWarning("Not known command:\n\n" + std::string(line) + "\n\n" + shownPath);
}

// The title, the header or a data row, told apart by their order.
bool TableLoad::TableLine(std::string_view line, long long lineNumber) {
    const int count = diagram.SplitLine(line);
    if (count == 1) // separators only
        return true;
    if (count == -1) // SplitLine has reported the bad date
        return false;
    if (diagram.title.empty()) {
        diagram.title = line;
        return true;
    }
    if (diagram.columnCount == 0)
        return Header(count - 1);
    return DataRow(count, lineNumber);
}

bool TableLoad::End(const LineReader& reader) {
    if (reader.LineTooLong())
        return RefuseLongLine(reader.LineNumber());
    if (reader.TooLarge())
        return Refuse("it is longer than " + SizeText(limits.maxBytes));
    if (reader.Failed()) {
        diagram.ShowWarning("Can not read a file \"" + shownPath + "\".");
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
