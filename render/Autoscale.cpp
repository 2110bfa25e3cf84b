#include "render/Autoscale.h"

#include "diagram/CDiagram.h"
#include "render/PaintLayout.h"
#include "render/Scales.h"

#include <cmath>
#include <cstdlib>

std::optional<ValueRange> ShownValueRange(const CDiagram& diagram) {
    // The columns' own ranges, combined in column order as one scan over every
    // cell would: a bound moves only for a strictly larger or smaller value.
    double max = -1e11;
    double min = 1e11;
    bool any = false;
    for (int c = 1; c <= LastShownColumn(diagram); ++c) {
        const NumberRange& range = diagram.values[c].Range();
        if (!range.any)
            continue;
        if (range.max > max)
            max = range.max;
        if (range.min < min)
            min = range.min;
        any = true;
    }
    if (!any)
        return std::nullopt;
    return ValueRange{min, max};
}

namespace {

// The power of ten at or below a positive step, by repeated multiplication.
// A step of 0 (all values equal) takes 1, so a flat curve still gets a scale.
double PowerOfTenBelow(double rawStep) {
    if (rawStep == 0)
        return 1.0;
    const int e = static_cast<int>(std::floor(std::log10(rawStep)));
    double p = 1.0;
    for (int i = 0; i < std::abs(e); ++i)
        p *= 10.0;
    return e < 0 ? 1.0 / p : p;
}

} // namespace

std::optional<YRange> ComputeAutoscale(ValueRange range, double plotHeight, double yGridStepPx) {
    if (!(yGridStepPx > 0))
        return std::nullopt;
    const double k = std::trunc((plotHeight - yGridStepPx) / yGridStepPx);
    if (!(k >= 1))
        return std::nullopt;
    const double rawStep = (range.max - range.min) / k;
    if (!std::isfinite(rawStep) || rawStep < 0)
        return std::nullopt;
    const double p = PowerOfTenBelow(rawStep);
    double yDelta = (std::trunc(rawStep / p) + 1) * p;
    if (yDelta == 0)
        yDelta = p;
    const double yMin = (std::trunc(range.min / yDelta) - 1) * yDelta;
    if (!(yDelta > 0) || !std::isfinite(yDelta) || !std::isfinite(yMin))
        return std::nullopt;
    return YRange{yMin, yDelta};
}

void CDiagram::AutoscaleY(PaintLayout& layout) const {
    const std::optional<ValueRange> range = ShownValueRange(*this);
    if (!range)
        return;
    const std::optional<YRange> scale =
        ComputeAutoscale(*range, layout.plotRect.Height(), yGridStepPx);
    if (!scale)
        return;
    layout.yMin = scale->yMin;
    layout.yDelta = scale->yDelta;
}
