// What the Measurements panel shows of a painted diagram: values at the two
// markers as the readout gives them, statistics of the rows between them or
// of every row, the curves shown, and a pass over X out of order left to a
// job when it is long.
#include "InteractionTestSupport.h"
#include "analysis/MarkerMeasurements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

double ReadoutValue(CDiagram& diagram, double x, int column) {
    const std::optional<CurveValues> values =
        diagram.CurveValuesAtPixel(diagram.PixelAtValue(x, 0.0).x);
    EXPECT_TRUE(values.has_value());
    return values ? values->values[static_cast<std::size_t>(column)] : NAN;
}

TEST(Measurements, BetweenTheMarkersInEitherOrderAndOverEveryRowWhileOneIsMissing) {
    LoadedView view(TwoCurveFile()); // X 0 .. 10, A = 2X, B = 20
    CDiagram& diagram = view.diagram;
    diagram.markerX = 3.0;
    diagram.markerB = 7.0;
    MarkerMeasurements m = MeasureAtMarkers(diagram);
    ASSERT_TRUE(m.betweenMarkers);
    ASSERT_EQ(m.curves.size(), 2u);
    const CurveMeasurement& a = m.curves[0];
    EXPECT_EQ(a.atA, ReadoutValue(diagram, 3.0, 1));
    EXPECT_EQ(a.atB, ReadoutValue(diagram, 7.0, 1));
    EXPECT_EQ(a.statistics.rows, 5u); // X = 3, 4, 5, 6, 7: A = 6 .. 14
    EXPECT_EQ(a.statistics.min, 6.0);
    EXPECT_EQ(a.statistics.minRow, 3u);
    EXPECT_EQ(a.statistics.max, 14.0);
    EXPECT_EQ(a.statistics.maxRow, 7u);
    EXPECT_DOUBLE_EQ(a.statistics.mean, 10.0);
    EXPECT_DOUBLE_EQ(a.statistics.rms, std::sqrt(108.0));
    EXPECT_DOUBLE_EQ(a.statistics.deviation, std::sqrt(8.0));
    EXPECT_EQ(m.curves[1].statistics.deviation, 0.0);
    EXPECT_EQ(m.curves[1].statistics.mean, 20.0);

    std::swap(diagram.markerX, *diagram.markerB);
    const MarkerMeasurements swapped = MeasureAtMarkers(diagram);
    EXPECT_EQ(swapped.curves[0].statistics.rows, 5u);
    EXPECT_EQ(swapped.curves[0].statistics.minRow, 3u);
    EXPECT_EQ(swapped.curves[0].atA, a.atB);

    diagram.markerB.reset();
    m = MeasureAtMarkers(diagram);
    EXPECT_FALSE(m.betweenMarkers);
    EXPECT_EQ(m.curves[0].statistics.rows, 11u);
    EXPECT_TRUE(std::isnan(m.curves[0].atB));
    EXPECT_DOUBLE_EQ(m.curves[0].statistics.mean, 10.0);

    // A removed marker (0) with B set: every row again, B's values shown.
    diagram.markerX = 0.0;
    diagram.markerB = 4.0;
    m = MeasureAtMarkers(diagram);
    EXPECT_FALSE(m.betweenMarkers);
    EXPECT_FALSE(m.a.has_value());
    EXPECT_EQ(m.curves[0].atB, ReadoutValue(diagram, 4.0, 1));
    EXPECT_EQ(m.curves[0].statistics.rows, 11u);
}

TEST(Measurements, HiddenCurvesLeaveAndTheSpectrumJoinsWhileShown) {
    LoadedView view(TwoCurveFile());
    CDiagram& diagram = view.diagram;
    diagram.columns[1].visible = 0;
    MarkerMeasurements m = MeasureAtMarkers(diagram);
    ASSERT_EQ(m.curves.size(), 1u);
    EXPECT_EQ(m.curves[0].column, 2);

    diagram.showSpectrum = true;
    view.Paint();
    m = MeasureAtMarkers(diagram);
    ASSERT_EQ(m.curves.size(), 2u);
    EXPECT_EQ(m.curves[1].column, diagram.columnCount - 1);
    EXPECT_EQ(m.curves[1].statistics.rows, 11u);

    m = MeasureAtMarkers(diagram, 1);
    EXPECT_EQ(m.curves.size(), 1u);
    EXPECT_EQ(m.curvesLeftOut, 1u);
}

TEST(Measurements, XOutOfOrderIsMeasuredInOnePassOrLeftForAJobWhenLong) {
    std::string file = "X=number\nOut of order\nX;V\n";
    const int xs[] = {5, 1, 9, 3, 7, 2, 8, 4, 6, 0};
    for (const int x : xs)
        file += std::to_string(x) + ";" + std::to_string(x * x) + "\n";
    LoadedView view(file);
    CDiagram& diagram = view.diagram;
    diagram.markerX = 2.0;
    diagram.markerB = 4.0;
    MarkerMeasurements m = MeasureAtMarkers(diagram);
    ASSERT_FALSE(m.statisticsPending);
    const CurveStatistics& s = m.curves[0].statistics;
    EXPECT_EQ(s.rows, 3u); // X = 3, 2, 4 at rows 3, 5, 7
    EXPECT_EQ(s.firstRow, 3u);
    EXPECT_EQ(s.lastRow, 7u);
    EXPECT_EQ(s.minRow, 5u);
    EXPECT_EQ(s.maxRow, 7u);
    EXPECT_DOUBLE_EQ(s.mean, 29.0 / 3.0);

    m = MeasureAtMarkers(diagram, kMeasuredCurves, 5);
    EXPECT_TRUE(m.statisticsPending);
    EXPECT_EQ(m.curves[0].statistics.rows, 0u);
    EXPECT_TRUE(m.range.byValue);
    EXPECT_EQ(m.range.from, 2.0);
    EXPECT_EQ(m.range.to, 4.0);
}

} // namespace
