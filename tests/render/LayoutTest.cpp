#include "RenderTestSupport.h"
#include "render/PaintLayout.h"

#include <gtest/gtest.h>

TEST(PaintLayout, PlotInsetInsideTheFrameWithRoomForTheLegendOnTheRight) {
    TestDiagram t(Rect{0, 0, 840, 540}); // the frame (10, 10)-(830, 530)
    t.Load("T\nX;A\n");
    PaintLayout layout = ComputePaintLayout(t.diagram);
    EXPECT_EQ(layout.frameRect, (Rect{10, 10, 830, 530}));
    EXPECT_EQ(layout.legendMargin, 100);
    EXPECT_EQ(layout.plotRect, (Rect{65, 65, 675, 475}));
    t.diagram.showLegend = false;
    layout = ComputePaintLayout(t.diagram);
    EXPECT_EQ(layout.legendMargin, 10);
    EXPECT_EQ(layout.plotRect, (Rect{65, 65, 765, 475}));
    t.diagram.fitToWindow = false; // the frame stays where it was
    t.diagram.frameRect = Rect{20, 20, 820, 520};
    EXPECT_EQ(ComputePaintLayout(t.diagram).plotRect, (Rect{75, 75, 755, 465}));
}

// Computing changes nothing: the diagram takes the layout when it paints.
TEST(PaintLayout, IsComputedWithoutTouchingTheDiagramAndStoredByThePaint) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A;B\n0;0;3\n2;21;4\n6;5;1\n");
    const PaintLayout layout = ComputePaintLayout(t.diagram);
    EXPECT_EQ(t.diagram.plotRect, (Rect{75, 75, 665, 465}));
    EXPECT_EQ(t.diagram.yDelta, 5.0);
    EXPECT_EQ(t.diagram.columns[2].legendY, 0);
    EXPECT_DOUBLE_EQ(layout.xGridStepPx, 285.0);
    EXPECT_DOUBLE_EQ(layout.xDelta, 3.0);
    EXPECT_DOUBLE_EQ(layout.yDelta, 4.0);
    EXPECT_DOUBLE_EQ(layout.yMin, -4.0);
    EXPECT_EQ(std::vector<int>(layout.rows->Pixels().begin(), layout.rows->Pixels().end()),
              (std::vector<int>{65, 255, 635}));

    t.Paint();
    EXPECT_EQ(t.diagram.plotRect, layout.plotRect);
    EXPECT_EQ(t.diagram.xGridStepPx, layout.xGridStepPx);
    EXPECT_EQ(t.diagram.xDelta, layout.xDelta);
    EXPECT_EQ(t.diagram.yMin, layout.yMin);
    EXPECT_EQ(t.diagram.yDelta, layout.yDelta);
    EXPECT_EQ(t.diagram.columns[2].legendX, 645);
    EXPECT_EQ(t.diagram.columns[2].legendY, 105);
}

namespace {

std::vector<int> RowPixelsOf(const CDiagram& diagram) {
    const PaintLayout layout = ComputePaintLayout(diagram);
    return std::vector<int>(layout.rows->Pixels().begin(), layout.rows->Pixels().end());
}

} // namespace

// The row pixel columns are kept between paints; every change that moves a
// row must renew them: the window's size, the X range and step, a reload of
// as many rows with other X values, and rows added to the X column.
TEST(PaintLayout, KeptRowPixelsFollowSizeSettingsReloadsAndAddedRows) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;1\n2;2\n6;3\n");
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 255, 635}));
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 255, 635}));

    t.host.client = Rect{0, 0, 420, 530}; // plot 65 .. 255
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 128, 255}));

    t.diagram.xIsNumber = false; // placed by index: half the width per row
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 160, 255}));
    t.diagram.xIsNumber = true;

    t.Load("X=number\nT\nX;A\n0;1\n4;2\n6;3\n");
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 191, 255}));

    t.diagram.values[0].Add("12");
    t.diagram.values[1].Add("4");
    EXPECT_EQ(RowPixelsOf(t.diagram), (std::vector<int>{65, 128, 160, 255}));
}

// The curves visit rows up to the first one right of the plot; the X axis
// stops before it. A row whose X lies beyond the last row's is such a one.
TEST(PaintLayout, FirstRowPastThePlot) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;1\n2;2\n6;3\n");
    EXPECT_EQ(ComputePaintLayout(t.diagram).firstRowPastPlot, 3u);
    t.Load("X=number\nT\nX;A\n0;1\n10;2\n4;3\n5;4\n");
    const PaintLayout layout = ComputePaintLayout(t.diagram);
    EXPECT_EQ(std::vector<int>(layout.rows->Pixels().begin(), layout.rows->Pixels().end()),
              (std::vector<int>{65, 1205, 521, 635}));
    EXPECT_EQ(layout.firstRowPastPlot, 1u);
}
