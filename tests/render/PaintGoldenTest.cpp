// Whole drawing traces of focused cases and of the example files, compared
// with tests/golden/render/. The recording context measures every character
// as half the font height, so the traces do not depend on installed fonts.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

// 800 x 530: the plot is (65, 65)-(635, 465), 570 wide and 400 high.
const Rect kTallClient{0, 0, 800, 530};

// Values 10, 20, 50, 30, -5, 25, 35, 40 at X 0..7 on a fixed scale of 0..40:
// 50 lies above the plot and -5 below it.
const char* const kOutOfRange = "X=number\nSkipping\nX;A\n0;10\n1;20\n2;50\n3;30\n4;-5\n5;25\n"
                                "6;35\n7;40\n";

void FixScale(CDiagram& diagram, double yMin, double yDelta) {
    diagram.yAutoscale = false;
    diagram.yMin = yMin;
    diagram.yDelta = yDelta;
}

} // namespace

TEST(PaintGolden, AutoscaleOfThreeDataRanges) {
    const char* const files[] = {"X=number\nT\nX;A\n0;3.2\n1;17.9\n",
                                 "X=number\nT\nX;A\n0;-0.35\n1;0.82\n",
                                 "X=number\nT\nX;A\n0;0\n1;21\n"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(files[i]);
        TestDiagram t(kTallClient);
        t.Load(files[i]);
        ExpectMatchesGolden(t.Trace(), "render/autoscale_" + std::to_string(i + 1) + ".trace");
    }
}

TEST(PaintGolden, SegmentSkippingWithMarks) {
    TestDiagram t(kTallClient);
    t.Load(kOutOfRange);
    FixScale(t.diagram, 0, 5);
    t.diagram.showMarks = true;
    ExpectMatchesGolden(t.Trace(), "render/segment_skipping.trace");
}

TEST(PaintGolden, FirstRowMarkNeedsTheZeroHeightInThePlot) {
    TestDiagram t(kTallClient);
    t.Load("X=number\nFirst row\nX;A\n0;12\n1;14\n2;13\n");
    t.diagram.showMarks = true;
    FixScale(t.diagram, 10, 5); // 0 lies below the plot: no mark on row 0
    ExpectMatchesGolden(t.Trace(), "render/first_row_without_mark.trace");
    FixScale(t.diagram, 0, 5);
    ExpectMatchesGolden(t.Trace(), "render/first_row_with_mark.trace");
}

TEST(PaintGolden, MarkerLine) {
    TestDiagram t(kTallClient);
    t.Load("X=number\nMarker\nX;A\n0;1\n5;2\n10;3\n");
    t.diagram.markerX = 2.5;
    ExpectMatchesGolden(t.Trace(), "render/marker_line.trace");
}

TEST(PaintGolden, LegendPositionsPaleColoursAndCutNames) {
    TestDiagram t(kTallClient);
    // The third name is 16 two-byte characters; the legend shows 15 of them.
    t.Load("X=number\nLegend\nX;A;Hidden;ДавлениеДавление\n0;1;2;3\n1;2;3;4\n");
    t.diagram.columns[2].visible = 0;
    t.diagram.lineWidth = 3;
    ExpectMatchesGolden(t.Trace(), "render/legend.trace");
}

TEST(PaintGolden, SpectrumTitleAndColumn) {
    TestDiagram t(kTallClient);
    t.Load("X=number\nWave\nX;A\n0;1\n1;3\n2;1\n3;-1\n4;1\n5;3\n6;1\n7;-1\n");
    t.diagram.showSpectrum = true;
    ExpectMatchesGolden(t.Trace(), "render/spectrum.trace");
}

TEST(PaintGolden, TableWithoutRows) {
    TestDiagram t(kTallClient);
    t.Load("No rows\nX;A;B\n");
    ExpectMatchesGolden(t.Trace(), "render/no_rows.trace");
}

TEST(PaintGolden, OneRow) {
    TestDiagram t(kTallClient);
    t.Load("X=number\nOne row\nX;A\n5;7\n");
    t.diagram.showMarks = true;
    t.diagram.markerX = 5;
    ExpectMatchesGolden(t.Trace(), "render/one_row.trace");
}

TEST(PaintGolden, Examples) {
    for (const char* name : {"pump_test", "logger_datetime", "word_labels", "sinusoid"}) {
        SCOPED_TRACE(name);
        TestDiagram t;
        ASSERT_TRUE(t.diagram.LoadFile(ExamplePath(std::string(name) + ".txt").string()));
        EXPECT_TRUE(t.host.warnings.empty());
        ExpectMatchesGolden(t.Trace(), std::string("render/example_") + name + ".trace");
    }
}
