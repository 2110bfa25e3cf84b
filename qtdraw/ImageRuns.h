// Pixel runs written straight into the image a painter draws on. Where a
// diagram has thousands of curves, handing each run to the painter as a line
// costs far more than the few pixels the run covers.
#pragma once

#include <QColor>
#include <QLine>
#include <QPainter>
#include <QRect>

#include <span>

// The pixels of a run (a row or column of pixels from its first point up to,
// not including, its second, as PixelRuns makes them) with every pixel
// widened to a square of width pixels towards the right and below.
QRect WidenedRun(const QLine& run, int width);

// Fills each run widened to width with color, within the image. Does so only
// where that gives exactly the pixels the painter's fillRect of
// WidenedRun would (and, for width 1, its drawLines with a one-pixel
// flat-capped pen): a 32-bit image without transform, clipping or opacity,
// drawn over with an opaque colour. Returns false, having written nothing,
// anywhere else.
bool FillRunsInImage(QPainter& painter, std::span<const QLine> runs, QColor color, int width = 1);
