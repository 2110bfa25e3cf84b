// LoadFile and SplitLine: reading a data file into the diagram's table.
#include "diagram/CDiagram.h"

#include "diagram/FileBytes.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LineReader.h"
#include "diagram/Numbers.h"
#include "diagram/RowsAhead.h"
#include "diagram/TableLine.h"
#include "diagram/TableLoad.h"
#include "diagram/TwoThreads.h"
#include "diagram/ZoomRequest.h"

#include <filesystem>
#include <memory>
#include <new>
#include <utility>

namespace {

// The read position after a load that parsed the file up to end: appendable
// when its first end bytes give a fingerprint.
ReadPosition PositionAfterLoad(const LineReader& reader, long long end, long long lines,
                               bool appendable) {
    ReadPosition position;
    position.stamp = reader.Stamp();
    if (!appendable || !position.stamp.regular)
        return position;
    if (const std::optional<std::uint64_t> fingerprint = FingerprintOf(reader.Descriptor(), end)) {
        position.appendable = true;
        position.end = end;
        position.lines = lines;
        position.fingerprint = *fingerprint;
    }
    return position;
}

// A byte count in the messages about memory: megabytes, rounded.
std::string Megabytes(long long bytes) {
    return std::to_string((bytes + 500'000) / 1'000'000) + " MB";
}

// The thread reading the file's second half, and the command count when it
// started: a command between the header and the second half may change how
// its rows read (a date X), and then its rows are not used.
struct SecondHalf {
    SecondHalf(int descriptor, long long from, long long to, const RowsAhead::Shape& shape,
               long long commands)
        : rows(descriptor, from, to, shape), commandsAtStart(commands) {}
    RowsAhead rows;
    long long commandsAtStart;
};

// The thread reads through the load's own descriptor, so both halves are of
// the one file the load opened.
std::unique_ptr<SecondHalf> StartSecondHalf(const CDiagram& d, const LineReader& reader,
                                            const LoadLimits& limits, long long commands) {
    const FileStamp& stamp = reader.Stamp();
    if (!HasSecondCore() || !stamp.regular || stamp.size < limits.twoThreadsFrom ||
        stamp.size > limits.maxBytes)
        return nullptr;
    const std::optional<long long> from = RowsAhead::SplitPoint(reader.Descriptor(), stamp.size);
    if (!from || *from <= reader.BytesConsumed())
        return nullptr;
    const RowsAhead::Shape shape{d.columnCount,       d.xIsDateTime,  d.xRange,
                                 limits.maxLineBytes, limits.maxRows, limits.progress};
    return std::make_unique<SecondHalf>(reader.Descriptor(), *from, stamp.size, shape, commands);
}

// Appends the rows of the second half and moves the reader past them, when
// they may be used: the thread got through, no command came in between and
// the rows stay within the limit.
bool TakeSecondHalf(CDiagram& d, SecondHalf& half, long long commands, const LoadLimits& limits,
                    LineReader& reader) {
    RowsAhead::Result& result = half.rows.Wait();
    if (!result.complete || commands != half.commandsAtStart ||
        result.rows[0].GetSize() > limits.maxRows - d.values[0].GetSize() ||
        !reader.SkipTo(result.end, result.lines))
        return false;
    for (int c = 0; c < d.columnCount; ++c)
        d.values[c].AddAll(std::move(result.rows[c]));
    return true;
}

} // namespace

int CDiagram::SplitLine(std::string_view line) {
    const int count =
        SplitTableLine(line, columnCount != 0 && xIsDateTime, cells, scratch, dateScratch);
    if (count == -1)
        ShowWarning("Error: Can not get DateTime value from:\n\n" + std::string(line));
    return count;
}

bool CDiagram::LoadFile(const std::string& path, const LoadLimits& limits, LoadMode mode) {
    std::error_code ignored;
    const std::filesystem::path fullPath =
        std::filesystem::absolute(path, ignored).lexically_normal();
    const std::string shownPath = fullPath.empty() ? path : fullPath.string();

    const WorkingTextsScope workingTexts(*this);
    LineReader reader(path, limits);
    if (!reader.IsOpen()) {
        if (!reader.NotRegularKind().empty())
            ShowWarning("Can not read a file \"" + shownPath + "\": it is not a regular file (" +
                        reader.NotRegularKind() + ").");
        else if (view)
            view->ShowWarningWithReason("Can not open a file \"" + shownPath + "\".",
                                        reader.SystemReason());
        return false;
    }
    // A zoom window takes its range from the request of its open and keeps it
    // for every later read of its file.
    if (mode == LoadMode::Open && g_bZoomOpen)
        xRange = XRange{g_zoomXFrom, g_zoomXTo};

    const TableOutline defaults;
    const bool fromDefaults = timerPeriod == defaults.timerPeriod &&
                              intervals == defaults.intervals &&
                              minorTicks == defaults.minorTicks && fileXmin == defaults.fileXmin &&
                              fileXdelta == defaults.fileXdelta;
    const std::string nameOfFile = fullPath.filename().string();
    TableLoad load(*this, limits, shownPath, nameOfFile, values, 0);
    try {
        load.ResetTable();
        long long parsedEnd = 0; // past the last line that ended with a line feed
        long long parsedLines = 0;
        bool storedUnterminated = false;
        std::unique_ptr<SecondHalf> secondHalf;
        std::string_view line;
        while (reader.Next(line)) {
            const bool unterminated = reader.LastLineUnterminated();
            // A last line without a line feed may be a row still being
            // written: during a refresh, or when the file has grown since it
            // was opened, the next read takes it once it is complete.
            if (unterminated && (mode == LoadMode::Refresh || reader.Grew()))
                break;
            const bool hadHeader = columnCount != 0;
            if (!load.Line(line, reader.LineNumber()))
                return false;
            storedUnterminated = unterminated;
            if (!unterminated) {
                parsedEnd = reader.BytesConsumed();
                parsedLines = reader.LineNumber();
            }
            if (!hadHeader && columnCount != 0)
                secondHalf = StartSecondHalf(*this, reader, limits, load.Commands());
            if (secondHalf && parsedEnd == secondHalf->rows.From()) {
                if (TakeSecondHalf(*this, *secondHalf, load.Commands(), limits, reader)) {
                    parsedEnd = reader.BytesConsumed();
                    parsedLines = reader.LineNumber();
                }
                secondHalf.reset();
            }
        }
        if (!load.End(reader))
            return false;

        filePath = shownPath;
        fileName = nameOfFile;
        fileTitle = fileName.substr(0, fileName.find('.'));

        if (columnCount == 0)
            throw InvalidArgumentError("The file has no header line naming its columns.");
        lastRead = PositionAfterLoad(reader, parsedEnd, parsedLines, !storedUnterminated);
        commandsFromDefaults = fromDefaults;
        if (mode == LoadMode::Open)
            ComputeSpectrum(limits.progress);
        else if (mode == LoadMode::OpenSpectrumLater)
            SpectrumToCompute();
    } catch (const InvalidArgumentError&) {
        // A row cut short by a writer rewriting the file is no fault of the
        // file's: say what happened.
        if (!reader.Changed())
            throw;
        load.RefuseChangedFile();
        return false;
    } catch (const std::bad_alloc&) {
        // Whatever the table took goes back before the message.
        load.ResetTable();
        std::string amount = Megabytes(reader.BytesRead()) + " read";
        if (reader.Stamp().regular)
            amount += " of " + Megabytes(reader.Stamp().size);
        ShowWarning("Not enough memory to load \"" + shownPath + "\" (" + amount + ").");
        return false;
    }
    return true;
}
