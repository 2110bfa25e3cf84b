// LoadFile and SplitLine: reading a data file into the diagram's table.
#include "diagram/CDiagram.h"

#include "diagram/CommandLine.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/ZoomRequest.h"

#include <filesystem>

namespace {

bool IsSeparator(char c) {
    return c == '\t' || c == ',' || c == ';';
}

// A token is a longest run of characters other than tab, "," and ";".
// Returns the next token at or after pos and moves pos past it; an empty view
// when the line holds no further token.
std::string_view NextToken(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && IsSeparator(line[pos]))
        ++pos;
    const std::size_t begin = pos;
    while (pos < line.size() && !IsSeparator(line[pos]))
        ++pos;
    return line.substr(begin, pos - begin);
}

// The colour of column i: the palette entry while there is one, else a colour
// computed from the index.
COLORREF ColumnColor(const CheckedArray<COLORREF>& palette, int i) {
    if (i < palette.GetSize())
        return palette[i];
    return RGB((50 * i) & 0xFF, (255 - 50 * i) & 0xFF, 255 / (i + 1));
}

// Sizes the columns for the rows a file of fileSize bytes probably holds,
// judged by its first kept row, so that a large table is not copied again and
// again as it grows. Room reserved beyond what is used is never touched and
// costs no memory.
void ReserveForRows(CheckedArray<StringArray>& columns, long long fileSize, std::size_t rowBytes) {
    const std::size_t rows = static_cast<std::size_t>(fileSize) / (rowBytes + 1) * 5 / 4 + 16;
    const std::size_t bytesPerColumn =
        static_cast<std::size_t>(fileSize) / static_cast<std::size_t>(columns.GetSize()) * 2 + 64;
    for (StringArray& column : columns)
        column.Reserve(rows, bytesPerColumn);
}

// Empties the diagram's working texts when the load ends, however it ends: the
// cells view lines of a reader that is gone by then.
class WorkingTextsScope {
public:
    explicit WorkingTextsScope(CDiagram& diagram) : diagram(diagram) {}
    ~WorkingTextsScope() {
        diagram.cells.RemoveAll();
        diagram.scratch.clear();
    }
    WorkingTextsScope(const WorkingTextsScope&) = delete;
    WorkingTextsScope& operator=(const WorkingTextsScope&) = delete;

private:
    CDiagram& diagram;
};

// One load: the steps each line of the file goes through, in the order the
// lines come. A step that refuses the file has shown its message and returns
// false.
class TableLoad {
public:
    TableLoad(CDiagram& diagram, const LineReader& reader, const std::string& shownPath)
        : diagram(diagram), reader(reader), shownPath(shownPath) {}

    // Empties the table; settings and command values stay.
    void ResetTable() {
        diagram.xIsNumber = false;
        diagram.xIsDateTime = false;
        diagram.columnCount = 0;
        diagram.columns.RemoveAll();
        diagram.title.clear();
        diagram.values.RemoveAll();
    }

    // Applies a command; an unknown one is reported and loading goes on.
    void Command(std::string_view line, const CommandLine& command) {
        if (!ApplyCommand(diagram, command))
            diagram.ShowWarning("Not known command:\n\n" + std::string(line) + "\n\n" + shownPath);
    }

    // The title, the header or a data row, told apart by their order.
    bool TableLine(std::string_view line) {
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
        DataRow(count, line.size());
        return true;
    }

    // The end of the file: the read must have reached it.
    bool End() {
        if (reader.LineTooLong()) {
            diagram.ShowWarning("Can not read a file \"" + shownPath + "\": line " +
                                std::to_string(reader.LineNumber()) + " is longer than " +
                                std::to_string(LineReader::kMaxLineBytes >> 20) + " MiB.");
            return false;
        }
        if (reader.Failed()) {
            diagram.ShowWarning("Can not read a file \"" + shownPath + "\".");
            return false;
        }
        return true;
    }

private:
    // The header names the X column and the data columns; the spectrum column
    // follows with an empty name.
    bool Header(int tokens) {
        if (tokens < 2) {
            diagram.ShowWarning("Error: File has an incorrect format\n\n" + shownPath);
            diagram.title.clear();
            return false;
        }
        diagram.columnCount = tokens + 1;
        for (int i = 0; i <= tokens; ++i) {
            ColumnRecord record;
            SetColumnName(record, diagram.cells[i]);
            record.color = ColumnColor(diagram.palette, i);
            diagram.columns.Add(record);
            diagram.values.Add(StringArray(i == tokens ? "spectrum column" : "column"));
        }
        return true;
    }

    // One cell per data column and "0.0" for the spectrum column; a zoom
    // window keeps only the rows of its X range, ends included.
    void DataRow(int count, std::size_t lineBytes) {
        const int columnCount = diagram.columnCount;
        if (count < columnCount - 1)
            throw InvalidArgumentError("Line " + std::to_string(reader.LineNumber()) + " has " +
                                       std::to_string(count - 1) + " value(s); the header names " +
                                       std::to_string(columnCount - 1) +
                                       " columns, so a row needs at least " +
                                       std::to_string(columnCount - 2) + ".");
        if (g_bZoomOpen) {
            const double x = AtoF(diagram.cells[0]);
            if (x < g_zoomXFrom || x > g_zoomXTo)
                return;
        }
        if (diagram.values[0].IsEmpty())
            ReserveForRows(diagram.values, reader.FileSize(), lineBytes);
        for (int j = 0; j <= columnCount - 2; ++j)
            diagram.values[j].Add(diagram.cells[j]);
        diagram.values[columnCount - 1].Add("0.0");
    }

    CDiagram& diagram;
    const LineReader& reader;
    const std::string& shownPath;
};

} // namespace

int CDiagram::SplitLine(std::string_view line) {
    cells.RemoveAll();
    std::size_t pos = 0;
    std::string_view token = NextToken(line, pos);
    if (columnCount != 0 && xIsDateTime) {
        if (!ParseDateTime(token, dateScratch)) {
            ShowWarning("Error: Can not get DateTime value from:\n\n" + std::string(line));
            return -1;
        }
        scratch = FormatFixed(dateScratch.day, 6);
        token = scratch;
    }
    cells.Add(token);
    while (!token.empty()) {
        token = NextToken(line, pos);
        cells.Add(token);
    }
    return cells.GetSize();
}

bool CDiagram::LoadFile(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path fullPath =
        std::filesystem::absolute(path, ignored).lexically_normal();
    const std::string shownPath = fullPath.empty() ? path : fullPath.string();

    const WorkingTextsScope workingTexts(*this);
    LineReader reader(path);
    if (!reader.IsOpen()) {
        ShowWarning("Can not open a file \"" + shownPath + "\".");
        return false;
    }
    TableLoad load(*this, reader, shownPath);
    load.ResetTable();
    std::string_view line;
    while (reader.Next(line)) {
        if (line.empty())
            continue;
        if (const std::optional<CommandLine> command = ParseCommandLine(line))
            load.Command(line, *command);
        else if (!load.TableLine(line))
            return false;
    }
    if (!load.End())
        return false;

    filePath = shownPath;
    fileName = fullPath.filename().string();
    fileTitle = fileName.substr(0, fileName.find('.'));

    if (columnCount == 0)
        throw InvalidArgumentError("The file has no header line naming its columns.");
    ComputeSpectrum();
    return true;
}
