// Where the plot goes and how wide a row step is: plain arithmetic on the
// diagram's settings, done at the start of every paint before anything is
// drawn.
#pragma once

#include "diagram/Geometry.h"

#include <optional>

class CDiagram;

struct PlotLayout {
    int legendMargin = 0;
    Rect plotRect;
};

// The plot rectangle inside the frame: plotInset on every side, and on the
// right a further 100 pixels for the legend, or frameMargin without one.
PlotLayout ComputePlotLayout(const CDiagram& diagram);

struct XStep {
    double gridStepPx = 0.0; // pixels between neighbouring rows
    double delta = 0.0;      // mean X step per row
};

// The rows spread evenly over the plot width. Undefined for fewer than two
// rows, where there is no step to spread.
std::optional<XStep> ComputeXStep(int plotWidth, int rows, double xFirst, double xLast);
