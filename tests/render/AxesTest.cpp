#include "RenderTestSupport.h"
#include "diagram/ZoomRequest.h"
#include "render/NullDrawContext.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> YLabels(TestDiagram& t) {
    std::vector<std::string> labels;
    for (const TextOp& text : OpsOf<TextOp>(t.Paint()))
        if (text.at.x == t.diagram.plotRect.left - 25)
            labels.push_back(text.text);
    return labels;
}

// Grid-pen lines three pixels long: the minor ticks.
std::vector<LineOp> MinorTicks(const std::vector<DrawOp>& ops, COLORREF grid) {
    std::vector<LineOp> ticks;
    for (const LineOp& l : LinesOfColor(ops, grid))
        if (std::abs(l.to.x - l.from.x) + std::abs(l.to.y - l.from.y) == 3)
            ticks.push_back(l);
    return ticks;
}

// A label X (no "X" line, so five minor ticks per step) with n rows.
std::string LabelRows(int n) {
    std::string file = "T\nX;A\n";
    for (int j = 0; j < n; ++j)
        file += std::to_string(j) + ";1\n";
    return file;
}

} // namespace

TEST(YAxis, DataFrom0To21InA400PixelPlot) {
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("X=number\nT\nX;A\n0;0\n1;21\n");
    EXPECT_EQ(YLabels(t), (std::vector<std::string>{"-4.00", "0.00", "4.00", "8.00", "12.00",
                                                    "16.00", "20.00", "24.00", "28.00"}));
}

TEST(YAxis, NineLabelsAlsoAt425PixelsAndTicksWithoutTheGrid) {
    TestDiagram t(Rect{0, 0, 800, 555});
    t.Load("X=number\nT\nX;A\n0;0\n1;21\n");
    t.diagram.yShowNet = false;
    EXPECT_EQ(YLabels(t).size(), 9u);
    for (const LineOp& l : LinesOfColor(t.Paint(), t.diagram.gridPen.color))
        EXPECT_FALSE(l.from.y == l.to.y && l.to.x == t.diagram.plotRect.right)
            << "a full-width grid line at y " << l.from.y;
}

TEST(XAxis, LabelsAreThinnedToOneAndAHalfLabelWidths) {
    // 8 rows 81.4 pixels apart; each 10-character label is 70 wide, so
    // only every other one is written.
    TestDiagram t(Rect{0, 0, 800, 530});
    t.Load("T\nX;A\naaaaaaaaa0;1\naaaaaaaaa1;1\naaaaaaaaa2;1\naaaaaaaaa3;1\naaaaaaaaa4;1\n"
           "aaaaaaaaa5;1\naaaaaaaaa6;1\naaaaaaaaa7;1\n");
    const auto labels = TextsInFont(t.Paint(), t.diagram.labelFont);
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.begin() + 4),
              (std::vector<std::string>{"aaaaaaaaa0", "aaaaaaaaa2", "aaaaaaaaa4", "aaaaaaaaa6"}));
}

TEST(XAxis, DateTimeLabelsAreDatesOrTimesNeverBoth) {
    TestDiagram dates;
    dates.Load("X=datetime\nT\nX;A\n01/05/2004 12:00;1\n01/07/2004 18:00;2\n");
    EXPECT_EQ(TextsInFont(dates.Paint(), dates.diagram.labelFont)[0], "01/05/04");
    TestDiagram times;
    times.Load("X=datetime\nT\nX;A\n12:30;1\n18:00;2\n");
    EXPECT_EQ(TextsInFont(times.Paint(), times.diagram.labelFont)[1], "18:00:00");
}

TEST(MinorTicks, TenPixelsApartOnYAndOnlyForRowsAtLeast25PixelsApartOnX) {
    TestDiagram wide(Rect{0, 0, 800, 530}), narrow(Rect{0, 0, 800, 530});
    wide.Load(LabelRows(23));   // 570 / 22 = 25.9 pixels per row: a tick every 5
    narrow.Load(LabelRows(25)); // 570 / 24 = 23.75: none
    const auto wideTicks = MinorTicks(wide.Paint(), wide.diagram.gridPen.color);
    const auto narrowTicks = MinorTicks(narrow.Paint(), narrow.diagram.gridPen.color);
    // Y: 4 ticks in the first step and 5 in each of the 7 others.
    EXPECT_EQ(narrowTicks.size(), 39u);
    EXPECT_EQ(narrowTicks[0], (LineOp{{66, 455}, {69, 455}, wide.diagram.gridPen}));
    EXPECT_GT(wideTicks.size(), 39u);
    EXPECT_EQ(wideTicks[0], (LineOp{{70, 464}, {70, 461}, wide.diagram.gridPen}));
}

TEST(ZoomTitle, ComposedOnlyWhileAZoomWindowOpens) {
    TestDiagram numbers;
    numbers.Load("X=number\nT\nX;A\n1.5;1\n3;2\n");
    g_strZoomTitle = "untouched";
    numbers.Paint();
    EXPECT_EQ(g_strZoomTitle, "untouched");
    {
        ZoomOpenScope zoom(1.5, 3, 0, 0);
        numbers.Paint();
    }
    EXPECT_EQ(g_strZoomTitle, "data.txt  X = [1.500000; 3.000000]");
    TestDiagram dates;
    dates.Load("X=datetime\nT\nX;A\n12:00;1\n01/06/2004;2\n");
    ZoomOpenScope zoom(0, 1e6, 0, 0);
    dates.Paint();
    EXPECT_EQ(g_strZoomTitle, "data.txt  X = [12:00:00; 01/06/04]");
}

TEST(FirstPaint, NullContextLeavesTheLayoutAndZoomTitleOfARecordedPaint) {
    const std::string file = "X=number\nT\nX;A;B\n1.5;1;7\n3;2;-4\n4;9;0\n";
    TestDiagram recorded, unseen;
    recorded.Load(file);
    unseen.Load(file);
    ZoomOpenScope zoom(1.5, 4, 0, 0);
    recorded.Paint();
    const std::string recordedTitle = g_strZoomTitle;
    g_strZoomTitle.clear();
    CNullDrawContext nowhere;
    unseen.diagram.Paint(nowhere);
    EXPECT_EQ(g_strZoomTitle, recordedTitle);
    const CDiagram& a = recorded.diagram;
    const CDiagram& b = unseen.diagram;
    EXPECT_EQ(b.plotRect, a.plotRect);
    EXPECT_EQ(b.frameRect, a.frameRect);
    EXPECT_EQ(b.legendMargin, a.legendMargin);
    EXPECT_EQ(b.xGridStepPx, a.xGridStepPx);
    EXPECT_EQ(b.xDelta, a.xDelta);
    EXPECT_EQ(b.yMin, a.yMin);
    EXPECT_EQ(b.yDelta, a.yDelta);
    for (int c = 1; c < a.columnCount - 1; ++c) {
        EXPECT_EQ(b.columns[c].legendX, a.columns[c].legendX);
        EXPECT_EQ(b.columns[c].legendY, a.columns[c].legendY);
    }
    EXPECT_EQ(b.dc, nullptr);
}

// A title or an X cell of megabytes is laid out only where a window can show
// it: its middle, since both are centred; a text of normal length is whole.
TEST(LongTexts, OnlyTheMiddleOfAHugeTitleOrXLabelIsDrawn) {
    const std::string half(1'500'000, 'a');
    const std::string huge = half + "\xD0\x94MIDDLE" + half;
    const std::string normal(9'000, 'n');
    TestDiagram t;
    t.Load(huge + "\nX;A\n" + huge + ";1\n" + normal + ";2\n");
    const auto ops = t.Paint();
    const auto titles = TextsInFont(ops, t.diagram.titleFont);
    const auto labels = TextsInFont(ops, t.diagram.labelFont);
    ASSERT_EQ(titles.size(), 1u);
    ASSERT_FALSE(labels.empty());
    for (const std::string& shown : {titles[0], labels[0]}) {
        EXPECT_NE(shown.find("\xD0\x94MIDDLE"), std::string::npos);
        EXPECT_LE(shown.size(), 10'001u);
        EXPECT_GE(shown.size(), 9'999u);
    }
    t.diagram.title = normal;
    t.diagram.values[0].RemoveAll();
    t.diagram.values[0].Add(normal);
    t.diagram.values[0].Add("x");
    const auto whole = t.Paint();
    EXPECT_EQ(TextsInFont(whole, t.diagram.titleFont), (std::vector<std::string>{normal}));
    EXPECT_EQ(TextsInFont(whole, t.diagram.labelFont)[0], normal);
}
