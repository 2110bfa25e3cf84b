#include "render/DrawContext.h"

// Each segment is written into the batch whether it is drawn or not and
// counted only when it is: no branch on it, which noisy values would make
// unpredictable.
Point CDrawContext::CurveBlock(const int* columns, const int* rows, std::size_t size,
                               Point previous, int top, int bottom) {
    LineBatch lines(*this);
    bool previousInside = RowWithin(previous.y, top, bottom);
    std::span<LineSegment> room = lines.Room();
    std::size_t written = 0;
    for (std::size_t k = 0; k < size; ++k) {
        if (written == room.size()) {
            lines.Added(written);
            room = lines.Room();
            written = 0;
        }
        const Point point{columns[k], rows[k]};
        const bool inside = RowWithin(point.y, top, bottom);
        room[written] = LineSegment{previous, point};
        written += previousInside & inside;
        previous = point;
        previousInside = inside;
    }
    lines.Added(written);
    return previous;
}
