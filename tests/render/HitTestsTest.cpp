#include "RenderTestSupport.h"
#include "diagram/InvalidArgumentError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// X 0..10 over the plot (65, 65)-(635, 465); A rises as X, B falls as
// 10 - X, so they cross at X 5 (pixel 350) with the value 5 (pixel 415).
struct Crossing : testing::Test {
    void SetUp() override {
        t.Load("X=number\nT\nX;A;B\n0;0;10\n2;2;8\n4;4;6\n6;6;4\n8;8;2\n10;10;0\n");
        t.diagram.yAutoscale = false;
        t.diagram.yDelta = 5; // 10 pixels per unit from 0 at the bottom
        t.Paint();
    }
    TestDiagram t{Rect{0, 0, 800, 530}};
    std::string xText;
};

} // namespace

TEST_F(Crossing, PlotEdgesConvertAndOnePixelOutsideDoesNot) {
    double x = -1, y = -1;
    EXPECT_TRUE(t.diagram.ValueAtPixel(65, 465, &x, &y));
    EXPECT_DOUBLE_EQ(x, 0.0);
    EXPECT_DOUBLE_EQ(y, 0.0);
    EXPECT_TRUE(t.diagram.ValueAtPixel(635, 65, &x, &y));
    EXPECT_DOUBLE_EQ(x, 10.0);
    EXPECT_DOUBLE_EQ(y, 40.0);
    EXPECT_FALSE(t.diagram.ValueAtPixel(64, 300, &x, nullptr));
    EXPECT_FALSE(t.diagram.ValueAtPixel(636, 300, &x, nullptr));
    EXPECT_FALSE(t.diagram.ValueAtPixel(300, 466, nullptr, &y));
    EXPECT_FALSE(t.diagram.ValueAtPixel(300, 64, nullptr, &y));
    // 20 pixels above the bottom with 5 per 50 pixels: yMin + 2.
    EXPECT_TRUE(t.diagram.ValueAtPixel(300, 445, nullptr, &y));
    EXPECT_DOUBLE_EQ(y, 2.0);
}

TEST_F(Crossing, XIsTestedFirstAndDeliveredWhenOnlyYFails) {
    double x = -1, y = -1;
    EXPECT_FALSE(t.diagram.ValueAtPixel(700, 1000, &x, &y));
    EXPECT_EQ(x, -1);
    EXPECT_FALSE(t.diagram.ValueAtPixel(350, 1000, &x, &y));
    EXPECT_DOUBLE_EQ(x, 5.0);
    EXPECT_EQ(y, -1);
}

TEST_F(Crossing, PixelAtValueTruncatesOnceWhereCurvesTruncateTwice) {
    EXPECT_EQ(t.diagram.PixelAtValue(5.0, 2.0), (Point{350, 445}));
    EXPECT_EQ(t.diagram.PixelAtValue(-1.0, 0.55), (Point{8, 459}));
    t.diagram.yMin = -0.7;
    t.diagram.yDelta = 1; // 50 pixels per unit
    // 465 - trunc(15.5) + trunc(-35) = 415 for the curves, trunc(414.5) here.
    EXPECT_EQ(t.diagram.PixelAtValue(5.0, 0.31).y, 414);
}

TEST_F(Crossing, CrossingCurvesReportTheLowerColumnEvenWhenHidden) {
    t.diagram.columns[1].visible = 0;
    double x = 0, y = 0;
    int column = 0;
    ASSERT_TRUE(t.diagram.HitTestCurves(350, 418, &x, &y, &column, xText));
    EXPECT_EQ(column, 1);
    EXPECT_DOUBLE_EQ(x, 5.0);
    EXPECT_DOUBLE_EQ(y, 5.0);
    EXPECT_EQ(xText, "");
    // Exactly five pixels above or below the curves still hits, six do not;
    // outside the plot: no hit.
    EXPECT_TRUE(t.diagram.HitTestCurves(350, 410, &x, &y, &column, xText));
    EXPECT_TRUE(t.diagram.HitTestCurves(350, 420, &x, &y, &column, xText));
    EXPECT_FALSE(t.diagram.HitTestCurves(350, 409, &x, &y, &column, xText));
    EXPECT_FALSE(t.diagram.HitTestCurves(350, 421, &x, &y, &column, xText));
    EXPECT_FALSE(t.diagram.HitTestCurves(64, 465, &x, &y, &column, xText));
}

TEST_F(Crossing, ValuesModeInterpolatesEveryShownColumnAtAnyHeight) {
    double values[4] = {-1, -1, -1, -1};
    // Pixel 122 is X 1: between rows 0 and 1, A 1 and B 9.
    ASSERT_TRUE(t.diagram.HitTestCurves(122, 70, nullptr, nullptr, nullptr, xText, values));
    EXPECT_EQ(values[0], -1);
    EXPECT_DOUBLE_EQ(values[1], 1.0);
    EXPECT_DOUBLE_EQ(values[2], 9.0);
    EXPECT_EQ(values[3], -1); // the spectrum column is not shown
    EXPECT_FALSE(t.diagram.HitTestCurves(636, 70, nullptr, nullptr, nullptr, xText, values));
}

TEST_F(Crossing, LegendClickTogglesTwiceWithinItsBox) {
    const ColumnRecord& b = t.diagram.columns[2];
    ASSERT_EQ(b.legendX, 645);
    ASSERT_EQ(b.legendY, 105);
    EXPECT_FALSE(t.diagram.HitTestLegend(645, 105)); // edges are outside
    EXPECT_FALSE(t.diagram.HitTestLegend(695, 105));
    EXPECT_FALSE(t.diagram.HitTestLegend(660, 115));
    EXPECT_TRUE(t.diagram.HitTestLegend(694, 114));
    EXPECT_EQ(b.visible, 0);
    EXPECT_TRUE(t.diagram.HitTestLegend(646, 96));
    EXPECT_EQ(b.visible, 1);
    // The spectrum entry, never drawn, cannot be hit at its stale (0, 0).
    EXPECT_FALSE(t.diagram.HitTestLegend(1, 1));
    t.diagram.showLegend = false;
    EXPECT_FALSE(t.diagram.HitTestLegend(660, 105));
}

TEST(HitTestCurves, DateTimeXTextIsADateOrATime) {
    TestDiagram dates, times;
    dates.Load("X=datetime\nT\nX;A\n01/05/2004;1\n01/07/2004;1\n");
    times.Load("X=datetime\nT\nX;A\n06:00;1\n18:00;1\n");
    std::string text;
    double values[3];
    dates.Paint();
    times.Paint();
    ASSERT_TRUE(dates.diagram.HitTestCurves(65, 0, nullptr, nullptr, nullptr, text, values));
    EXPECT_EQ(text, "01/05/04");
    ASSERT_TRUE(times.diagram.HitTestCurves(65, 0, nullptr, nullptr, nullptr, text, values));
    EXPECT_EQ(text, "06:00:00");
}

TEST(HitTestCurves, EqualXValuesGiveTheFirstRowsValue) {
    TestDiagram t;
    t.Load("Words\nX;A\nmon;3\ntue;5\nwed;9\n"); // every X reads as 0
    t.Paint();
    std::string text;
    double values[3] = {};
    ASSERT_TRUE(t.diagram.HitTestCurves(300, 0, nullptr, nullptr, nullptr, text, values));
    EXPECT_DOUBLE_EQ(values[1], 3.0);
    double x = 1;
    EXPECT_TRUE(t.diagram.ValueAtPixel(300, 100, &x, nullptr));
    EXPECT_DOUBLE_EQ(x, 0.0);
}

TEST(HitTests, WithoutRowsMappingIsAnInvalidArgumentAndTheReadoutFindsNothing) {
    TestDiagram t;
    t.Load("T\nX;A\n");
    t.Paint();
    double x = 0;
    std::string text;
    EXPECT_THROW(t.diagram.ValueAtPixel(300, 300, &x, nullptr), InvalidArgumentError);
    EXPECT_THROW(t.diagram.PixelAtValue(1, 1), InvalidArgumentError);
    EXPECT_FALSE(t.diagram.HitTestCurves(300, 300, &x, nullptr, nullptr, text));
    CDiagram empty(nullptr);
    EXPECT_FALSE(empty.HitTestCurves(300, 300, &x, nullptr, nullptr, text));
    EXPECT_FALSE(empty.HitTestLegend(1, 1));
}

TEST_F(Crossing, ValuesTableTooSmallForTheShownColumnsIsRefusedUntouched) {
    double values[3] = {-1, -1, -1}; // columns 1 and 2 fit, the spectrum column does not
    t.diagram.showSpectrum = true;
    EXPECT_THROW(t.diagram.HitTestCurves(122, 70, nullptr, nullptr, nullptr, xText, values),
                 InvalidArgumentError);
    EXPECT_EQ(values[1], -1);
    EXPECT_EQ(values[2], -1);
}

TEST_F(Crossing, TypedHelpersGiveTheCurveUnderAPixelAndEveryShownValue) {
    const auto hit = t.diagram.CurveAtPixel(350, 418);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->column, 1);
    EXPECT_DOUBLE_EQ(hit->x, 5.0);
    EXPECT_DOUBLE_EQ(hit->y, 5.0);
    EXPECT_FALSE(t.diagram.CurveAtPixel(350, 409).has_value());

    t.diagram.showSpectrum = true;
    const auto values = t.diagram.CurveValuesAtPixel(122);
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->values.size(), 4u);
    EXPECT_DOUBLE_EQ(values->x, 1.0);
    EXPECT_DOUBLE_EQ(values->values[1], 1.0);
    EXPECT_DOUBLE_EQ(values->values[2], 9.0);
    EXPECT_FALSE(t.diagram.CurveValuesAtPixel(636).has_value());
}

// Clicks placed by what a paint drew, not by fixed numbers: the middle of each
// entry's sample line and the first character of its name hit that entry,
// the sample line's left end and a point left of it do not.
TEST(HitTestLegend, FollowsTheDrawnLegendForSizesAndFonts) {
    struct Case {
        Rect client;
        int labelHeight;
        int lineWidth;
    };
    const Case cases[] = {{Rect{0, 0, 800, 500}, 14, 1},
                          {Rect{0, 0, 1600, 300}, 30, 4},
                          {Rect{0, 0, 260, 900}, 9, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.client.right << "x" << c.client.bottom << ", font " << c.labelHeight);
        TestDiagram t(c.client);
        t.Load("X=number\nT\nX;Alpha;Beta;Gamma\n0;1;2;3\n1;2;3;4\n");
        t.diagram.labelFont.height = c.labelHeight;
        t.diagram.lineWidth = c.lineWidth;
        const auto ops = t.Paint();
        const auto names = OpsOf<TextOp>(ops);
        for (int column = 1; column <= 3; ++column) {
            const ColumnRecord& record = t.diagram.columns[column];
            SCOPED_TRACE(record.name);
            LineOp sample;
            for (const LineOp& line : LinesOfColor(ops, record.color))
                if (line.pen.width == c.lineWidth + 1)
                    sample = line;
            ASSERT_EQ(sample.from.y, sample.to.y);
            const auto name = std::find_if(names.begin(), names.end(), [&](const TextOp& text) {
                return text.text == record.name && text.font == t.diagram.labelFont;
            });
            ASSERT_NE(name, names.end());

            EXPECT_TRUE(t.diagram.HitTestLegend((sample.from.x + sample.to.x) / 2, sample.from.y));
            EXPECT_EQ(record.visible, 0);
            EXPECT_TRUE(t.diagram.HitTestLegend(name->at.x + 1, name->at.y + 1));
            EXPECT_EQ(record.visible, 1);
            EXPECT_FALSE(t.diagram.HitTestLegend(sample.from.x, sample.from.y));
            EXPECT_FALSE(t.diagram.HitTestLegend(sample.from.x - 3, sample.from.y));
        }
        for (int column = 1; column <= 3; ++column)
            EXPECT_EQ(t.diagram.columns[column].visible, 1);
    }
}
