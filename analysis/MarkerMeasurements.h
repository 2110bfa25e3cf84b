// What the Measurements panel shows of a diagram: every shown curve's values
// at the two marker lines, as the marker readout gives them, and its
// statistics over the rows between the lines, or over every row while one
// of them is not set. Computed from the layout of the diagram's last paint.
#pragma once

#include "analysis/RangeStatistics.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

class CDiagram;

struct CurveMeasurement {
    int column = 0;
    // NaN where the marker is not set or lies outside the plot.
    double atA = std::numeric_limits<double>::quiet_NaN();
    double atB = std::numeric_limits<double>::quiet_NaN();
    CurveStatistics statistics;
};

// The rows the statistics are taken over (see RowsBetween).
struct MeasuredRange {
    bool byValue = false;
    double from = 0.0;
    double to = 0.0;
};

struct MarkerMeasurements {
    // The markers' X: A while its line is drawn, B while it is set.
    std::optional<double> a;
    std::optional<double> b;
    // Between the two lines; otherwise over every row.
    bool betweenMarkers = false;
    MeasuredRange range;
    std::vector<CurveMeasurement> curves;
    // Shown curves past the first maxCurves, which are not measured.
    std::size_t curvesLeftOut = 0;
    // The statistics were left out: X is not in order and the pass over
    // every row is long enough to be run away from the interface thread,
    // with StatisticsBetween over range.
    bool statisticsPending = false;
};

// The cells a pass over rows out of order may read on the calling thread.
inline constexpr std::size_t kCellsOfAPassInPlace = 1 << 20;
// The curves measured: a table of many thousand columns is measured over its
// first ones, as a readout shows its first ones.
inline constexpr std::size_t kMeasuredCurves = 1000;

MarkerMeasurements MeasureAtMarkers(CDiagram& diagram, std::size_t maxCurves = kMeasuredCurves,
                                    std::size_t cellsOfAPassInPlace = kCellsOfAPassInPlace);

// The columns the measurements are of, in order: the shown, visible curves,
// at most maxCurves of them.
std::vector<int> MeasuredColumns(const CDiagram& diagram, std::size_t maxCurves = kMeasuredCurves);
