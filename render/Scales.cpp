#include "render/Scales.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DiagramMetrics.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

int ClampPixel(int pixel) {
    return std::clamp(pixel, -kPixelLimit, kPixelLimit);
}

} // namespace

int DevicePixel(int pixel, double ratio) {
    if (ratio == 1.0)
        return pixel;
    return static_cast<int>(std::floor(pixel * ratio + 0.5));
}

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

XScale XScale::AtRatio(double ratio) const {
    if (ratio == 1.0)
        return *this;
    XScale device = *this;
    device.left = DevicePixel(left, ratio);
    device.width = DevicePixel(left + width, ratio) - device.left;
    device.gridStepPx =
        rows >= 2 ? static_cast<double>(device.width) / (rows - 1) : gridStepPx * ratio;
    return device;
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
    std::size_t i = 0;
#if defined(__SSE2__)
    // Two values at a time, Trunc without branches: MAXPD gives its second
    // operand for NaN, so the clamps keep NaN out of the conversion, and the
    // mask of the values that are not NaN turns their rows into 0 afterwards.
    constexpr double limit = 268435456.0; // 2^28, as Trunc
    const __m128d scale = _mm_set1_pd(pixelsPerUnit);
    const __m128d low = _mm_set1_pd(-limit);
    const __m128d high = _mm_set1_pd(limit);
    const __m128i base = _mm_set1_epi32(bottom + offset);
    for (; i + 2 <= values.size(); i += 2) {
        const __m128d scaled = _mm_mul_pd(_mm_loadu_pd(values.data() + i), scale);
        const __m128i truncated = _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(scaled, low), high));
        const __m128i numbers =
            _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpord_pd(scaled, scaled)), 0x08);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels + i),
                         _mm_sub_epi32(base, _mm_and_si128(truncated, numbers)));
    }
#endif
    for (; i < values.size(); ++i)
        pixels[i] = CurvePixel(values[i]);
}

int YScale::ValuePixel(double value) const {
    if (!Defined())
        return bottom;
    return Trunc(bottom - (value - yMin) / yDelta * gridStepPx);
}

YScale YScale::AtRatio(double ratio) const {
    if (ratio == 1.0)
        return *this;
    return YScale(DevicePixel(bottom, ratio), yMin, yDelta, gridStepPx * ratio);
}

double YScale::PixelValue(int y) const {
    if (!(gridStepPx > 0))
        return yMin;
    return (bottom - y) * yDelta / gridStepPx + yMin;
}
