#include "render/Scales.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A diagram whose plot is (100, 50)-(500, 450) with one row every 100 pixels.
void SetPlot(CDiagram& diagram) {
    diagram.plotRect = Rect{100, 50, 500, 450};
    diagram.xGridStepPx = 100.0;
}

} // namespace

TEST(XScale, NumberXPlacesRowsByValue) {
    TestDiagram t;
    t.Load("X=number\nT\nX;A\n10;0\n11;0\n20;0\n30;0\n50;0\n");
    SetPlot(t.diagram);
    const XScale x(t.diagram);
    ASSERT_TRUE(x.PlacesRows());
    const int expected[] = {100, 110, 200, 300, 500};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(x.RowPixel(j), expected[j]) << "row " << j;
}

TEST(XScale, LabelXPlacesRowsEvenlyWhateverTheCellsSay) {
    TestDiagram t;
    t.Load("T\nX;A\n10;0\n11;0\n20;0\n30;0\n50;0\n");
    SetPlot(t.diagram);
    const XScale x(t.diagram);
    ASSERT_TRUE(x.PlacesRows());
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(x.RowPixel(j), 100 + 100 * j) << "row " << j;
}

TEST(XScale, ValuesMapLinearlyAndBackEvenForLabels) {
    TestDiagram t;
    t.Load("T\nX;A\n10;0\n11;0\n50;0\n");
    SetPlot(t.diagram);
    const XScale x(t.diagram);
    EXPECT_EQ(x.ValuePixel(30.0), 300);
    EXPECT_EQ(x.ValuePixel(0.0), 0); // left of the plot: not clipped
    EXPECT_DOUBLE_EQ(x.PixelValue(100), 10.0);
    EXPECT_DOUBLE_EQ(x.PixelValue(500), 50.0);
    EXPECT_DOUBLE_EQ(x.PixelValue(250), 25.0);
}

TEST(XScale, EqualFirstAndLastXLeaveRowsUnplacedAndValuesAtTheLeftEdge) {
    TestDiagram t;
    t.Load("X=number\nT\nX;A\nabc;1\n7;2\nxyz;3\n"); // first and last read as 0
    SetPlot(t.diagram);
    const XScale x(t.diagram);
    EXPECT_FALSE(x.PlacesRows());
    EXPECT_FALSE(x.MapsValues());
    EXPECT_EQ(x.ValuePixel(5.0), 100);
    EXPECT_DOUBLE_EQ(x.PixelValue(300), 0.0);
}

TEST(XScale, OneRowPlacesNothing) {
    TestDiagram labels;
    labels.Load("T\nX;A\nonly;1\n");
    SetPlot(labels.diagram);
    EXPECT_FALSE(XScale(labels.diagram).PlacesRows());
    EXPECT_EQ(XScale(labels.diagram).ValuePixel(3.0), 100);
}

TEST(YScale, CurvesTruncateValueAndBottomSeparately) {
    CDiagram diagram(nullptr);
    diagram.plotRect = Rect{0, 0, 100, 400};
    diagram.yMin = -0.7;
    diagram.yDelta = 1.0;
    const YScale y(diagram);
    ASSERT_TRUE(y.Defined());
    // 400 - trunc(0.3 * 50) + trunc(-0.7 * 50) = 400 - 15 - 35 = 350, while
    // the single truncation of 400 - (0.3 + 0.7) * 50 is exactly 350 too;
    // 0.31 tells them apart: 400 - 15 - 35 = 350 against trunc(349.5) = 349.
    EXPECT_EQ(y.CurvePixel(0.3), 350);
    EXPECT_EQ(y.CurvePixel(0.31), 350);
    EXPECT_EQ(y.ValuePixel(0.31), 349);
    EXPECT_EQ(y.CurvePixel(-0.7), 400); // yMin lands on the bottom edge
    EXPECT_EQ(y.CurvePixel(0.3 + 1.0), 300);
}

TEST(YScale, PixelToValue) {
    CDiagram diagram(nullptr);
    diagram.plotRect = Rect{0, 100, 100, 500};
    diagram.yMin = 10.0;
    diagram.yDelta = 5.0;
    const YScale y(diagram);
    EXPECT_DOUBLE_EQ(y.PixelValue(480), 12.0); // 20 pixels up: yMin + 2
    EXPECT_DOUBLE_EQ(y.PixelValue(500), 10.0);
    EXPECT_EQ(y.ValuePixel(12.0), 480);
}

TEST(YScale, ZeroOrNegativeStepIsUndefined) {
    CDiagram diagram(nullptr);
    diagram.plotRect = Rect{0, 100, 100, 500};
    for (double delta : {0.0, -5.0}) {
        SCOPED_TRACE(delta);
        diagram.yDelta = delta;
        const YScale y(diagram);
        EXPECT_FALSE(y.Defined());
        EXPECT_EQ(y.ValuePixel(3.0), 500);
    }
    diagram.yDelta = 5.0;
    diagram.yGridStepPx = 0.0;
    EXPECT_FALSE(YScale(diagram).Defined());
    EXPECT_DOUBLE_EQ(YScale(diagram).PixelValue(200), diagram.yMin);
}

TEST(ShownColumns, SpectrumColumnOnlyWhileShown) {
    TestDiagram t;
    t.Load("T\nX;A;B\n1;2;3\n");
    EXPECT_EQ(LastShownColumn(t.diagram), 2);
    t.diagram.showSpectrum = true;
    EXPECT_EQ(LastShownColumn(t.diagram), 3);
    CDiagram empty(nullptr);
    EXPECT_LT(LastShownColumn(empty), 1);
}
