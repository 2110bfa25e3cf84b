// LoadFile and SplitLine: reading a data file into the diagram's table.
#include "diagram/CDiagram.h"

#include "diagram/FileBytes.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/TableLoad.h"
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

// Where the file's last line ends when no line feed ends it: the file's size;
// -1 when the file ends with a line feed, is empty or is no regular file.
long long UnterminatedEnd(const std::string& path, const FileStamp& stamp) {
    if (!stamp.regular || stamp.size == 0)
        return -1;
    const FileDescriptor file(path);
    std::string last;
    if (file.Get() < 0 || !ReadBytesAt(file.Get(), stamp.size - 1, 1, last))
        return -1; // the read of the file itself tells what is wrong
    return last == "\n" ? -1 : stamp.size;
}

// The read position after a load that parsed the file up to end: appendable
// when the path still names the file the load read and its first end bytes
// give a fingerprint.
ReadPosition PositionAfterLoad(const std::string& path, const FileStamp& stamp, long long end,
                               long long lines, bool appendable) {
    ReadPosition position;
    position.stamp = stamp;
    if (!appendable || !stamp.regular)
        return position;
    const FileDescriptor file(path);
    if (file.Get() < 0 || StampOf(file.Get()) != stamp)
        return position;
    if (const std::optional<std::uint64_t> fingerprint = FingerprintOf(file.Get(), end)) {
        position.appendable = true;
        position.end = end;
        position.lines = lines;
        position.fingerprint = *fingerprint;
    }
    return position;
}

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

bool CDiagram::LoadFile(const std::string& path, const LoadLimits& limits, LoadMode mode) {
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
    // A zoom window takes its range from the request of its open and keeps it
    // for every later read of its file.
    if (mode == LoadMode::Open && g_bZoomOpen)
        xRange = XRange{g_zoomXFrom, g_zoomXTo};
    const long long unterminatedEnd = UnterminatedEnd(path, reader.Stamp());

    TableLoad load(*this, limits, shownPath, values, 0, &reader);
    load.ResetTable();
    long long parsedEnd = 0; // past the last line that ended with a line feed
    long long parsedLines = 0;
    bool storedUnterminated = false;
    std::string_view line;
    while (reader.Next(line)) {
        const bool unterminated = reader.BytesConsumed() == unterminatedEnd;
        // During a refresh a last line without a line feed is a row still being
        // written: the next read takes it once it is complete.
        if (unterminated && mode == LoadMode::Refresh)
            break;
        if (!load.Line(line, reader.LineNumber()))
            return false;
        storedUnterminated = unterminated;
        if (!unterminated) {
            parsedEnd = reader.BytesConsumed();
            parsedLines = reader.LineNumber();
        }
    }
    if (!load.End(reader))
        return false;

    filePath = shownPath;
    fileName = fullPath.filename().string();
    fileTitle = fileName.substr(0, fileName.find('.'));

    if (columnCount == 0)
        throw InvalidArgumentError("The file has no header line naming its columns.");
    lastRead = PositionAfterLoad(path, reader.Stamp(), parsedEnd, parsedLines, !storedUnterminated);
    if (mode == LoadMode::Open)
        ComputeSpectrum();
    return true;
}
