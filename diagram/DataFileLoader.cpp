// LoadFile and SplitLine: reading a data file into the diagram's table.
#include "diagram/CDiagram.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/ZoomRequest.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

bool IsSeparator(char c) {
    return c == '\t' || c == ',' || c == ';';
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The colour of column i: the palette entry while there is one, else a colour
// computed from the index.
COLORREF ColumnColor(const CheckedArray<COLORREF>& palette, int i) {
    if (i < palette.GetSize())
        return palette[i];
    return RGB((50 * i) & 0xFF, (255 - 50 * i) & 0xFF, 255 / (i + 1));
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

// Sizes the columns for the rows a file of fileSize bytes probably holds,
// judged by its first data row, so that a large table is not copied again and
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

    xIsNumber = false;
    xIsDateTime = false;
    columnCount = 0;
    columns.RemoveAll();
    title.clear();
    values.RemoveAll();

    std::string_view line;
    while (reader.Next(line)) {
        if (line.empty())
            continue;

        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals != 0) {
            const std::string_view key = Trim(line.substr(0, equals));
            const std::string_view value = Trim(line.substr(equals + 1));
            bool known = true;
            if (key == "X") {
                minorTicks = 0;
                const std::string kind = ToLower(value);
                if (kind == "number")
                    xIsNumber = true;
                else if (kind == "datetime")
                    xIsDateTime = true;
                else
                    known = false;
            } else if (key == "Timer") {
                timerPeriod = AtoI(value);
            } else if (key == "Intervals") {
                intervals = AtoI(value);
            } else if (key == "Xmin") {
                fileXmin = AtoF(value);
            } else if (key == "Xdelta") {
                fileXdelta = AtoF(value);
            } else {
                known = false;
            }
            if (!known)
                ShowWarning("Not known command:\n\n" + std::string(line) + "\n\n" + shownPath);
            continue;
        }

        const int count = SplitLine(line);
        if (count == 1)
            continue;
        if (count == -1)
            return false;
        if (title.empty()) {
            title = line;
            continue;
        }
        if (columnCount == 0) {
            const int m = count - 1;
            if (m < 2) {
                ShowWarning("Error: File has an incorrect format\n\n" + shownPath);
                title.clear();
                return false;
            }
            columnCount = m + 1;
            for (int i = 0; i <= m; ++i) {
                ColumnRecord record;
                SetColumnName(record, cells[i]);
                record.color = ColumnColor(palette, i);
                columns.Add(record);
                values.Add(StringArray(i == m ? "spectrum column" : "column"));
            }
            continue;
        }

        // A data row.
        if (count < columnCount - 1)
            throw InvalidArgumentError("Line " + std::to_string(reader.LineNumber()) + " has " +
                                       std::to_string(count - 1) + " value(s); the header names " +
                                       std::to_string(columnCount - 1) +
                                       " columns, so a row needs at least " +
                                       std::to_string(columnCount - 2) + ".");
        if (values[0].IsEmpty())
            ReserveForRows(values, reader.FileSize(), line.size());
        if (g_bZoomOpen) {
            const double x = AtoF(cells[0]);
            if (x < g_zoomXFrom || x > g_zoomXTo)
                continue;
        }
        for (int j = 0; j <= columnCount - 2; ++j)
            values[j].Add(cells[j]);
        values[columnCount - 1].Add("0.0");
    }
    if (reader.LineTooLong()) {
        ShowWarning("Can not read a file \"" + shownPath + "\": line " +
                    std::to_string(reader.LineNumber()) + " is longer than " +
                    std::to_string(LineReader::kMaxLineBytes >> 20) + " MiB.");
        return false;
    }
    if (reader.Failed()) {
        ShowWarning("Can not read a file \"" + shownPath + "\".");
        return false;
    }

    filePath = shownPath;
    fileName = fullPath.filename().string();
    fileTitle = fileName.substr(0, fileName.find('.'));

    if (columnCount == 0)
        throw InvalidArgumentError("The file has no header line naming its columns.");
    ComputeSpectrum();
    return true;
}
