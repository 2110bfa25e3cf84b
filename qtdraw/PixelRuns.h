// The pixels of a one-pixel line laid down as the classic graphics interface
// does: the start pixel drawn, the end pixel not, whichever way the line
// runs. Qt leaves out the pixel at the larger coordinate instead, so lines
// drawn right to left or upwards would lose their start and keep their end.
#pragma once

#include "render/DrawContext.h"

#include <QLine>
#include <QRect>

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// Appends the pixels of each segment in turn, its end pixel excluded, that
// lie in `area`, grouped into horizontal or vertical runs. Each run is a line
// from its first pixel to one past its last, in increasing coordinates, which
// a one-pixel pen with flat caps fills exactly. A run that touches or
// overlaps the last run in runs on the same row or column is merged into it:
// a batch of one pen covers the same pixels, and a curve of a million short
// segments becomes a few runs per pixel column.
void AppendPixelRuns(std::span<const LineSegment> segments, const QRect& area,
                     std::vector<QLine>& runs);

// Appends the runs AppendPixelRuns gives for the segments CurveBlock draws:
// from `previous` through each point (columns[k], rows[k]) in turn, those
// whose two ends both lie in rows top .. bottom. The points are read as they
// are, without a segment written anywhere. Returns the end of the last
// segment drawn; none when none is.
std::optional<Point> AppendCurveRuns(const int* columns, const int* rows, std::size_t size,
                                     Point previous, int top, int bottom, const QRect& area,
                                     std::vector<QLine>& runs);
