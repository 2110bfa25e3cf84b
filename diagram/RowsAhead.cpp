#include "diagram/RowsAhead.h"

#include "diagram/FileBytes.h"
#include "diagram/LoadProgress.h"
#include "diagram/TableLine.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {

// Blocks of the file as they are read: large enough that the reads cost
// little, small enough to stay in the cache.
constexpr std::size_t kBlockBytes = std::size_t{1} << 18;
// The line feed after the middle is looked for a piece at a time: it is
// nearly always within the first.
constexpr std::size_t kPieceBytes = std::size_t{1} << 12;
// Where the first line feed after the middle lies further than this, the
// load reads on alone.
constexpr long long kSearchBytes = 1 << 20;

} // namespace

std::optional<long long> RowsAhead::SplitPoint(int descriptor, long long size) {
    if (size < 2)
        return std::nullopt;
    // The first line start after the middle: the byte after the first line
    // feed from the one just before the middle on.
    const long long middle = size / 2;
    const long long end = std::min(size, middle - 1 + kSearchBytes);
    std::string bytes;
    for (long long at = middle - 1; at < end; at += static_cast<long long>(bytes.size())) {
        const auto wanted = static_cast<std::size_t>(std::min<long long>(kPieceBytes, end - at));
        if (!ReadBytesAt(descriptor, at, wanted, bytes))
            return std::nullopt;
        const std::size_t feed = bytes.find('\n');
        if (feed == std::string::npos)
            continue;
        const long long start = at + static_cast<long long>(feed) + 1;
        if (start >= size)
            return std::nullopt;
        return start;
    }
    return std::nullopt;
}

namespace {

CheckedArray<StringArray> EmptyRows(int columnCount) {
    CheckedArray<StringArray> rows{"rows read ahead"};
    for (int c = 0; c < columnCount; ++c)
        rows.Add(StringArray(c == columnCount - 1 ? "spectrum column" : "column"));
    return rows;
}

} // namespace

RowsAhead::RowsAhead(int descriptor, long long from, long long to, const Shape& shape)
    : from(from), to(to), shape(shape), result{EmptyRows(shape.columnCount), from},
      task(WorkerPool::Shared().Submit([this, descriptor] { Read(descriptor); })) {}

RowsAhead::~RowsAhead() {
    stop = true;
    task.Drop();
}

RowsAhead::Result& RowsAhead::Wait() {
    task.Join();
    return result;
}

// Whether the line is one this thread may take, and takes it.
bool RowsAhead::Take(std::string_view line, CheckedArray<std::string_view>& cells,
                     std::string& scratch, DateValue& date) {
    if (line.size() > shape.maxLineBytes)
        return false;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return true;
    if (line.find('=') != std::string_view::npos) // a command
        return false;
    const int count = SplitTableLine(line, shape.xIsDateTime, cells, scratch, date);
    if (count == 1) // separators only
        return true;
    if (count < shape.columnCount - 1) // a bad date or a short row
        return false;
    if (!RowInRange(shape.xRange, cells[0]))
        return true;
    if (result.rows[0].GetSize() >= shape.maxRows)
        return false;
    StoreDataRow(result.rows, cells);
    return true;
}

void RowsAhead::Read(int descriptor) {
    try {
        CheckedArray<std::string_view> cells{"cells"};
        std::string scratch;
        DateValue date;
        std::string block;
        std::string carry; // the start of a line that goes on in the next block
        long long at = from;
        const auto stopped = [this] {
            return stop || (shape.progress && shape.progress->Cancelled());
        };
        while (at < to && !stopped()) {
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<long long>(to - at, kBlockBytes));
            if (!ReadBytesAt(descriptor, at, wanted, block) || block.size() != wanted)
                return;
            at += static_cast<long long>(wanted);
            if (shape.progress)
                shape.progress->AddBytes(static_cast<long long>(wanted));
            std::size_t begin = 0;
            for (std::size_t feed; (feed = block.find('\n', begin)) != std::string::npos;
                 begin = feed + 1) {
                std::string_view line(block.data() + begin, feed - begin);
                if (!carry.empty()) {
                    carry.append(line);
                    line = carry;
                }
                if (!Take(line, cells, scratch, date)) {
                    result.complete = true;
                    return;
                }
                result.end += static_cast<long long>(line.size()) + 1;
                ++result.lines;
                carry.clear();
            }
            // A last line without its line feed is left to the load, which
            // knows whether it is still being written.
            if (carry.size() + (block.size() - begin) > shape.maxLineBytes) {
                result.complete = true;
                return;
            }
            carry.append(block, begin);
        }
        result.complete = !stopped();
    } catch (...) {
        result.complete = false;
    }
}
