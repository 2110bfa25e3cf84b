#include "diagram/TableRefresh.h"

#include "analysis/SpectrumColumn.h"
#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/LoadProgress.h"
#include "diagram/TableLoad.h"

#include <algorithm>
#include <exception>
#include <map>
#include <utility>

namespace {

// An append of more than this is read as a whole file, which streams it.
constexpr long long kMaxAppendBytes = 64LL << 20;

// Takes the messages of a read instead of a window, and shows no wait
// cursor for a refresh the user did not ask for.
class CollectingHost : public IDiagramHost {
public:
    Rect ClientRect() const override { return Rect{}; }
    void ShowWarning(const std::string& text) override { messages.push_back(text); }
    void ShowInformation(const std::string& text) override { messages.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    std::vector<std::string> messages;
};

// The diagram a read works in: the source's outline and settings, no cells.
class ReadingDiagram : public CDiagram {
public:
    ReadingDiagram(const RefreshSource& source, CollectingHost& host) : CDiagram(&host) {
        static_cast<TableOutline&>(*this) = source.outline;
        palette = source.palette;
        spectrumColumn = source.spectrumColumn;
    }
};

enum class Append { Done, NotPossible, Refused };

// Parses the lines that follow the last read's end into read.appended.
// NotPossible when the file did not only grow since: it is another file, it
// is not longer, the bytes read before are not the same, or the growth is
// large.
Append AppendLines(ReadingDiagram& d, const RefreshSource& source, const LoadLimits& limits,
                   RefreshRead& read) {
    const ReadPosition& from = d.lastRead;
    if (!from.appendable)
        return Append::NotPossible;
    const FileDescriptor file(d.filePath);
    if (file.Get() < 0)
        return Append::NotPossible;
    const std::optional<FileStamp> now = StampOf(file.Get());
    if (!now || !now->regular || now->device != from.stamp.device ||
        now->inode != from.stamp.inode || now->size <= from.stamp.size ||
        now->size - from.end > kMaxAppendBytes || now->size > limits.maxBytes)
        return Append::NotPossible;
    if (FingerprintOf(file.Get(), from.end) != from.fingerprint)
        return Append::NotPossible;
    // The file up to the size it has now; what a writer appends meanwhile is
    // left for the next refresh, a rewrite meanwhile makes it read whole.
    const std::optional<std::uint64_t> grown = FingerprintOf(file.Get(), now->size);
    std::string bytes;
    if (!grown ||
        !ReadBytesAt(file.Get(), from.end, static_cast<std::size_t>(now->size - from.end), bytes) ||
        !StillBeginsAsBefore(file.Get(), *now, *grown))
        return Append::NotPossible;
    if (limits.progress)
        limits.progress->AddBytes(static_cast<long long>(bytes.size()));

    CheckedArray<StringArray>& rows = read.appended;
    for (int c = 0; c < d.columnCount; ++c)
        rows.Add(StringArray(c == d.columnCount - 1 ? "spectrum column" : "column"));
    std::size_t parsed = 0;
    long long lines = from.lines;
    {
        const WorkingTextsScope workingTexts(d);
        TableLoad load(d, limits, d.filePath, d.fileName, rows, source.rows);
        for (std::size_t feed; (feed = bytes.find('\n', parsed)) != std::string::npos;
             parsed = feed + 1) {
            std::string_view line(bytes.data() + parsed, feed - parsed);
            if (line.size() > limits.maxLineBytes) {
                load.RefuseLongLine(lines + 1);
                return Append::Refused;
            }
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!load.Line(line, ++lines))
                return Append::Refused;
        }
        if (bytes.size() - parsed > limits.maxLineBytes) {
            load.RefuseLongLine(lines + 1);
            return Append::Refused;
        }
    }

    const long long end = from.end + static_cast<long long>(parsed);
    ReadPosition position;
    position.stamp = *now;
    if (const std::optional<std::uint64_t> fingerprint = FingerprintOf(file.Get(), end)) {
        position.appendable = true;
        position.end = end;
        position.lines = lines;
        position.fingerprint = *fingerprint;
    }
    d.lastRead = position;
    // The spectrum reads only the first spectrumSize rows of its column, which
    // an append leaves as they were; the new rows' spectrum cells are "0.0"
    // as a whole read leaves them. So it changes only when the row count
    // reaches the next power of two.
    const int rowsAfter = source.rows + rows[0].GetSize();
    if (SpectrumSizeFor(rowsAfter) != d.spectrumSize) {
        d.spectrumSize = SpectrumSizeFor(rowsAfter);
        const int column = d.spectrumColumn + 1;
        std::vector<double> numbers(source.spectrumNumbers.begin(), source.spectrumNumbers.end());
        const std::span<const double> added = rows[column].Numbers();
        numbers.insert(numbers.end(), added.begin(), added.end());
        read.spectrum = SpectrumColumnOf(numbers, rowsAfter, limits.progress);
    }
    read.outline = d;
    return Append::Done;
}

// Reads the file whole into a table of its own.
bool ReadWhole(ReadingDiagram& d, const LoadLimits& limits, RefreshRead& read) {
    if (!d.LoadFile(d.filePath, limits, CDiagram::LoadMode::Refresh))
        return false;
    if (d.spectrumColumn + 1 > d.columnCount - 2)
        d.spectrumColumn = 0;
    d.ComputeSpectrum(limits.progress);
    read.spectrumColumn = d.spectrumColumn;
    read.table = d.ReleaseTable();
    read.table.PrepareNumbers();
    return true;
}

// A message as one line of the status bar.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

// Hidden curves stay hidden while their column is there by name.
void KeepVisibility(const CheckedArray<ColumnRecord>& shown, CheckedArray<ColumnRecord>& read) {
    std::map<std::string, bool, std::less<>> visible;
    for (const ColumnRecord& column : shown)
        visible.emplace(ColumnName(column), column.visible != 0);
    for (ColumnRecord& column : read)
        if (const auto found = visible.find(ColumnName(column)); found != visible.end())
            column.visible = found->second ? 1 : 0;
}

} // namespace

RefreshSource RefreshSourceOf(const LoadedTable& table, int spectrumColumn,
                              const CheckedArray<COLORREF>& palette) {
    RefreshSource source;
    source.outline = table;
    source.rows = table.columnCount > 0 ? table.values[0].GetSize() : 0;
    source.spectrumColumn = spectrumColumn;
    source.palette = palette;
    const int column = spectrumColumn + 1;
    if (column >= 1 && column < table.values.GetSize())
        source.spectrumNumbers = table.values[column].Numbers();
    return source;
}

RefreshSource RefreshSourceOf(const CDiagram& diagram) {
    return RefreshSourceOf(diagram, diagram.spectrumColumn, diagram.palette);
}

RefreshRead ReadRefresh(const RefreshSource& source, const LoadLimits& limits) {
    CollectingHost host;
    ReadingDiagram diagram(source, host);
    RefreshRead read;
    read.spectrumColumnAsked = read.spectrumColumn = source.spectrumColumn;
    RefreshOutcome& outcome = read.outcome;
    try {
        switch (AppendLines(diagram, source, limits, read)) {
        case Append::Done:
            outcome.kind = RefreshOutcome::Kind::Appended;
            break;
        case Append::Refused:
            break;
        case Append::NotPossible:
            read.appended.RemoveAll();
            if (ReadWhole(diagram, limits, read))
                outcome.kind = RefreshOutcome::Kind::ReadWhole;
            break;
        }
    } catch (const LoadCancelled&) {
        throw;
    } catch (const std::exception& error) {
        outcome.kind = RefreshOutcome::Kind::Failed;
        outcome.failure = OneLine(error.what());
    }
    if (outcome.kind == RefreshOutcome::Kind::Failed) {
        if (outcome.failure.empty())
            outcome.failure =
                host.messages.empty() ? "the read failed" : OneLine(host.messages.back());
    } else {
        outcome.warnings = std::move(host.messages);
    }
    return read;
}

RefreshOutcome ApplyRefresh(CDiagram& diagram, RefreshRead&& read) {
    const int spectrumColumnNow = diagram.spectrumColumn;
    switch (read.outcome.kind) {
    case RefreshOutcome::Kind::Failed:
        return std::move(read.outcome);
    case RefreshOutcome::Kind::Appended: {
        // Lines appended change no column: the shown ones keep their state.
        CheckedArray<ColumnRecord> columns = std::move(diagram.columns);
        static_cast<TableOutline&>(diagram) = std::move(read.outline);
        diagram.columns = std::move(columns);
        const int last = diagram.columnCount - 1;
        for (int c = 0; c < last; ++c)
            diagram.values[c].AddAll(std::move(read.appended[c]));
        if (read.spectrum) {
            diagram.values[last] = std::move(*read.spectrum);
            SetColumnName(diagram.columns[last],
                          "Spec. for " +
                              std::string(ColumnName(diagram.columns[read.spectrumColumn + 1])));
        } else
            diagram.values[last].AddAll(std::move(read.appended[last]));
        break;
    }
    case RefreshOutcome::Kind::ReadWhole:
        KeepVisibility(diagram.columns, read.table.columns);
        diagram.TakeTable(std::move(read.table));
        diagram.spectrumColumn = read.spectrumColumn;
        break;
    }
    // The window's spectrum column was changed while the file was read: the
    // spectrum is of that column, while the table has it.
    if (spectrumColumnNow != read.spectrumColumnAsked) {
        diagram.spectrumColumn =
            spectrumColumnNow + 1 > diagram.columnCount - 2 ? 0 : spectrumColumnNow;
        diagram.ComputeSpectrum();
    }
    return std::move(read.outcome);
}

RefreshOutcome RefreshTable(CDiagram& diagram, const LoadLimits& limits) {
    return ApplyRefresh(diagram, ReadRefresh(RefreshSourceOf(diagram), limits));
}
