#include "diagram/CDiagram.h"
#include "render/PlotLayout.h"

#include <gtest/gtest.h>

TEST(PlotLayout, InsetInsideTheFrameAndRoomForTheLegendOnTheRight) {
    CDiagram diagram(nullptr); // default frame (20, 20)-(820, 520)
    PlotLayout layout = ComputePlotLayout(diagram);
    EXPECT_EQ(layout.legendMargin, 100);
    EXPECT_EQ(layout.plotRect, (Rect{75, 75, 665, 465}));
    diagram.showLegend = false;
    layout = ComputePlotLayout(diagram);
    EXPECT_EQ(layout.legendMargin, 10);
    EXPECT_EQ(layout.plotRect, (Rect{75, 75, 755, 465}));
}
