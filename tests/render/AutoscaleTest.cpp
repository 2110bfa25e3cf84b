#include "render/Autoscale.h"
#include "RenderTestSupport.h"
#include "render/PaintLayout.h"

#include <gtest/gtest.h>

#include <cmath>

// Plot height 400 and 50 pixels per step: k = 7 whole steps.
TEST(Autoscale, StepRoundedUpToAMultipleOfItsPowerOfTenAndBottomOneStepBelow) {
    struct Case {
        double min, max, yDelta, yMin;
    };
    const Case cases[] = {
        {3.2, 17.9, 3.0, 0.0}, // a raw step of 2.1 becomes 3
        {-0.35, 0.82, 0.2, -0.4},
        {0.0, 21.0, 4.0, -4.0}, // a raw step of exactly 3 still becomes 4
        {0.0, 700.0, 200.0, -200.0},
        {-7.9, 6.8, 3.0, -9.0},       // trunc(-2.63) - 1 steps
        {5e9, 5e9 + 7, 2.0, 5e9 - 2}, // far beyond the range of int
        {0.0, 0.0, 1.0, -1.0},        // equal values: a step of 1
        {42.5, 42.5, 1.0, 41.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "min " << c.min << ", max " << c.max);
        const auto scale = ComputeAutoscale(ValueRange{c.min, c.max}, 400, 50);
        ASSERT_TRUE(scale);
        EXPECT_DOUBLE_EQ(scale->yDelta, c.yDelta);
        EXPECT_DOUBLE_EQ(scale->yMin, c.yMin);
    }
}

TEST(Autoscale, UndefinedScalesAreRefused) {
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, 99, 50)); // k = 0
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, -30, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, 400, 0));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{-1.7e308, 1.7e308}, 400, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, HUGE_VAL}, 400, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 1e-320}, 400, 50)); // no power of ten
    EXPECT_TRUE(ComputeAutoscale(ValueRange{0, 21}, 100, 50));      // exactly two steps
}

TEST(ShownValueRange, SkipsEmptyAndSingleBlankCellsButReadsWordsAsZero) {
    TestDiagram t;
    // A holds 5, " " and 4; B holds "abc", 7 and "" (a missing last token).
    t.Load("T\nX;A;B\n1;5;abc\n2; ;7\n3;4\n");
    auto range = ShownValueRange(t.diagram);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->min, 0.0);
    EXPECT_DOUBLE_EQ(range->max, 7.0);
    // The spectrum column counts only while it is shown.
    t.diagram.values[3].RemoveAll();
    for (const char* cell : {"-3", "9", ""})
        t.diagram.values[3].Add(cell);
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->max, 7.0);
    t.diagram.showSpectrum = true;
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->max, 9.0);
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->min, -3.0);
}

TEST(ShownValueRange, IsEmptyWithoutRowsOrTable) {
    TestDiagram noRows;
    noRows.Load("T\nX;A\n");
    EXPECT_FALSE(ShownValueRange(noRows.diagram));
    CDiagram empty(nullptr);
    EXPECT_FALSE(ShownValueRange(empty));
}

TEST(AutoscaleY, UsesThePlotOfTheLayout) {
    TestDiagram t;
    t.Load("T\nX;A\n0;0\n1;21\n");
    PaintLayout layout;
    layout.plotRect = Rect{75, 65, 675, 465}; // 400 high
    t.diagram.AutoscaleY(layout);
    EXPECT_DOUBLE_EQ(layout.yDelta, 4.0);
    EXPECT_DOUBLE_EQ(layout.yMin, -4.0);
    layout.plotRect.bottom = 165; // 100 high: k = 1
    t.diagram.AutoscaleY(layout);
    EXPECT_DOUBLE_EQ(layout.yDelta, 30.0);
    EXPECT_DOUBLE_EQ(layout.yMin, -30.0);
    layout.plotRect.bottom = 164; // 99 high: undefined, the layout keeps its range
    t.diagram.AutoscaleY(layout);
    EXPECT_DOUBLE_EQ(layout.yDelta, 30.0);
    EXPECT_DOUBLE_EQ(t.diagram.yDelta, 5.0); // the diagram itself is not touched
}

// The shown range combines the columns' ranges exactly as one scan over every
// shown cell in column order would, also beyond the scan's start of +-1e11.
TEST(ShownValueRange, EqualsAScanOverEveryShownCell) {
    TestDiagram t;
    t.Load("T\nX;A;B;C\n1;-2e11;nan;\n2;-0; ;3e11\n3;5;nan;-1e12\n");
    double max = -1e11, min = 1e11;
    for (int c = 1; c <= 3; ++c)
        for (int j = 0; j < 3; ++j) {
            const CellText text = t.diagram.values[c][j];
            const double value = t.diagram.values[c].NumberAt(j);
            if (value == 0 && (text.empty() || text == " "))
                continue;
            max = value > max ? value : max;
            min = value < min ? value : min;
        }
    const auto range = ShownValueRange(t.diagram);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->max, 3e11);
    EXPECT_EQ(range->min, -1e12);
    EXPECT_EQ(range->max, max);
    EXPECT_EQ(range->min, min);
    // A column of NaNs alone counts, with the scan's start as its range.
    TestDiagram nans;
    nans.Load("T\nX;A\n1;nan\n2;nan\n");
    const auto start = ShownValueRange(nans.diagram);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->max, -1e11);
    EXPECT_EQ(start->min, 1e11);
}
