// LoadFile and SplitLine: reading a data file into the diagram's table.
#include "diagram/CDiagram.h"

#include "diagram/CommandLine.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/ZoomRequest.h"

#include <algorithm>
#include <filesystem>
#include <limits>

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

// A byte count as the messages give it: whole GiB or MiB where it is one.
std::string SizeText(long long bytes) {
    if (bytes > 0 && bytes % (1LL << 30) == 0)
        return std::to_string(bytes >> 30) + " GiB";
    if (bytes > 0 && bytes % (1LL << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Room in the columns for the rows still to come, judged by what the load
// has read: the rows kept per byte so far, extrapolated to the file's size
// but never past kGrowth times the bytes read. A file that lies about its
// size (a sparse one) or has none (a pipe) so costs no more memory than a
// small factor of its data, and a large file is copied only a few times as
// its table grows.
class RowReservation {
public:
    void BeforeRow(CheckedArray<StringArray>& columns, const LineReader& reader) {
        const int rows = columns[0].GetSize();
        if (rows < nextAt)
            return;
        double budget = kGrowth * static_cast<double>(reader.BytesRead());
        if (reader.FileSize() > 0 && reader.FileSize() < budget)
            budget = static_cast<double>(reader.FileSize());
        const double consumed = static_cast<double>(std::max(reader.BytesConsumed(), 1LL));
        const double ratio = std::max(budget / consumed, kMinGrowth);
        const double wanted = rows * ratio + 16;
        nextAt = wanted < kMaxRows ? static_cast<int>(wanted) : kMaxRows;
        for (StringArray& column : columns)
            column.Reserve(static_cast<std::size_t>(nextAt),
                           static_cast<std::size_t>(column.TextBytes() * ratio) + 64);
    }

private:
    static constexpr double kGrowth = 4.0;
    static constexpr double kMinGrowth = 1.5;
    static constexpr int kMaxRows = std::numeric_limits<int>::max();
    int nextAt = 0; // the row count at which to look again
};

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
    TableLoad(CDiagram& diagram, const LineReader& reader, const LoadLimits& limits,
              const std::string& shownPath)
        : diagram(diagram), reader(reader), limits(limits), shownPath(shownPath) {}

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
        return DataRow(count);
    }

    // The end of the file: the read must have reached it and seen one
    // version of the file, not the start of one and the end of another.
    bool End() {
        if (reader.LineTooLong())
            return Refuse("line " + std::to_string(reader.LineNumber()) + " is longer than " +
                          SizeText(static_cast<long long>(limits.maxLineBytes)));
        if (reader.TooLarge())
            return Refuse("it is longer than " + SizeText(limits.maxBytes));
        if (reader.Failed()) {
            diagram.ShowWarning("Can not read a file \"" + shownPath + "\".");
            return false;
        }
        if (!reader.SawOneVersion())
            return Refuse("it changed while it was read");
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

    bool Refuse(const std::string& why) {
        diagram.ShowWarning("Can not read a file \"" + shownPath + "\": " + why + ".");
        return false;
    }

    // One cell per data column and "0.0" for the spectrum column; a zoom
    // window keeps only the rows of its X range, ends included. The columns
    // grow with the rows kept, never ahead of them: a file's size says
    // nothing of its rows (a sparse file, one that is still being written).
    bool DataRow(int count) {
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
                return true;
        }
        if (diagram.values[0].GetSize() >= limits.maxRows)
            return Refuse("it has more than " + std::to_string(limits.maxRows) + " rows");
        reservation.BeforeRow(diagram.values, reader);
        for (int j = 0; j <= columnCount - 2; ++j)
            diagram.values[j].Add(diagram.cells[j]);
        diagram.values[columnCount - 1].Add("0.0");
        return true;
    }

    CDiagram& diagram;
    const LineReader& reader;
    const LoadLimits& limits;
    const std::string& shownPath;
    RowReservation reservation;
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

bool CDiagram::LoadFile(const std::string& path, const LoadLimits& limits) {
    std::error_code ignored;
    const std::filesystem::path fullPath =
        std::filesystem::absolute(path, ignored).lexically_normal();
    const std::string shownPath = fullPath.empty() ? path : fullPath.string();

    const WorkingTextsScope workingTexts(*this);
    LineReader reader(path, limits);
    if (!reader.IsOpen()) {
        ShowWarning("Can not open a file \"" + shownPath + "\".");
        return false;
    }
    TableLoad load(*this, reader, limits, shownPath);
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
