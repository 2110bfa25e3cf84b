#include "render/RecordingContext.h"
#include "diagram/CDiagram.h"

#include <gtest/gtest.h>

TEST(RecordingContext, TracesEveryKindOfOperationInOrder) {
    CDiagram diagram(nullptr);
    CRecordingContext dc(DiagramFontNames(diagram));
    dc.Rectangle(Rect{1, 2, 30, 40});
    dc.MoveTo(5, 6);
    dc.LineTo(7, 8);
    EXPECT_EQ(dc.SelectPen(PenSpec{3, RGB(255, 0, 16)}), (PenSpec{1, 0})); // a fresh context
    dc.LineTo(9, 6); // continues from the end of the last line
    dc.FillSolidRect(3, 4, 5, 6, RGB(1, 2, 3));
    dc.SelectFont(diagram.titleFont);
    dc.SetTextColor(RGB(0xAB, 0xCD, 0xEF));
    dc.TextOut(10, 20, TextAlign::CenterTop, "a \"b\" \\ c\td");
    dc.SelectFont(diagram.axisNameFont);
    dc.TextOut(1, 2, TextAlign::LeftTop, "x");
    dc.SelectFont(FontSpec{"Other", 9, 400});
    dc.TextOut(1, 2, TextAlign::LeftTop, "y");
    EXPECT_EQ(dc.Trace(), "rect 1 2 30 40\n"
                          "line 5 6 7 8 #000000 1\n"
                          "line 7 8 9 6 #FF0010 3\n"
                          "fill 3 4 5 6 #010203\n"
                          "text 10 20 center #ABCDEF title \"a \\\"b\\\" \\\\ c\\td\"\n"
                          "text 1 2 left #ABCDEF axis \"x\"\n"
                          "text 1 2 left #ABCDEF font \"y\"\n");
}

TEST(RecordingContext, EveryCharacterIsHalfTheFontHeightWide) {
    CRecordingContext dc;
    dc.SelectFont(FontSpec{"Arial Cyr", 14, 400});
    EXPECT_EQ(dc.TextWidth("abc"), 21);
    EXPECT_EQ(dc.TextWidth("\xC3\xA4"
                           "b"),
              14); // "ä" is one character
    dc.SelectFont(FontSpec{"Arial Cyr", 17, 400});
    EXPECT_EQ(dc.TextWidth("ab"), 16);
}

TEST(RecordingContext, ForwardsToItsTargetAndMeasuresThere) {
    CRecordingContext target;
    CRecordingContext tee({}, &target);
    tee.SelectFont(FontSpec{"Arial Cyr", 30, 400});
    tee.SelectPen(PenSpec{2, RGB(1, 1, 1)});
    tee.SetTextColor(RGB(9, 9, 9));
    tee.MoveTo(1, 1);
    tee.LineTo(2, 2);
    tee.TextOut(3, 4, TextAlign::LeftTop, "t");
    tee.FillSolidRect(1, 2, 3, 4, 0);
    tee.Rectangle(Rect{1, 2, 3, 4});
    EXPECT_EQ(tee.Ops().size(), 4u);
    EXPECT_EQ(tee.Ops(), target.Ops());
    // Widths come from the target, whatever font it holds.
    target.SelectFont(FontSpec{"Arial Cyr", 40, 400});
    EXPECT_EQ(tee.TextWidth("ab"), 40);
}

// Segments collected in a batch reach the context in their order, before the
// operation that follows them, and also when a batch fills up or an error
// ends the drawing early; the trace is that of MoveTo and LineTo per segment.
TEST(LineBatch, TracesAsOneMoveAndLinePerSegmentInOrder) {
    CRecordingContext batched;
    CRecordingContext direct;
    try {
        LineBatch lines(batched);
        for (int i = 0; i < 600; ++i) {
            lines.Add(Point{i, 1}, Point{i, 2 + i % 5});
            direct.MoveTo(i, 1);
            direct.LineTo(i, 2 + i % 5);
            if (i % 250 == 7) {
                lines.Flush();
                batched.FillSolidRect(i, 0, 1, 1, 0);
                direct.FillSolidRect(i, 0, 1, 1, 0);
            }
        }
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    ASSERT_EQ(direct.Ops().size(), 603u);
    EXPECT_EQ(batched.Trace(), direct.Trace());
    // The position is the last segment's end: a LineTo continues from there.
    batched.LineTo(0, 0);
    direct.LineTo(0, 0);
    EXPECT_EQ(batched.Trace(), direct.Trace());
}
