#include "render/Scales.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"

#include <algorithm>
#include <cmath>

namespace {

int ClampPixel(int pixel) {
    return std::clamp(pixel, -kPixelLimit, kPixelLimit);
}

} // namespace

int LastShownColumn(const CDiagram& diagram) {
    return diagram.columnCount - (diagram.showSpectrum ? 1 : 2);
}

XScale::XScale(const Rect& plot, bool byValue, int rows, double first, double last,
               double gridStepPx)
    : byValue(byValue), rows(rows), first(first), last(last), left(plot.left), width(plot.Width()),
      gridStepPx(gridStepPx) {}

XScale XScale::Of(const CDiagram& diagram) {
    const bool byValue = diagram.xIsNumber || diagram.xIsDateTime;
    if (diagram.columnCount == 0)
        return XScale(diagram.plotRect, byValue, 0, 0.0, 0.0, diagram.xGridStepPx);
    const StringArray& x = diagram.values[0];
    const int rows = x.GetSize();
    return XScale(diagram.plotRect, byValue, rows, rows > 0 ? x.NumberAt(0) : 0.0,
                  rows > 0 ? x.NumberAt(rows - 1) : 0.0, diagram.xGridStepPx);
}

bool XScale::PlacesRows() const {
    if (rows < 2)
        return false;
    return byValue ? MapsValues() : std::isfinite(gridStepPx);
}

bool XScale::MapsValues() const {
    return rows > 0 && last != first && std::isfinite(last - first);
}

int XScale::RowPixel(int row, double xValue) const {
    if (byValue)
        return ClampPixel(Trunc((xValue - first) * width / (last - first)) + left);
    return ClampPixel(Trunc(row * gridStepPx + left));
}

int XScale::ValuePixel(double value) const {
    if (!MapsValues())
        return left;
    return ClampPixel(Trunc((value - first) * width / (last - first) + left));
}

double XScale::PixelValue(int pixel) const {
    if (width == 0 || !std::isfinite(last - first))
        return first;
    return first + (pixel - left) * (last - first) / width;
}

void RowPixels(const XScale& scale, const StringArray& xCells, std::vector<int>& pixels) {
    pixels.clear();
    if (!scale.PlacesRows())
        return;
    const std::span<const double> x = xCells.Numbers();
    pixels.resize(static_cast<std::size_t>(scale.Rows()));
    for (int j = 0; j < scale.Rows(); ++j)
        pixels[static_cast<std::size_t>(j)] = scale.RowPixel(j, x[static_cast<std::size_t>(j)]);
}

YScale::YScale(int bottom, double yMin, double yDelta, double gridStepPx)
    : bottom(bottom), yMin(yMin), yDelta(yDelta), gridStepPx(gridStepPx) {
    if (Defined()) {
        pixelsPerUnit = gridStepPx / yDelta;
        offset = Trunc(yMin * pixelsPerUnit);
    }
}

YScale YScale::Of(const CDiagram& diagram) {
    return YScale(diagram.plotRect.bottom, diagram.yMin, diagram.yDelta, diagram.yGridStepPx);
}

bool YScale::Defined() const {
    return yDelta > 0 && std::isfinite(yDelta) && gridStepPx > 0 && std::isfinite(gridStepPx) &&
           std::isfinite(yMin);
}

void YScale::CurvePixels(std::span<const double> values, int* pixels) const {
    // Trunc as selections: NaN fails every comparison, so it passes the
    // clamps unchanged and only the last selection turns it into 0.
    constexpr double limit = 268435456.0; // 2^28, as Trunc
    const int base = bottom + offset;
    const double scale = pixelsPerUnit;
    for (std::size_t i = 0; i < values.size(); ++i) {
        double scaled = values[i] * scale;
        scaled = scaled > limit ? limit : scaled;
        scaled = scaled < -limit ? -limit : scaled;
        scaled = scaled == scaled ? scaled : 0.0;
        pixels[i] = base - static_cast<int>(scaled);
    }
}

int YScale::ValuePixel(double value) const {
    if (!Defined())
        return bottom;
    return Trunc(bottom - (value - yMin) / yDelta * gridStepPx);
}

double YScale::PixelValue(int y) const {
    if (!(gridStepPx > 0))
        return yMin;
    return (bottom - y) * yDelta / gridStepPx + yMin;
}
