#include "qtdraw/PixelRuns.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// A line seen along its major axis (the one it advances on with every pixel).
struct MajorAxisLine {
    bool xMajor = true;
    long long length = 0; // pixels to lay down: the end pixel is left out
    long long rise = 0;   // pixels moved on the minor axis over the whole line
    int majorStart = 0, minorStart = 0;
    int majorStep = 1, minorStep = 1;

    MajorAxisLine(QPoint from, QPoint to) {
        const long long dx = static_cast<long long>(to.x()) - from.x();
        const long long dy = static_cast<long long>(to.y()) - from.y();
        xMajor = std::llabs(dx) >= std::llabs(dy);
        const long long dMajor = xMajor ? dx : dy;
        const long long dMinor = xMajor ? dy : dx;
        length = std::llabs(dMajor);
        rise = std::llabs(dMinor);
        majorStart = xMajor ? from.x() : from.y();
        minorStart = xMajor ? from.y() : from.x();
        majorStep = dMajor < 0 ? -1 : 1;
        minorStep = dMinor < 0 ? -1 : 1;
    }
};

// Adds a run, or widens the last one when both lie on one row (or one
// column) and touch or overlap. A single pixel is kept as a column run.
void AddRun(std::vector<QLine>& runs, QLine run) {
    if (run.dx() == 1)
        run = QLine(run.x1(), run.y1(), run.x1(), run.y1() + 1);
    if (!runs.empty()) {
        QLine& last = runs.back();
        const bool columns = run.dx() == 0 && last.dx() == 0 && run.x1() == last.x1();
        const bool rows = run.dy() == 0 && last.dy() == 0 && run.y1() == last.y1();
        if (columns && run.y1() <= last.y2() && last.y1() <= run.y2()) {
            last = QLine(run.x1(), std::min(run.y1(), last.y1()), run.x1(),
                         std::max(run.y2(), last.y2()));
            return;
        }
        if (rows && run.x1() <= last.x2() && last.x1() <= run.x2()) {
            last = QLine(std::min(run.x1(), last.x1()), run.y1(), std::max(run.x2(), last.x2()),
                         run.y1());
            return;
        }
    }
    runs.push_back(run);
}

// The runs of one line that does not run along a pixel column.
void AppendLineRuns(QPoint from, QPoint to, const QRect& area, std::vector<QLine>& runs) {
    const MajorAxisLine line(from, to);
    if (line.length == 0)
        return;
    const int low = line.xMajor ? area.left() : area.top();
    const int high = line.xMajor ? area.right() : area.bottom();
    const int minorLow = line.xMajor ? area.top() : area.left();
    const int minorHigh = line.xMajor ? area.bottom() : area.right();
    // Only the pixels whose major coordinate lies in the area are visited, so
    // a line reaching far outside the picture costs no more than its visible
    // part; the rounding of those inside is unchanged.
    const long long toLow = static_cast<long long>(low) - line.majorStart;
    const long long toHigh = static_cast<long long>(high) - line.majorStart;
    const long long first = std::max(0LL, line.majorStep > 0 ? toLow : -toHigh);
    const long long last = std::min(line.length - 1, line.majorStep > 0 ? toHigh : -toLow);

    const auto addRun = [&](int minor, int a, int b) {
        if (minor < minorLow || minor > minorHigh)
            return;
        const int lo = std::min(a, b);
        const int hi = std::max(a, b) + 1;
        AddRun(runs, line.xMajor ? QLine(lo, minor, hi, minor) : QLine(minor, lo, minor, hi));
    };
    if (first > last)
        return;
    const auto majorAt = [&line](long long i) {
        return line.majorStart + line.majorStep * static_cast<int>(i);
    };
    if (line.rise == 0) { // along a row or a column: one run
        addRun(line.minorStart, majorAt(first), majorAt(last));
        return;
    }
    // Pixel i lies at the line's position rounded half away from the start:
    // the minor offset (2 i rise + length) / (2 length), which
    // never falls as i grows: each run is the pixels of one offset, found
    // from its first pixel without visiting the others. A line costs its runs,
    // not its length.
    const long long twiceLength = 2 * line.length;
    const long long twiceRise = 2 * line.rise;
    for (long long i = first; i <= last;) {
        const long long offset = (i * twiceRise + line.length) / twiceLength;
        // The first pixel of the next offset.
        const long long next =
            (twiceLength * (offset + 1) - line.length + twiceRise - 1) / twiceRise;
        const long long end = std::min(last, next - 1);
        addRun(line.minorStart + line.minorStep * static_cast<int>(offset), majorAt(i),
               majorAt(end));
        i = end + 1;
    }
}

// The area's bounds as the column runs are cut to them.
struct Bounds {
    int left, right, top, bottomEnd;
};

// Stores the part of the column run of rows low .. high - 1 within the
// bounds. Out of line: inlined, the compiler packs the run variables of the
// loop below into one vector register for this store and unpacks them on
// every segment.
[[gnu::noinline]] void AddColumnRun(std::vector<QLine>& runs, const Bounds& bounds, int x, int low,
                                    int high) {
    low = std::max(low, bounds.top);
    high = std::min(high, bounds.bottomEnd);
    if (low < high)
        runs.emplace_back(x, low, x, high);
}

// A point as one number that orders the points of one column by row: the
// column in the upper half, the row with its sign bit flipped (so that its
// order is kept as an unsigned number) in the lower. For a run of rows low ..
// high - 1 of column x, ColumnKey(p) - ColumnKey({x, low}) < high - low holds
// exactly for the points p of the run: a row below low wraps around to a
// huge difference, and another column differs by 2^32 or more less the
// distance of the rows, which is more than high - low.
std::uint64_t ColumnKey(Point point) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(point.x)) << 32 |
           (static_cast<std::uint32_t>(point.y) ^ 0x80000000u);
}

// The segments of a batch in order, as the run walk below reads them.
class SegmentArray {
public:
    explicit SegmentArray(std::span<const LineSegment> segments)
        : segment(segments.data()), end(segments.data() + segments.size()) {}
    bool Done() const { return segment == end; }
    Point From() const { return segment->from; }
    Point To() const { return segment->to; }
    void Next() { ++segment; }
    // Skips the segments whose two ends both have keys key .. key + width - 1.
    // Two subtractions and one comparison each.
    void SkipWithin(std::uint64_t key, std::uint64_t width) {
        while (segment != end &&
               std::max(ColumnKey(segment->from) - key, ColumnKey(segment->to) - key) < width)
            ++segment;
    }

private:
    const LineSegment* segment;
    const LineSegment* end;
};

// The segments a curve block draws: from `previous` through each point in
// turn, those whose two ends both lie in rows top .. bottom, read straight
// from the points. It always rests on a drawn segment, or is done.
class CurvePath {
public:
    CurvePath(const int* columns, const int* rows, std::size_t size, Point previous, int top,
              int bottom)
        : columns(columns), rows(rows), size(size), top(top), bottom(bottom), from(previous) {
        Settle();
    }
    bool Done() const { return k == size; }
    Point From() const { return from; }
    Point To() const { return At(k); }
    void Next() {
        from = At(k);
        ++k;
        Settle();
    }
    // Consecutive segments share their ends, so past the first end each
    // point costs one key. A segment within the run adds no pixel to it,
    // drawn or not, so one left out here that the block does not draw (the
    // run may come from lines queued before it) changes no run either.
    void SkipWithin(std::uint64_t key, std::uint64_t width) {
        if (Done() || ColumnKey(from) - key >= width)
            return;
        std::size_t j = k;
        while (j < size && ColumnKey(At(j)) - key < width)
            ++j;
        if (j == k)
            return;
        from = At(j - 1);
        k = j;
        Settle();
    }

private:
    Point At(std::size_t j) const { return Point{columns[j], rows[j]}; }
    // Moves on to the first drawn segment from the current one.
    void Settle() {
        while (k < size && !(RowWithin(from.y, top, bottom) && RowWithin(rows[k], top, bottom))) {
            from = At(k);
            ++k;
        }
    }

    const int* columns;
    const int* rows;
    std::size_t size;
    int top, bottom;
    Point from;
    std::size_t k = 0;
};

// Appends the runs of the segments from the current one on that each run
// along one pixel column, up to the first that does not, where `path` then
// rests. Where rows share a pixel column nearly every segment continues the
// column run of the one before, so that run (rows low .. high - 1 of column
// x) is widened in plain variables and stored only when a segment leaves it.
// It is cut to the area only then: the part of a union of touching rows
// within the area is the union of the parts of each.
template <class Path>
void AppendColumnRuns(Path& path, const Bounds& bounds, std::vector<QLine>& runs) {
    bool open = !runs.empty() && runs.back().dx() == 0;
    int x = 0, low = 0, high = 0;
    if (open) {
        x = runs.back().x1();
        low = runs.back().y1();
        high = runs.back().y2();
        runs.pop_back();
    }
    for (; !path.Done() && path.From().x == path.To().x; path.Next()) {
        if (open) {
            // Most segments lie within the run already: both their ends do.
            path.SkipWithin(ColumnKey(Point{x, low}), static_cast<std::uint32_t>(high - low));
            if (path.Done() || path.From().x != path.To().x)
                break;
        }
        // Downwards the start pixel up to the end; upwards the pixel below
        // the end up to the start. None, low == high, when both ends are the
        // same; such a segment widens no run it touches.
        const Point from = path.From(), to = path.To();
        const int segmentLow = std::min(from.y, to.y + 1);
        const int segmentHigh = std::max(to.y, from.y + 1) - (from.y == to.y);
        const int segmentX = from.x;
        // One test for the common case, which noisy values make no easier
        // to predict piece by piece.
        if (open & (segmentX == x) & (segmentLow <= high) & (low <= segmentHigh)) {
            low = std::min(low, segmentLow);
            high = std::max(high, segmentHigh);
            continue;
        }
        if (segmentLow == segmentHigh || segmentX < bounds.left || segmentX > bounds.right)
            continue;
        if (open)
            AddColumnRun(runs, bounds, x, low, high);
        open = true;
        x = segmentX;
        low = segmentLow;
        high = segmentHigh;
    }
    if (open)
        AddColumnRun(runs, bounds, x, low, high);
}

// The runs of every segment `path` gives.
template <class Path> void AppendPathRuns(Path& path, const QRect& area, std::vector<QLine>& runs) {
    const Bounds bounds{area.left(), area.right(), area.top(), area.bottom() + 1};
    while (!path.Done()) {
        if (path.From().x == path.To().x) {
            AppendColumnRuns(path, bounds, runs);
            continue;
        }
        AppendLineRuns(QPoint(path.From().x, path.From().y), QPoint(path.To().x, path.To().y), area,
                       runs);
        path.Next();
    }
}

} // namespace

void AppendPixelRuns(std::span<const LineSegment> segments, const QRect& area,
                     std::vector<QLine>& runs) {
    SegmentArray path(segments);
    AppendPathRuns(path, area, runs);
}

std::optional<Point> AppendCurveRuns(const int* columns, const int* rows, std::size_t size,
                                     Point previous, int top, int bottom, const QRect& area,
                                     std::vector<QLine>& runs) {
    CurvePath path(columns, rows, size, previous, top, bottom);
    AppendPathRuns(path, area, runs);
    // The last segment drawn ends at the last point whose segment is drawn.
    for (std::size_t k = size; k-- > 0;) {
        const int fromRow = k > 0 ? rows[k - 1] : previous.y;
        if (RowWithin(rows[k], top, bottom) && RowWithin(fromRow, top, bottom))
            return Point{columns[k], rows[k]};
    }
    return std::nullopt;
}
