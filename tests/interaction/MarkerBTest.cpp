// Marker B: Shift on the marker's own gestures, the middle button, a press on
// its line, and the two menu commands; the marker's gestures without Shift
// keep moving the marker.
#include "InteractionTestSupport.h"

#include <QRubberBand>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Redraw = IViewShell::Redraw;

TEST(MarkerB, ShiftDoubleClickSetsItWithItsReadoutAndLeavesTheMarker) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 7.0), 200),
                Qt::ShiftModifier);
    ASSERT_TRUE(view.diagram.markerB.has_value());
    EXPECT_EQ(*view.diagram.markerB, 7.0);
    EXPECT_EQ(view.diagram.markerX, 5.0);
    EXPECT_EQ(view.widget->input.m_strStatus, " X = 7.00000; A = 14.00000; B = 20.00000");
    EXPECT_EQ(view.shell.redraws.back(), Redraw::MarkerOnly);
    EXPECT_TRUE(view.shell.zooms.empty());

    // Without Shift the double-click moves the marker, as ever.
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 2.0), 200));
    EXPECT_EQ(view.diagram.markerX, 2.0);
    EXPECT_EQ(*view.diagram.markerB, 7.0);
}

TEST(MarkerB, ShiftDragTheMiddleButtonAndAPressOnItsLineMoveIt) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    QWidget* widget = view.widget.get();
    const auto rubberBandShown = [&] { return widget->findChild<QRubberBand*>()->isVisible(); };

    // Shift: B jumps to the pointer, also next to the marker, and follows it.
    QTest::mousePress(widget, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(ExactPixelOfX(view, 5.0), 200));
    EXPECT_EQ(view.diagram.markerB, 5.0);
    QTest::mouseMove(widget, QPoint(ExactPixelOfX(view, 3.0), 150));
    EXPECT_EQ(view.diagram.markerB, 3.0);
    EXPECT_FALSE(rubberBandShown());
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::ShiftModifier,
                        QPoint(ExactPixelOfX(view, 3.0), 150));
    QTest::mouseMove(widget, QPoint(ExactPixelOfX(view, 4.0), 150));
    EXPECT_EQ(view.diagram.markerB, 3.0);
    EXPECT_EQ(view.diagram.markerX, 5.0);

    // A plain press on B's line takes it; two pixels off the line still do.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(view.PixelOfX(3.0) + 2, 200));
    EXPECT_TRUE(view.widget->input.m_bDragMarkerB);
    EXPECT_FALSE(view.widget->input.m_bDragMarker);
    QTest::mouseMove(widget, QPoint(ExactPixelOfX(view, 8.0), 150));
    EXPECT_EQ(view.diagram.markerB, 8.0);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier,
                        QPoint(ExactPixelOfX(view, 8.0), 150));
    EXPECT_FALSE(view.widget->input.m_bDragMarkerB);

    // Next to the marker a plain press takes the marker, not B.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(view.PixelOfX(5.0), 200));
    EXPECT_TRUE(view.widget->input.m_bDragMarker);
    EXPECT_FALSE(view.widget->input.m_bDragMarkerB);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(view.PixelOfX(5.0), 200));

    // The middle button sets B where it is pressed and drags it.
    QTest::mousePress(widget, Qt::MiddleButton, Qt::NoModifier,
                      QPoint(ExactPixelOfX(view, 1.0), 200));
    EXPECT_EQ(view.diagram.markerB, 1.0);
    QTest::mouseMove(widget, QPoint(ExactPixelOfX(view, 9.0), 150));
    EXPECT_EQ(view.diagram.markerB, 9.0);
    QTest::mouseRelease(widget, Qt::MiddleButton, Qt::NoModifier,
                        QPoint(ExactPixelOfX(view, 9.0), 150));
    EXPECT_FALSE(view.widget->input.m_bDragMarkerB);
    EXPECT_EQ(view.diagram.markerX, 5.0);
    EXPECT_TRUE(view.shell.zooms.empty());

    // Outside the plot the middle button sets nothing.
    view.diagram.markerB.reset();
    QTest::mousePress(widget, Qt::MiddleButton, Qt::NoModifier, QPoint(2, 200));
    EXPECT_FALSE(view.diagram.markerB.has_value());
    EXPECT_FALSE(view.widget->input.m_bDragMarkerB);
}

TEST(MarkerB, ShiftArrowsStepItAndPlainArrowsStepTheMarker) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    double expected = 0.0;

    // Without B, Shift+Right starts it from the marker's pixel column.
    const int markerPixel = view.PixelOfX(5.0);
    QTest::keyClick(view.widget.get(), Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(view.diagram.ValueAtPixel(markerPixel + 2, 0, &expected, nullptr));
    EXPECT_EQ(view.diagram.markerB, expected);
    EXPECT_EQ(view.diagram.markerX, 5.0);

    const int bPixel = view.PixelOfX(*view.diagram.markerB);
    QTest::keyClick(view.widget.get(), Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(view.diagram.ValueAtPixel(bPixel - 1, 0, &expected, nullptr));
    EXPECT_EQ(view.diagram.markerB, expected);

    const double b = *view.diagram.markerB;
    QTest::keyClick(view.widget.get(), Qt::Key_Right);
    ASSERT_TRUE(view.diagram.ValueAtPixel(markerPixel + 2, 0, &expected, nullptr));
    EXPECT_EQ(view.diagram.markerX, expected);
    EXPECT_EQ(view.diagram.markerB, b);
}

TEST(MarkerB, RightDoubleClickNearItRemovesItAndNearTheMarkerTheMarker) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    view.diagram.markerB = 8.0;
    const int b = view.PixelOfX(8.0);
    const int a = view.PixelOfX(5.0);

    DoubleClick(*view.widget, Qt::RightButton, QPoint(b + 4, 200), Qt::ShiftModifier);
    EXPECT_TRUE(view.diagram.markerB.has_value());
    // Shift on the marker's own line does not remove the marker.
    DoubleClick(*view.widget, Qt::RightButton, QPoint(a, 200), Qt::ShiftModifier);
    EXPECT_EQ(view.diagram.markerX, 5.0);
    DoubleClick(*view.widget, Qt::RightButton, QPoint(b - 3, 200), Qt::ShiftModifier);
    EXPECT_FALSE(view.diagram.markerB.has_value());
    EXPECT_EQ(view.shell.redraws.back(), Redraw::MarkerOnly);

    view.diagram.markerB = 8.0;
    DoubleClick(*view.widget, Qt::RightButton, QPoint(b + 3, 200));
    EXPECT_FALSE(view.diagram.markerB.has_value());
    DoubleClick(*view.widget, Qt::RightButton, QPoint(a + 3, 200));
    EXPECT_EQ(view.diagram.markerX, 0.0);
}

TEST(MarkerB, MenuCommandsSetItMidPlotAndRemoveBothLines) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 2.0;
    view.widget->input.SetMarkerB();
    double middle = 0.0;
    const Rect& plot = view.diagram.plotRect;
    ASSERT_TRUE(view.diagram.ValueAtPixel((plot.left + plot.right) / 2, 0, &middle, nullptr));
    EXPECT_EQ(view.diagram.markerB, middle);
    EXPECT_EQ(view.widget->input.m_strStatus.rfind(" X = ", 0), 0u);

    view.widget->input.RemoveMarkers();
    EXPECT_FALSE(view.diagram.markerB.has_value());
    EXPECT_EQ(view.diagram.markerX, 0.0);
    EXPECT_EQ(view.shell.redraws.back(), Redraw::MarkerOnly);
}

} // namespace
