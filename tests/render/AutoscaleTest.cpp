#include "render/Autoscale.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct AutoscaleCase {
    double min, max;
    double yDelta, yMin;
};

} // namespace

// Plot height 400 and 50 pixels per step: k = 7 whole steps.
TEST(Autoscale, WorkedTableComesOutExactly) {
    const AutoscaleCase cases[] = {
        {3.2, 17.9, 3.0, 0.0},
        {-0.35, 0.82, 0.2, -0.4},
        {0.0, 21.0, 4.0, -4.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "min " << c.min << ", max " << c.max);
        const auto scale = ComputeAutoscale(ValueRange{c.min, c.max}, 400, 50);
        ASSERT_TRUE(scale);
        EXPECT_DOUBLE_EQ(scale->yDelta, c.yDelta);
        EXPECT_DOUBLE_EQ(scale->yMin, c.yMin);
    }
}

TEST(Autoscale, RawStepIsAlwaysRoundedUp) {
    // (21 - 0) / 7 = 3 exactly, still 4.
    EXPECT_DOUBLE_EQ(ComputeAutoscale(ValueRange{0, 21}, 400, 50)->yDelta, 4.0);
    // 700 / 7 = 100: the power is 100, the step 200.
    EXPECT_DOUBLE_EQ(ComputeAutoscale(ValueRange{0, 700}, 400, 50)->yDelta, 200.0);
}

TEST(Autoscale, BottomIsOneStepBelowTheTruncatedMultiple) {
    // min -7.9 with step 3 (range 14.7): trunc(-2.63) - 1 = -3 steps.
    const auto scale = ComputeAutoscale(ValueRange{-7.9, 6.8}, 400, 50);
    ASSERT_TRUE(scale);
    EXPECT_DOUBLE_EQ(scale->yDelta, 3.0);
    EXPECT_DOUBLE_EQ(scale->yMin, -9.0);
}

TEST(Autoscale, LargeValuesKeepTheirBottomInsteadOfOverflowing) {
    // min / yDelta is far beyond the range of int.
    const auto scale = ComputeAutoscale(ValueRange{5e9, 5e9 + 7}, 400, 50);
    ASSERT_TRUE(scale);
    EXPECT_DOUBLE_EQ(scale->yDelta, 2.0);
    EXPECT_DOUBLE_EQ(scale->yMin, 5e9 - 2);
}

TEST(Autoscale, EqualValuesGetAStepOfOne) {
    const auto zero = ComputeAutoscale(ValueRange{0, 0}, 400, 50);
    ASSERT_TRUE(zero);
    EXPECT_DOUBLE_EQ(zero->yDelta, 1.0);
    EXPECT_DOUBLE_EQ(zero->yMin, -1.0);
    const auto flat = ComputeAutoscale(ValueRange{42.5, 42.5}, 400, 50);
    ASSERT_TRUE(flat);
    EXPECT_DOUBLE_EQ(flat->yDelta, 1.0);
    EXPECT_DOUBLE_EQ(flat->yMin, 41.0);
}

TEST(Autoscale, UndefinedScalesAreRefused) {
    // Shorter than two grid steps: no whole step fits (k = 0).
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, 99, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, -30, 50));
    // A range too wide for doubles, and infinite values.
    EXPECT_FALSE(ComputeAutoscale(ValueRange{-1.7e308, 1.7e308}, 400, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, HUGE_VAL}, 400, 50));
    // A step too small to have a power of ten.
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 1e-320}, 400, 50));
    EXPECT_FALSE(ComputeAutoscale(ValueRange{0, 21}, 400, 0));
    // With exactly two grid steps it works.
    EXPECT_TRUE(ComputeAutoscale(ValueRange{0, 21}, 100, 50));
}

TEST(ShownValueRange, SkipsEmptyAndSingleBlankCellsButReadsWordsAsZero) {
    TestDiagram t;
    // A holds 5, " " and 4; B holds "abc", 7 and "" (a missing last token).
    t.Load("T\nX;A;B\n1;5;abc\n2; ;7\n3;4\n");
    const auto range = ShownValueRange(t.diagram);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->min, 0.0); // "abc"
    EXPECT_DOUBLE_EQ(range->max, 7.0);
}

TEST(ShownValueRange, CountsTheSpectrumColumnOnlyWhileShown) {
    TestDiagram t;
    t.Load("T\nX;A\n0;1\n1;2\n2;1\n3;2\n");
    t.diagram.values[2].RemoveAll();
    for (const char* cell : {"0.5", "9", "0.5", "0.5"})
        t.diagram.values[2].Add(cell);
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->max, 2.0);
    t.diagram.showSpectrum = true;
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->max, 9.0);
    EXPECT_DOUBLE_EQ(ShownValueRange(t.diagram)->min, 0.5);
}

TEST(ShownValueRange, IsEmptyWithoutRowsOrCountingCells) {
    TestDiagram noRows;
    noRows.Load("T\nX;A\n");
    EXPECT_FALSE(ShownValueRange(noRows.diagram));
    TestDiagram blanks;
    blanks.Load("T\nX;A;B\n1; ;2\n");
    blanks.diagram.values[2].RemoveAll();
    blanks.diagram.values[2].Add("");
    EXPECT_FALSE(ShownValueRange(blanks.diagram));
    CDiagram empty(nullptr);
    EXPECT_FALSE(ShownValueRange(empty));
}

TEST(AutoscaleY, KeepsTheScaleWhenItCannotComputeOne) {
    TestDiagram t;
    t.Load("T\nX;A\n");
    t.diagram.yMin = 3;
    t.diagram.yDelta = 7;
    t.diagram.AutoscaleY();
    EXPECT_EQ(t.diagram.yMin, 3);
    EXPECT_EQ(t.diagram.yDelta, 7);
}

TEST(AutoscaleY, UsesThePlotOfThisPaint) {
    TestDiagram t;
    t.Load("T\nX;A\n0;0\n1;21\n");
    t.diagram.plotRect = Rect{75, 65, 675, 465}; // 400 high
    t.diagram.AutoscaleY();
    EXPECT_DOUBLE_EQ(t.diagram.yDelta, 4.0);
    EXPECT_DOUBLE_EQ(t.diagram.yMin, -4.0);
    t.diagram.plotRect = Rect{75, 65, 675, 165}; // 100 high: k = 1
    t.diagram.AutoscaleY();
    EXPECT_DOUBLE_EQ(t.diagram.yDelta, 30.0);
    EXPECT_DOUBLE_EQ(t.diagram.yMin, -30.0);
}
