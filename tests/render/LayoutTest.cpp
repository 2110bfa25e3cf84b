#include "diagram/CDiagram.h"
#include "render/PlotLayout.h"

#include <gtest/gtest.h>

TEST(PlotLayout, DefaultFrameWithLegendLeavesHundredPixelsOnTheRight) {
    CDiagram diagram(nullptr);
    const PlotLayout layout = ComputePlotLayout(diagram);
    EXPECT_EQ(layout.legendMargin, 100);
    EXPECT_EQ(layout.plotRect, (Rect{75, 75, 665, 465}));
}

TEST(PlotLayout, WithoutLegendTheRightMarginIsTheFrameMargin) {
    CDiagram diagram(nullptr);
    diagram.showLegend = false;
    const PlotLayout layout = ComputePlotLayout(diagram);
    EXPECT_EQ(layout.legendMargin, 10);
    EXPECT_EQ(layout.plotRect, (Rect{75, 75, 755, 465}));
}

TEST(PlotLayout, FollowsFrameAndInset) {
    CDiagram diagram(nullptr);
    diagram.frameRect = Rect{10, 10, 790, 490};
    diagram.plotInset = 20;
    EXPECT_EQ(ComputePlotLayout(diagram).plotRect, (Rect{30, 30, 670, 470}));
}

TEST(XStep, SpreadsRowsEvenlyAndTakesTheMeanXStep) {
    const auto step = ComputeXStep(600, 5, 2.0, 10.0);
    ASSERT_TRUE(step);
    EXPECT_DOUBLE_EQ(step->gridStepPx, 150.0);
    EXPECT_DOUBLE_EQ(step->delta, 2.0);
}

TEST(XStep, IsUndefinedWithoutTwoRows) {
    EXPECT_FALSE(ComputeXStep(600, 0, 0.0, 0.0));
    EXPECT_FALSE(ComputeXStep(600, 1, 3.0, 3.0));
}
