// The mouse and keys through the real view of an opened file: the events a
// user's mouse sends reach the marker, the readout, the legend and the zoom,
// and the window shows what a full paint draws.
#include "ExampleViewTest.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"
#include "qtdraw/QtDrawContext.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ViewMouse : public ExampleViewTest {
protected:
    // What a user's double-click sends: press, release, double-click, release.
    void DoubleClick(QPoint at) {
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
        QMouseEvent click(QEvent::MouseButtonDblClick, at, view->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &click);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, at);
    }
    CDiagram& Diagram() { return view->Diagram(); }
    int Middle() { return (Diagram().plotRect.top + Diagram().plotRect.bottom) / 2; }
};

TEST_F(ViewMouse, DoubleClickSetsTheMarkerListsEveryCurveAndTheWindowShowsAFullPaint) {
    const QPoint at(Diagram().PixelAtValue(3.0, 0.0).x, Middle());
    DoubleClick(at);
    double expected = 0;
    ASSERT_TRUE(Diagram().ValueAtPixel(at.x(), at.y(), &expected, nullptr));
    EXPECT_DOUBLE_EQ(Diagram().markerX, expected);
    EXPECT_FALSE(Diagram().showXYByMouse);
    const QString pane = MainFrame().PaneText();
    EXPECT_TRUE(pane.startsWith(" X = ")) << pane.toStdString();
    for (const char* name : {"; Pressure = ", "; Flow = ", "; Level = "})
        EXPECT_TRUE(pane.contains(name)) << pane.toStdString();

    // Step it twice to the right: the kept picture plus the marker line must
    // still be exactly what one paint of the whole diagram draws.
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage painted(view->size(), QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter painter(&painted);
        CQtDrawContext dc(painter);
        Diagram().Paint(dc);
    }
    EXPECT_TRUE(shown == painted);
}

TEST_F(ViewMouse, LegendClickHidesTheCurveAndADragOpensAZoomWindow) {
    const ColumnRecord& flow = Diagram().columns[2];
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(flow.legendX + 5, flow.legendY));
    EXPECT_EQ(flow.visible, 0);

    const Rect plot = Diagram().plotRect;
    const QPoint from(plot.left + 50, Middle());
    const QPoint to(plot.left + 250, Middle() + 40);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 2u);
    CKelvaroView* zoomed = MainFrame().ActiveView();
    ASSERT_NE(zoomed, view);
    EXPECT_TRUE(zoomed->Document().Title().startsWith("pump_test.txt  X = ["));
    EXPECT_FALSE(g_bZoomOpen);
    // The zoom window is a fresh diagram: every curve shown.
    EXPECT_EQ(zoomed->Diagram().columns[2].visible, 1);
}

} // namespace

namespace {

// The check marks follow the window's flags at once, not at some later
// moment: a double-click and an arrow key switch the curve readout off.
TEST_F(ViewMouse, CheckMarksFollowADoubleClickAndAnArrowKeyAtOnce) {
    QAction* showXY = MainFrame().Action(ID_SHOW_XY_BY_MOUSE);
    ASSERT_TRUE(showXY->isChecked());
    DoubleClick(QPoint(Diagram().PixelAtValue(3.0, 0.0).x, Middle()));
    EXPECT_FALSE(showXY->isChecked());

    MainFrame().RunCommand(ID_SHOW_XY_BY_MOUSE);
    ASSERT_TRUE(showXY->isChecked());
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_FALSE(Diagram().showXYByMouse);
    EXPECT_FALSE(showXY->isChecked());
}

// A readout describes its window: when the window closes, pane 0 goes back
// to idle; another window's readout, or a prompt, stays.
TEST_F(ViewMouse, ClosingAWindowClearsItsReadoutFromPaneZero) {
    DoubleClick(QPoint(Diagram().PixelAtValue(3.0, 0.0).x, Middle()));
    ASSERT_TRUE(MainFrame().PaneText().startsWith(" X = "));
    QMdiSubWindow* frame = MainFrame().ChildFrames().front();
    frame->close(); // the window's own close button
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MainFrame().PaneText(), " ");

    ASSERT_NE(OpenAndWait(QString::fromStdString(ExamplePath("sinusoid.txt").string())), nullptr);
    ASSERT_NE(OpenAndWait(QString::fromStdString(ExamplePath("word_labels.txt").string())),
              nullptr);
    MainFrame().SetPaneText(QStringLiteral("a prompt"));
    MainFrame().ChildFrames().back()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MainFrame().PaneText(), "a prompt");
}

} // namespace
