// The automatic Y scale: a round step that fits the shown data into the plot
// height, and a bottom value one step below the data. Computed without
// drawing, so the numbers can be checked on their own.
#pragma once

#include <optional>

class CDiagram;

struct ValueRange {
    double min = 0.0;
    double max = 0.0;
};

struct YRange {
    double yMin = 0.0;
    double yDelta = 0.0;
};

// Smallest and largest value of the shown columns over all rows; empty cells
// and cells of exactly one blank are left out. Empty when no cell counts.
std::optional<ValueRange> ShownValueRange(const CDiagram& diagram);

// The step: (max - min) spread over the whole grid steps that fit in the plot
// height less one, rounded up to the next whole multiple of its power of ten
// (a raw step of 3 gives 4); yMin one step below min truncated to a multiple
// of the step. Empty when the result would be undefined: a plot shorter than
// two grid steps, or a range too wide for doubles.
std::optional<YRange> ComputeAutoscale(ValueRange range, double plotHeight, double yGridStepPx);
