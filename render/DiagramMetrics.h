// The fixed pixel distances of a diagram's picture: the legend, the axes and
// how near the mouse must come to a curve. Drawing and hit tests read them
// here, so a click lands where the picture shows the thing clicked.
#pragma once

#include "diagram/Geometry.h"

// Legend, right of the plot. Entry i (from 0) has its sample line at
// (plot right + kLegendLeft, plot top + kLegendTop + i * kLegendRowStep).
inline constexpr int kLegendMargin = 100; // right margin of the plot while the legend shows
inline constexpr int kLegendLeft = 10;
inline constexpr int kLegendTop = 20;
inline constexpr int kLegendRowStep = 20;
inline constexpr int kLegendSampleLength = 20;
inline constexpr int kLegendNameLeft = 30; // from the sample line's left end
inline constexpr int kLegendNameTop = -5;  // from the sample line's height
inline constexpr int kLegendNameCharacters = 15;
// A click hits an entry strictly inside this box right of the sample line's
// left end: the sample line and the start of the name.
inline constexpr int kLegendHitWidth = 50;
inline constexpr int kLegendHitHalfHeight = 10;

// X axis, under the plot.
inline constexpr int kXAxisNameAboveFrameBottom = 20;
inline constexpr int kXTickBelow = 4;      // a row's short tick ends this far below the plot
inline constexpr int kXLabelTickBelow = 5; // the tick of a labelled row
inline constexpr int kXLabelTop = 4;       // top of the row labels below the plot

// Y axis, left of the plot.
inline constexpr int kYLabelLeft = 25; // label centre left of the plot
inline constexpr int kYLabelRaise = 7; // label top above its grid line
inline constexpr int kYTickLength = 5; // tick left of the plot without the grid

// Minor ticks reach three pixels into the plot, and only where they lie at
// least five pixels apart.
inline constexpr int kMinorTickLength = 3;
inline constexpr int kMinorTickMinSpacing = 5;

// Drawn X coordinates stay within +-kPixelLimit: a row far outside the X
// range (an X of 1e308) would otherwise reach coordinates that overflow a
// drawing backend's fixed-point arithmetic. Any window lies well inside, and
// a segment towards such a point keeps its slope within a twentieth of a
// pixel in a window of 8192 pixels.
inline constexpr int kPixelLimit = 1 << 24;

// No window shows more characters of one line of text than this.
inline constexpr int kMaxShownCharacters = 10'000;

// The readout finds a curve passing within this many pixels of the mouse.
inline constexpr int kCurveHitTolerance = 5;

// The sample line's left end of legend entry `entry` (0 for the first shown
// column).
constexpr Point LegendEntryAt(const Rect& plot, int entry) {
    return Point{plot.right + kLegendLeft, plot.top + kLegendTop + entry * kLegendRowStep};
}

// Whether (x, y) lies in the hit box of the entry whose sample line starts at
// `entry`; the box's edges are outside.
constexpr bool LegendBoxContains(Point entry, int x, int y) {
    return entry.x < x && x < entry.x + kLegendHitWidth && entry.y - kLegendHitHalfHeight < y &&
           y < entry.y + kLegendHitHalfHeight;
}
