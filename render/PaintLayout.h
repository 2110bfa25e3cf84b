// Everything a paint computes before it draws: the frame and plot
// rectangles, the X step, the Y range, the pixel column of every row and the
// title of a zoom window being opened. Paint computes it once, stores it into
// the diagram's layout members in one place and draws from it.
#pragma once

#include "diagram/Geometry.h"
#include "render/RowPixelTable.h"
#include "render/Scales.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

class CDiagram;

struct PaintLayout {
    Rect frameRect;
    // The rest is laid out only for a diagram with a table.
    int legendMargin = 0;
    Rect plotRect;
    double xGridStepPx = 0.0; // the last paint's when this one has no step
    double xDelta = 0.0;      // likewise
    double yMin = 0.0;        // computed while yAutoscale is set, else the settings
    double yDelta = 0.0;
    XScale x;
    YScale y;
    // Where the rows lie (none when they cannot be placed); kept by the
    // diagram and valid until its next layout.
    const RowPixelTable* rows = nullptr;
    // The first row right of the plot (rows->Placed() when none is): the
    // last row a curve visits, the first the X axis leaves out.
    std::size_t firstRowPastPlot = 0;
    std::optional<std::string> zoomTitle;
};

// The layout of the diagram's next paint. Reads only the diagram's table,
// settings and its owner's client area (for a frame fitted to the window).
// With zoomTitle, also the title of a zoom window of the table.
PaintLayout ComputePaintLayout(const CDiagram& diagram, bool zoomTitle = false);
