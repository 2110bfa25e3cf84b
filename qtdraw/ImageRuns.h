// Pixel runs written straight into the image a painter draws on. Where a
// diagram has thousands of curves, handing each run to the painter as a line
// costs far more than the few pixels the run covers.
#pragma once

#include <QColor>
#include <QLine>
#include <QPainter>

#include <span>

// Fills each run (a row or column of pixels from its first point up to, not
// including, its second, as PixelRuns makes them) with color, within the
// image. Does so only where that gives exactly the pixels the painter's
// drawLines would with a one-pixel flat-capped pen: a 32-bit image without
// transform, clipping or opacity, drawn over with an opaque colour. Returns
// false, having written nothing, anywhere else.
bool FillRunsInImage(QPainter& painter, std::span<const QLine> runs, QColor color);
