#include "diagram/TableRefresh.h"

#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/TableLoad.h"

#include <exception>
#include <map>
#include <utility>

namespace {

// An append of more than this is read as a whole file, which streams it.
constexpr long long kMaxAppendBytes = 64LL << 20;

// Takes the messages of a read instead of the window, and shows no wait
// cursor for a refresh the user did not ask for.
class CollectingHost : public IDiagramHost {
public:
    explicit CollectingHost(IDiagramHost* owner) : owner(owner) {}
    Rect ClientRect() const override { return owner ? owner->ClientRect() : Rect{}; }
    void ShowWarning(const std::string& text) override { messages.push_back(text); }
    void ShowInformation(const std::string& text) override { messages.push_back(text); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    IDiagramHost* owner;
    std::vector<std::string> messages;
};

// The members a read sets besides the rows and columns: the table's title and
// shape, what its commands say and the date the last line parsed.
struct TableScalars {
    explicit TableScalars(const CDiagram& d)
        : columnCount(d.columnCount), title(d.title), xIsNumber(d.xIsNumber),
          xIsDateTime(d.xIsDateTime), timerPeriod(d.timerPeriod), intervals(d.intervals),
          minorTicks(d.minorTicks), fileXmin(d.fileXmin), fileXdelta(d.fileXdelta),
          spectrumSize(d.spectrumSize), lastRead(d.lastRead), dateScratch(d.dateScratch) {}
    void PutBack(CDiagram& d) const {
        d.columnCount = columnCount;
        d.title = title;
        d.xIsNumber = xIsNumber;
        d.xIsDateTime = xIsDateTime;
        d.timerPeriod = timerPeriod;
        d.intervals = intervals;
        d.minorTicks = minorTicks;
        d.fileXmin = fileXmin;
        d.fileXdelta = fileXdelta;
        d.spectrumSize = spectrumSize;
        d.lastRead = lastRead;
        d.dateScratch = dateScratch;
    }

    int columnCount;
    std::string title;
    bool xIsNumber;
    bool xIsDateTime;
    int timerPeriod;
    int intervals;
    int minorTicks;
    double fileXmin;
    double fileXdelta;
    int spectrumSize;
    ReadPosition lastRead;
    DateValue dateScratch; // a bad date of the read leaves its status there
};

// The whole table, moved out of the diagram while a new one is read into it.
struct SavedTable {
    explicit SavedTable(CDiagram& d)
        : scalars(d), columns(std::move(d.columns)), values(std::move(d.values)),
          filePath(d.filePath), fileTitle(d.fileTitle), fileName(d.fileName) {}
    void PutBack(CDiagram& d) {
        scalars.PutBack(d);
        d.columns = std::move(columns);
        d.values = std::move(values);
        d.filePath = filePath;
        d.fileTitle = fileTitle;
        d.fileName = fileName;
    }

    TableScalars scalars;
    CheckedArray<ColumnRecord> columns;
    CheckedArray<StringArray> values;
    std::string filePath;
    std::string fileTitle;
    std::string fileName;
};

// The size ComputeSpectrum gives a table of this many rows: the largest power
// of two not above it, 1 for fewer than two rows.
int SpectrumSizeFor(int rows) {
    int n = 1;
    while (n <= rows / 2)
        n *= 2;
    return n;
}

enum class Append { Done, NotPossible, Refused };

// Parses the lines that follow the last read's end. NotPossible when the file
// did not only grow since: it is another file, it is not longer, the bytes
// read before are not the same, or the growth is large.
Append AppendLines(CDiagram& d, const LoadLimits& limits) {
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

    const TableScalars before(d);
    CheckedArray<StringArray> rows{"appended rows"};
    for (int c = 0; c < d.columnCount; ++c)
        rows.Add(StringArray(c == d.columnCount - 1 ? "spectrum column" : "column"));
    std::size_t parsed = 0;
    long long lines = from.lines;
    try {
        const WorkingTextsScope workingTexts(d);
        TableLoad load(d, limits, d.filePath, rows, d.values[0].GetSize());
        for (std::size_t feed; (feed = bytes.find('\n', parsed)) != std::string::npos;
             parsed = feed + 1) {
            std::string_view line(bytes.data() + parsed, feed - parsed);
            if (line.size() > limits.maxLineBytes) {
                before.PutBack(d);
                load.RefuseLongLine(lines + 1);
                return Append::Refused;
            }
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (!load.Line(line, ++lines)) {
                before.PutBack(d);
                return Append::Refused;
            }
        }
        if (bytes.size() - parsed > limits.maxLineBytes) {
            before.PutBack(d);
            load.RefuseLongLine(lines + 1);
            return Append::Refused;
        }
    } catch (...) {
        before.PutBack(d);
        throw;
    }

    for (int c = 0; c < d.columnCount; ++c)
        d.values[c].AddAll(rows[c]);
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
    // as ComputeSpectrum leaves them. So it changes only when the row count
    // reaches the next power of two.
    if (SpectrumSizeFor(d.values[0].GetSize()) != d.spectrumSize)
        d.ComputeSpectrum();
    return Append::Done;
}

// Reads the file whole into the diagram with the old table set aside, and
// puts the old table back unless the read succeeds.
bool ReadWhole(CDiagram& d, const LoadLimits& limits) {
    const std::string path = d.filePath;
    SavedTable saved(d);
    try {
        if (!d.LoadFile(path, limits, CDiagram::LoadMode::Refresh)) {
            saved.PutBack(d);
            return false;
        }
        // Hidden curves stay hidden while their column is there by name.
        std::map<std::string, bool, std::less<>> visible;
        for (const ColumnRecord& column : saved.columns)
            visible.emplace(ColumnName(column), column.visible != 0);
        for (ColumnRecord& column : d.columns)
            if (const auto found = visible.find(ColumnName(column)); found != visible.end())
                column.visible = found->second ? 1 : 0;
        if (d.spectrumColumn + 1 > d.columnCount - 2)
            d.spectrumColumn = 0;
        d.ComputeSpectrum();
    } catch (...) {
        saved.PutBack(d);
        throw;
    }
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

} // namespace

RefreshOutcome RefreshTable(CDiagram& diagram, const LoadLimits& limits) {
    CollectingHost host(diagram.view);
    diagram.view = &host;
    RefreshOutcome outcome;
    try {
        switch (AppendLines(diagram, limits)) {
        case Append::Done:
            outcome.kind = RefreshOutcome::Kind::Appended;
            break;
        case Append::Refused:
            break;
        case Append::NotPossible:
            if (ReadWhole(diagram, limits))
                outcome.kind = RefreshOutcome::Kind::ReadWhole;
            break;
        }
    } catch (const std::exception& error) {
        outcome.kind = RefreshOutcome::Kind::Failed;
        outcome.failure = OneLine(error.what());
    }
    diagram.view = host.owner;
    if (outcome.kind == RefreshOutcome::Kind::Failed) {
        if (outcome.failure.empty())
            outcome.failure =
                host.messages.empty() ? "the read failed" : OneLine(host.messages.back());
    } else {
        outcome.warnings = std::move(host.messages);
    }
    return outcome;
}
