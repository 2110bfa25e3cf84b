#include "RenderTestSupport.h"
#include "render/PaintSteps.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const COLORREF kBlue = RGB(0, 0, 255);

std::vector<std::pair<Point, Point>> Segments(const std::vector<LineOp>& lines) {
    std::vector<std::pair<Point, Point>> segments;
    for (const LineOp& line : lines)
        segments.emplace_back(line.from, line.to);
    return segments;
}

} // namespace

// Plot (65, 65)-(635, 465); a fixed scale of 0..40, 10 pixels per unit.
TEST(Curve, SegmentLeavingThePlotIsLeftOutWholeWithTheMarkAtItsEnd) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;10\n1;20\n2;50\n3;30\n4;-5\n5;25\n6;35\n7;40\n");
    t.diagram.yAutoscale = false;
    t.diagram.yDelta = 5;
    t.diagram.showMarks = true;
    const auto ops = t.Paint();
    const std::vector<std::pair<Point, Point>> expected = {
        {{65, 365}, {146, 265}}, {{472, 215}, {553, 115}}, {{553, 115}, {635, 65}}};
    auto curve = LinesOfColor(ops, kBlue);
    ASSERT_EQ(curve.size(), 4u);
    EXPECT_EQ(curve.front().pen.width, 2); // the legend sample comes first
    curve.erase(curve.begin());
    EXPECT_EQ(Segments(curve), expected);
    // Marks on rows 0, 1, 6 and 7: row 5 lies inside but its segment does not.
    const std::vector<FillOp> marks = OpsOf<FillOp>(ops);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[0], (FillOp{63, 363, 5, 5, 0}));
    EXPECT_EQ(marks[3], (FillOp{633, 63, 5, 5, 0}));
}

TEST(Curve, StopsAfterTheFirstPointRightOfThePlot) {
    // X 0, 10, 5: the second row lies far right of the last one.
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;1\n10;1\n5;1\n");
    t.diagram.showLegend = false;
    const auto ops = t.Paint();
    const auto curve = LinesOfColor(ops, kBlue);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_EQ(curve[0].from.x, 65);
    EXPECT_GT(curve[0].to.x, t.diagram.plotRect.right);
    // The X axis ends there as well: only row 0 is labelled.
    EXPECT_EQ(TextsInFont(ops, t.diagram.labelFont).front(), "0");
    EXPECT_EQ(LinesOfColor(ops, t.diagram.gridPen.color).front().from.x, 65);
}

TEST(Curve, HiddenColumnDrawsNothingButKeepsItsLegendEntry) {
    TestDiagram t;
    t.Load("X=number\nT\nX;A;B\n0;1;2\n1;2;3\n");
    t.diagram.columns[1].visible = 0;
    const auto ops = t.Paint();
    const auto pale = LinesOfColor(ops, PaleColor(kBlue));
    ASSERT_EQ(pale.size(), 1u);
    EXPECT_EQ(pale[0].pen.width, 2);
    EXPECT_TRUE(LinesOfColor(ops, kBlue).empty());
    EXPECT_EQ(LinesOfColor(ops, RGB(255, 0, 0)).size(), 2u); // B: sample and segment
}

TEST(Curve, EmptyCellDrawsAsZero) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;10\n1\n2;10\n"); // row 1 has an empty A
    t.diagram.yAutoscale = false;
    t.diagram.yMin = -5;
    t.diagram.yDelta = 5;
    auto curve = LinesOfColor(t.Paint(), kBlue);
    ASSERT_EQ(curve.size(), 3u);
    EXPECT_EQ(curve[1].to.y, 415); // the gap pulls the curve down to 0
}

// A curve handed over block by block, with rows above, inside and below rows
// 0 .. 100, blocks with nothing inside and a first point outside: the default
// draws exactly the segments whose two ends lie inside, in order, as lines.
TEST(Curve, CurveBlockDrawsTheSegmentsWithBothEndsInside) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> row(-30, 130);
    std::uniform_int_distribution<int> size(0, 700);
    const int top = 0, bottom = 100;
    CRecordingContext dc;
    std::vector<std::pair<Point, Point>> expected;
    Point previous{-5, 140}; // outside: the first segment is not drawn
    int x = 0;
    for (int block = 0; block < 12; ++block) {
        SCOPED_TRACE(testing::Message() << "block " << block);
        std::vector<int> columns, rows;
        const int count = block == 3 ? 300 : size(random);
        for (int k = 0; k < count; ++k) {
            x += k % 3 == 0;
            columns.push_back(x);
            // Block 3 lies wholly below the plot; block 5 runs along its edges.
            rows.push_back(block == 3 ? 101 + k % 9 : block == 5 ? (k % 2) * bottom : row(random));
        }
        Point from = previous;
        for (int k = 0; k < count; ++k) {
            const Point to{columns[k], rows[k]};
            if (from.y >= top && from.y <= bottom && to.y >= top && to.y <= bottom)
                expected.emplace_back(from, to);
            from = to;
        }
        previous =
            dc.CurveBlock(columns.data(), rows.data(), columns.size(), previous, top, bottom);
        ASSERT_EQ(previous, from);
    }
    const auto lines = OpsOf<LineOp>(dc.Ops());
    ASSERT_GT(expected.size(), 1000u);
    EXPECT_EQ(Segments(lines), expected);
}
