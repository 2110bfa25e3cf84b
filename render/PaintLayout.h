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

// Where a paint draws on a device of `ratio` device pixels per layout pixel.
// The layout (rectangles, ticks, labels and what the mouse meets) is that of
// the window's own pixels; lines, rectangles and fills go to the context in
// device pixels, text in layout pixels. Curves, row lines and the marker are
// mapped straight onto device pixels; everything else begins at the device
// pixel where its layout pixel does. At ratio 1 the two are the same.
struct DevicePixels {
    double ratio = 1.0;
    Rect plotRect;
    XScale x;
    YScale y;
    // The rows' device pixel columns; the layout's own rows at ratio 1.
    const RowPixelTable* rows = nullptr;
    std::size_t firstRowPastPlot = 0;

    int Of(int pixel) const { return DevicePixel(pixel, ratio); }
    Point Of(Point point) const { return Point{Of(point.x), Of(point.y)}; }
    // The device pixels of the layout pixels a rectangle covers.
    Rect Of(const Rect& rect) const {
        return Rect{Of(rect.left), Of(rect.top), Of(rect.right), Of(rect.bottom)};
    }
    // A size in layout pixels, in device pixels.
    int Size(int pixels) const;
};

// The device placement of a plot and its scales, without the rows.
DevicePixels PlaceOnDevice(const Rect& plot, const XScale& x, const YScale& y, double ratio);

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
    DevicePixels device;
};

// The layout of the diagram's next paint on a device of pixelRatio. Reads
// only the diagram's table, settings and its owner's client area (for a frame
// fitted to the window). With zoomTitle, also the title of a zoom window of
// the table.
PaintLayout ComputePaintLayout(const CDiagram& diagram, bool zoomTitle = false,
                               double pixelRatio = 1.0);
