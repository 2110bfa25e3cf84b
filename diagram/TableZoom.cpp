#include "diagram/TableZoom.h"

#include "diagram/FileBytes.h"
#include "diagram/LoadProgress.h"
#include "diagram/TableLoad.h"

namespace {

constexpr int kRowsBetweenChecks = 1 << 16;

} // namespace

bool ZoomableFromMemory(const TableOutline& table, const XRange& range) {
    const ReadPosition& read = table.lastRead;
    if (table.columnCount == 0 || !table.commandsFromDefaults || !read.appendable ||
        !read.stamp.regular || read.end != read.stamp.size)
        return false;
    // A zoom window's table holds only its own range's rows.
    if (table.xRange && !(range.from >= table.xRange->from && range.to <= table.xRange->to))
        return false;
    const FileDescriptor file(table.filePath);
    if (file.Get() < 0)
        return false;
    const std::optional<FileStamp> now = StampOf(file.Get());
    return now && *now == read.stamp && FingerprintOf(file.Get(), read.end) == read.fingerprint;
}

LoadedTable ZoomTableOf(const LoadedTable& source, std::span<const double> xNumbers,
                        const XRange& range, const CheckedArray<COLORREF>& palette,
                        LoadProgress* progress) {
    LoadedTable zoom;
    static_cast<TableOutline&>(zoom) = source;
    zoom.xRange = range;
    zoom.columns.RemoveAll();
    const int last = source.columnCount - 1;
    for (int c = 0; c <= last; ++c) {
        zoom.columns.Add(NewColumnRecord(
            c == last ? std::string_view() : ColumnName(source.columns[c]), palette, c));
        zoom.values.Add(StringArray(c == last ? "spectrum column" : "column"));
    }
    const int rows = source.values[0].GetSize();
    for (int r = 0; r < rows; ++r) {
        if (progress && r % kRowsBetweenChecks == 0 && r > 0) {
            // The share of the file the rows gone through were read from.
            progress->AddBytes(source.lastRead.end * kRowsBetweenChecks / rows);
            progress->ThrowIfCancelled();
        }
        const double x = xNumbers[static_cast<std::size_t>(r)];
        if (!(x >= range.from && x <= range.to))
            continue;
        for (int c = 0; c < last; ++c)
            zoom.values[c].Add(source.values[c][r]);
    }
    zoom.values[last].AddRepeated("0.0", static_cast<std::size_t>(zoom.values[0].GetSize()));
    return zoom;
}
