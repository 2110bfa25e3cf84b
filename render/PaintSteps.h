// The steps of a paint that are not operations of CDiagram themselves: the
// axes, title and legend. Each draws from the layout the paint computed into
// the context it is given, and changes nothing in the diagram.
#pragma once

#include "diagram/Color.h"

#include <string>

class CDiagram;
class CDrawContext;
struct PaintLayout;

// The X axis: with rows, the X column's name, minor ticks and one grid line
// or tick per row with thinned-out labels; without rows, a grid of numbered
// steps.
void DrawXAxis(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc);
// Grid lines (or ticks) every yGridStepPx pixels, labelled "%.2f".
void DrawYAxis(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc);

// The title line: the title, or in spectrum mode the title with the
// spectrum's size; of a very long title only the part a window can show.
std::string TitleText(const CDiagram& diagram);
void DrawTitle(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc);

// A hidden column's legend colour: each component raised by 230, at most 255.
COLORREF PaleColor(COLORREF color);
// One entry per shown column right of the plot, where LegendEntryAt places it.
void DrawLegend(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc);
