#include "analysis/MarkerMeasurements.h"

#include "diagram/CDiagram.h"
#include "render/Scales.h"

#include <cmath>

namespace {

// The values of every column at the pixel column of marker value x, as the
// marker readout gives them; none outside the plot.
std::optional<CurveValues> ValuesAt(CDiagram& diagram, double x) {
    return diagram.CurveValuesAtPixel(diagram.PixelAtValue(x, 0.0).x);
}

// Where a marker is among rows placed by index: its drawn pixel column as a
// row position.
double RowPosition(const CDiagram& diagram, double x) {
    const XScale scale = XScale::Of(diagram);
    if (!(diagram.xGridStepPx > 0))
        return 0.0;
    return (scale.ValuePixel(x) - diagram.plotRect.left) / diagram.xGridStepPx;
}

std::size_t ShownCurves(const CDiagram& diagram) {
    std::size_t shown = 0;
    for (int c = 1; c <= LastShownColumn(diagram); ++c)
        shown += diagram.columns[c].visible ? 1 : 0;
    return shown;
}

} // namespace

std::vector<int> MeasuredColumns(const CDiagram& diagram, std::size_t maxCurves) {
    std::vector<int> shown;
    for (int c = 1; c <= LastShownColumn(diagram) && shown.size() < maxCurves; ++c)
        if (diagram.columns[c].visible)
            shown.push_back(c);
    return shown;
}

MarkerMeasurements MeasureAtMarkers(CDiagram& diagram, std::size_t maxCurves,
                                    std::size_t cellsOfAPassInPlace) {
    MarkerMeasurements result;
    if (diagram.columnCount == 0 || diagram.values[0].IsEmpty())
        return result;
    const StringArray& x = diagram.values[0];
    if (diagram.markerX > 0)
        result.a = diagram.markerX;
    result.b = diagram.markerB;
    const std::optional<CurveValues> atA = result.a ? ValuesAt(diagram, *result.a) : std::nullopt;
    const std::optional<CurveValues> atB = result.b ? ValuesAt(diagram, *result.b) : std::nullopt;

    result.betweenMarkers = result.a && result.b;
    const bool byValue = diagram.xIsNumber || diagram.xIsDateTime;
    if (!result.betweenMarkers)
        result.range = MeasuredRange{false, 0.0, static_cast<double>(x.GetSize() - 1)};
    else if (byValue)
        result.range = MeasuredRange{true, *result.a, *result.b};
    else
        result.range =
            MeasuredRange{false, RowPosition(diagram, *result.a), RowPosition(diagram, *result.b)};

    std::vector<const StringArray*> columns;
    const std::vector<int> measured = MeasuredColumns(diagram, maxCurves);
    result.curvesLeftOut = ShownCurves(diagram) - measured.size();
    for (const int c : measured) {
        CurveMeasurement curve;
        curve.column = c;
        const auto index = static_cast<std::size_t>(c);
        if (atA && index < atA->values.size())
            curve.atA = atA->values[index];
        if (atB && index < atB->values.size())
            curve.atB = atB->values[index];
        result.curves.push_back(curve);
        columns.push_back(&diagram.values[c]);
    }
    const RowsBetween rows(x, result.range.byValue, result.range.from, result.range.to);
    if (!rows.Contiguous() &&
        static_cast<std::size_t>(x.GetSize()) * columns.size() > cellsOfAPassInPlace) {
        result.statisticsPending = true;
        return result;
    }
    const std::vector<CurveStatistics> statistics =
        StatisticsBetween(x, result.range.byValue, columns, result.range.from, result.range.to);
    for (std::size_t i = 0; i < statistics.size(); ++i)
        result.curves[i].statistics = statistics[i];
    return result;
}
