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
