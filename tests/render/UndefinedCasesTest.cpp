// Cases where a scale divides by zero or the table is missing: the paint
// must finish, skip what it cannot place, and draw nothing at a garbage pixel.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Every coordinate of every operation lies near the window; a NaN or an
// infinity turned into a pixel would not.
void ExpectSanePixels(const std::vector<DrawOp>& ops) {
    const auto sane = [](int v) { return v > -5000 && v < 5000; };
    for (const LineOp& l : OpsOf<LineOp>(ops))
        EXPECT_TRUE(sane(l.from.x) && sane(l.from.y) && sane(l.to.x) && sane(l.to.y))
            << l.from.x << "," << l.from.y << " " << l.to.x << "," << l.to.y;
    for (const TextOp& t : OpsOf<TextOp>(ops)) {
        EXPECT_TRUE(sane(t.at.x) && sane(t.at.y)) << t.text;
        EXPECT_EQ(t.text.find("nan"), std::string::npos) << t.text;
        EXPECT_EQ(t.text.find("inf"), std::string::npos) << t.text;
    }
}

bool HasCurve(const std::vector<DrawOp>& ops) {
    return !OpsOf<FillOp>(ops).empty() || LinesOfColor(ops, RGB(0, 0, 255)).size() > 1;
}

} // namespace

TEST(Undefined, NoTableDrawsTheFrameAlone) {
    RecordingHost host;
    CDiagram diagram(&host);
    diagram.markerX = 3;
    CRecordingContext context;
    diagram.Paint(context);
    EXPECT_EQ(context.Ops(), (std::vector<DrawOp>{RectangleOp{Rect{10, 10, 830, 530}}}));
    EXPECT_EQ(diagram.dc, nullptr); // the context was only lent for the paint
}

TEST(Undefined, RowsThatCannotBePlacedSkipTheirAxisAndCurves) {
    const char* const files[] = {
        "X=number\nT\nX;A\n5;7\n",           // one row, by value
        "T\nX;A\nonly;7\n",                  // one row, by index
        "X=number\nT\nX;A\n3;1\n4;2\n3;3\n", // equal first and last X
        "X=datetime\nT\nX;A\n12:00;1\n12:00;2\n",
        "X=number\nT\nX;A\nabc;1\ndef;2\n", // X cells without numbers
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        TestDiagram t;
        t.Load(file);
        t.diagram.showMarks = true;
        t.diagram.markerX = 3.5;
        const auto ops = t.Paint();
        ExpectSanePixels(ops);
        EXPECT_FALSE(HasCurve(ops));
        EXPECT_TRUE(LinesOfColor(ops, t.diagram.markerPen.color).empty());
    }
}

TEST(Undefined, PlotShorterThanTwoStepsKeepsTheScaleItHad) {
    TestDiagram t(Rect{0, 0, 800, 229}); // plot 99 high: no whole step fits
    t.Load("X=number\nT\nX;A\n0;1\n1;4\n");
    const auto ops = t.Paint();
    ExpectSanePixels(ops);
    EXPECT_EQ(t.diagram.yMin, 0.0);
    EXPECT_EQ(t.diagram.yDelta, 5.0);
    EXPECT_TRUE(HasCurve(ops));
}

TEST(Undefined, ZeroOrNegativeStepByHandSkipsYAxisAndCurves) {
    for (double delta : {0.0, -2.0}) {
        SCOPED_TRACE(delta);
        TestDiagram t;
        t.Load("X=number\nT\nX;A\n0;1\n1;4\n");
        t.diagram.yAutoscale = false;
        t.diagram.yDelta = delta;
        const auto ops = t.Paint();
        ExpectSanePixels(ops);
        EXPECT_FALSE(HasCurve(ops));
        EXPECT_EQ(TextsInFont(ops, t.diagram.labelFont).size(), 3u); // 2 X labels, legend
    }
}

TEST(Undefined, NoRowsWithAMarkerAndTinyWindows) {
    TestDiagram noRows;
    noRows.Load("T\nX;A\n");
    noRows.diagram.markerX = 2;
    ExpectSanePixels(noRows.Paint());
    for (Rect client : {Rect{0, 0, 50, 50}, Rect{0, 0, 0, 0}, Rect{0, 0, 200, 140}}) {
        TestDiagram t(client);
        t.Load("X=number\nT\nX;A\n0;1\n1;4\n2;3\n");
        ExpectSanePixels(t.Paint());
    }
}

// A row whose X lies near +-1e308 maps beyond any window; its segment is
// still drawn towards it, but at a coordinate every backend can draw.
TEST(Undefined, XValuesNearTheEndsOfDoublesStayDrawable) {
    for (const char* far : {"1e308", "-1.7e308"}) {
        SCOPED_TRACE(far);
        TestDiagram t;
        t.Load(std::string("X=number\nT\nX;A\n0;1\n") + far + ";2\n1;3\n");
        t.diagram.markerX = 1.5e308;
        const auto ops = t.Paint();
        const auto drawable = [](Point p) {
            return std::abs(p.x) <= (1 << 24) && std::abs(p.y) <= (1 << 24);
        };
        for (const LineOp& l : OpsOf<LineOp>(ops))
            EXPECT_TRUE(drawable(l.from) && drawable(l.to))
                << l.from.x << "," << l.from.y << " " << l.to.x << "," << l.to.y;
        const auto curve = LinesOfColor(ops, RGB(0, 0, 255));
        ASSERT_GE(curve.size(), 2u); // the legend sample and the segment from row 0
        EXPECT_EQ(std::abs(curve[1].to.x), 1 << 24);
    }
}
