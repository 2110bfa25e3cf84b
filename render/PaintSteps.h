// The steps of a paint that are not operations of CDiagram themselves: the
// axes, title, legend and the loop over the curves. Each draws into the
// context it is given, with the scales of the paint in progress.
#pragma once

#include "diagram/Color.h"

#include <string>

class CDiagram;
class CDrawContext;

// The X axis: with rows, the X column's name, the row step, the zoom title
// while a zoom window opens, minor ticks and one grid line or tick per row
// with thinned-out labels; without rows, a grid of numbered steps.
void DrawXAxis(CDiagram& diagram, CDrawContext& dc);
// Grid lines (or ticks) every yGridStepPx pixels, labelled "%.2f".
void DrawYAxis(CDiagram& diagram, CDrawContext& dc);

// The title line: the title, or in spectrum mode the title with the
// spectrum's size.
std::string TitleText(const CDiagram& diagram);
void DrawTitle(CDiagram& diagram, CDrawContext& dc);

// A hidden column's legend colour: each component raised by 230, at most 255.
COLORREF PaleColor(COLORREF color);
// One entry per shown column right of the plot; records each entry's position
// in its column record for the legend hit test.
void DrawLegend(CDiagram& diagram, CDrawContext& dc);

// Every shown column's curve, each with its own pen.
void DrawCurves(CDiagram& diagram, CDrawContext& dc);
