#include "InteractionTestSupport.h"
#include "diagram/ZoomRequest.h"
#include "qtdraw/QtDrawContext.h"
#include "qtdraw/QtText.h"

#include <QPainter>

#include <QRubberBand>
#include <QTest>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>

namespace {

using Redraw = IViewShell::Redraw;

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Under a German numeric locale printf would write "2,50000".
class GermanNumbers {
public:
    GermanNumbers() : active(std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {}
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, "C"); }
    bool active;
};

TEST(CurveReadout, NamesTheCurveUnderTheMouseAndABlankOverEmptyPlot) {
    LoadedView view(TwoCurveFile());
    GermanNumbers german;
    const QPoint overA(ExactPixelOfX(view, 3.0), view.PixelOfY(6.0));
    QTest::mouseMove(view.widget.get(), overA);
    EXPECT_EQ(view.widget->input.m_strStatus, " X = 3.00000, Y = 6.00000, Column = A");
    ASSERT_FALSE(view.shell.statuses.empty());
    EXPECT_EQ(view.shell.statuses.back(), view.widget->input.m_strStatus);

    QTest::mouseMove(view.widget.get(), QPoint(overA.x(), view.PixelOfY(12.0)));
    EXPECT_EQ(view.widget->input.m_strStatus, " ");
    EXPECT_TRUE(view.shell.redraws.empty()); // the readout draws nothing

    view.diagram.showXYByMouse = false;
    QTest::mouseMove(view.widget.get(), overA);
    EXPECT_EQ(view.widget->input.m_strStatus, " ");
}

TEST(MarkerReadout, DoubleClickListsEveryCurveAndStopsTheCurveReadout) {
    LoadedView view(TwoCurveFile());
    GermanNumbers german;
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 3.0), 200));
    EXPECT_EQ(view.diagram.markerX, 3.0);
    EXPECT_FALSE(view.diagram.showXYByMouse);
    EXPECT_EQ(view.widget->input.m_strStatus, " X = 3.00000; A = 6.00000; B = 20.00000");
    ASSERT_FALSE(view.shell.redraws.empty());
    EXPECT_EQ(view.shell.redraws.back(), Redraw::MarkerOnly);
    EXPECT_TRUE(view.shell.zooms.empty()); // the first click's rubber band opened nothing

    // The spectrum column is listed only while it is shown.
    view.diagram.showSpectrum = true;
    view.Paint();
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 3.0), 200));
    const std::string spectrum = view.diagram.columns[3].name;
    EXPECT_EQ(Count(view.widget->input.m_strStatus, "; "), 3);
    EXPECT_NE(view.widget->input.m_strStatus.find("; " + spectrum + " = "), std::string::npos);
}

// A header in Latin-1 reads in the readouts as the legend shows it, not as
// replacement characters.
TEST(Readouts, NameAColumnAsTheLegendDecodesIt) {
    std::string file = TwoCurveFile();
    file.replace(file.find("\nX;A;B\n"), 7, "\nX;Temp\xe9rature;B\n");
    LoadedView view(file);
    const std::string legend = TextFromBytes(ColumnName(view.diagram.columns[1])).toStdString();
    ASSERT_EQ(legend, "Temp\u00e9rature");
    // Away first: a move to where the pointer already is sends nothing.
    QTest::mouseMove(view.widget.get(), QPoint(5, 5));
    QTest::mouseMove(view.widget.get(), QPoint(ExactPixelOfX(view, 3.0), view.PixelOfY(6.0)));
    EXPECT_EQ(view.widget->input.m_strStatus, " X = 3.00000, Y = 6.00000, Column = " + legend);
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 3.0), 200));
    EXPECT_EQ(view.widget->input.m_strStatus,
              " X = 3.00000; " + legend + " = 6.00000; B = 20.00000");
}

TEST(MarkerReadout, OutsideThePlotKeepsTheMarkerAndWritesABlank) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 4.0;
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(view.diagram.plotRect.left - 1, 200));
    EXPECT_EQ(view.diagram.markerX, 4.0);
    EXPECT_FALSE(view.diagram.showXYByMouse);
    EXPECT_EQ(view.widget->input.m_strStatus, " ");
    EXPECT_FALSE(view.shell.redraws.empty());
}

TEST(MarkerReadout, ListsEveryCurveBeyondNinetyNine) {
    std::string file = "X=number\nMany curves\nX";
    for (int c = 1; c <= 120; ++c)
        file += ";C" + std::to_string(c);
    file += "\n";
    for (int x = 0; x < 4; ++x) {
        file += std::to_string(x);
        for (int c = 1; c <= 120; ++c)
            file += ";" + std::to_string(c);
        file += "\n";
    }
    LoadedView view(file);
    DoubleClick(*view.widget, Qt::LeftButton, QPoint(ExactPixelOfX(view, 1.0), 200));
    const std::string& text = view.widget->input.m_strStatus;
    EXPECT_EQ(Count(text, "; "), 120);
    EXPECT_NE(text.find("; C120 = 120.00000"), std::string::npos);
}

TEST(MarkerKeys, RightStepsTwoPixelsLeftOneAndNothingLeavesThePlot) {
    LoadedView view(TwoCurveFile());
    const int start = ExactPixelOfX(view, 5.0);
    view.diagram.markerX = 5.0;
    double expected = 0.0;

    QTest::keyClick(view.widget.get(), Qt::Key_Right);
    ASSERT_TRUE(view.diagram.ValueAtPixel(start + 2, 0, &expected, nullptr));
    EXPECT_EQ(view.diagram.markerX, expected);
    const int afterRight = view.PixelOfX(view.diagram.markerX);

    QTest::keyClick(view.widget.get(), Qt::Key_Left);
    ASSERT_TRUE(view.diagram.ValueAtPixel(afterRight - 1, 0, &expected, nullptr));
    EXPECT_EQ(view.diagram.markerX, expected);
    EXPECT_EQ(view.widget->input.m_strStatus.rfind(" X = ", 0), 0u);

    const auto redraws = view.shell.redraws.size();
    QTest::keyClick(view.widget.get(), Qt::Key_Up);
    EXPECT_EQ(view.shell.redraws.size(), redraws);

    view.diagram.markerX = 10.0; // the right edge: two pixels on are outside
    QTest::keyClick(view.widget.get(), Qt::Key_Right);
    EXPECT_EQ(view.diagram.markerX, 10.0);
    EXPECT_EQ(view.shell.redraws.size(), redraws);
}

TEST(MarkerDrag, PressNearTheLineDragsItUntilRelease) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    const int line = view.PixelOfX(5.0);
    QWidget* widget = view.widget.get();
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(line + 2, 200));
    EXPECT_TRUE(view.widget->input.m_bDragMarker);
    EXPECT_FALSE(widget->findChild<QRubberBand*>()->isVisible());

    const int target = ExactPixelOfX(view, 7.0);
    QTest::mouseMove(widget, QPoint(target, 150));
    EXPECT_EQ(view.diagram.markerX, 7.0);
    EXPECT_FALSE(view.diagram.showXYByMouse);
    EXPECT_EQ(view.widget->input.m_strStatus.rfind(" X = 7.00000; A = 14.00000", 0), 0u);

    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(target, 150));
    EXPECT_FALSE(view.widget->input.m_bDragMarker);
    QTest::mouseMove(widget, QPoint(ExactPixelOfX(view, 8.0), 150));
    EXPECT_EQ(view.diagram.markerX, 7.0);
    EXPECT_TRUE(view.shell.zooms.empty());
}

TEST(MarkerGrab, ThreePixelsAwayRemovesOnRightDoubleClickAndStartsARubberBandOnPress) {
    LoadedView view(TwoCurveFile());
    view.diagram.markerX = 5.0;
    const int line = view.PixelOfX(5.0);
    QWidget* widget = view.widget.get();

    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(line - 3, 200));
    EXPECT_FALSE(view.widget->input.m_bDragMarker);
    EXPECT_TRUE(widget->findChild<QRubberBand*>()->isVisible());
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(line - 3, 200));
    EXPECT_FALSE(widget->findChild<QRubberBand*>()->isVisible());

    DoubleClick(*widget, Qt::RightButton, QPoint(line + 4, 200));
    EXPECT_EQ(view.diagram.markerX, 5.0);
    DoubleClick(*widget, Qt::RightButton, QPoint(line + 3, 200));
    EXPECT_EQ(view.diagram.markerX, 0.0);
    EXPECT_EQ(view.shell.redraws.back(), Redraw::MarkerOnly);
}

TEST(LegendClick, TogglesTheCurveAndTwiceRestoresIt) {
    LoadedView view(TwoCurveFile());
    const ColumnRecord& b = view.diagram.columns[2];
    const QPoint sample(b.legendX + 5, b.legendY);
    QTest::mouseClick(view.widget.get(), Qt::LeftButton, Qt::NoModifier, sample);
    EXPECT_FALSE(view.diagram.columns[2].visible);
    ASSERT_EQ(view.shell.redraws.size(), 1u);
    EXPECT_EQ(view.shell.redraws.back(), Redraw::Everything);
    QTest::qWait(QApplication::doubleClickInterval() + 50); // two clicks, not a double-click
    QTest::mouseClick(view.widget.get(), Qt::LeftButton, Qt::NoModifier, sample);
    EXPECT_TRUE(view.diagram.columns[2].visible);
    EXPECT_EQ(view.shell.redraws.size(), 2u);
}

class ZoomDrag : public testing::Test {
protected:
    LoadedView view{TwoCurveFile()};
    int y = 0;
    void SetUp() override { y = view.PixelOfY(10.0); }
    QPoint At(int x) const { return QPoint(x, y); }
};

TEST_F(ZoomDrag, TenPixelsToTheRightOpensTheXRangeAndNineDoNot) {
    const int from = ExactPixelOfX(view, 2.0);
    Drag(*view.widget, At(from), At(from + 9));
    EXPECT_TRUE(view.shell.zooms.empty());

    const int to = from + 10;
    QTest::mousePress(view.widget.get(), Qt::LeftButton, Qt::NoModifier, At(from));
    QTest::mouseMove(view.widget.get(), At(to));
    const QRubberBand* band = view.widget->findChild<QRubberBand*>();
    EXPECT_TRUE(band->isVisible());
    EXPECT_EQ(band->geometry(), QRect(At(from), At(to)).normalized());
    QTest::mouseRelease(view.widget.get(), Qt::LeftButton, Qt::NoModifier, At(to));
    EXPECT_FALSE(band->isVisible());

    ASSERT_EQ(view.shell.zooms.size(), 1u);
    const ZoomOpen& zoom = view.shell.zooms.front();
    double xTo = 0.0;
    ASSERT_TRUE(view.diagram.ValueAtPixel(to, y, &xTo, nullptr));
    EXPECT_EQ(zoom.path, view.diagram.filePath);
    EXPECT_TRUE(zoom.requestSet);
    EXPECT_EQ(zoom.xFrom, 2.0);
    EXPECT_EQ(zoom.xTo, xTo);
    EXPECT_FALSE(g_bZoomOpen);
    ASSERT_TRUE(zoom.loaded);
    EXPECT_FALSE(zoom.title.empty());
    // The window it was started from is unchanged.
    EXPECT_EQ(view.diagram.values[0].GetSize(), 11);
    EXPECT_TRUE(view.shell.redraws.empty());
}

TEST_F(ZoomDrag, TheZoomWindowHoldsTheRowsOfItsRangeEndsIncluded) {
    Drag(*view.widget, At(ExactPixelOfX(view, 2.0)), At(ExactPixelOfX(view, 6.0)));
    ASSERT_EQ(view.shell.zooms.size(), 1u);
    const ZoomOpen& zoom = view.shell.zooms.front();
    EXPECT_EQ(zoom.xFrom, 2.0);
    EXPECT_EQ(zoom.xTo, 6.0);
    ASSERT_TRUE(zoom.loaded);
    const StringArray& xCells = zoom.diagram->values[0];
    ASSERT_EQ(xCells.GetSize(), 5);
    EXPECT_EQ(xCells.NumberAt(0), 2.0);
    EXPECT_EQ(xCells.NumberAt(4), 6.0);
}

TEST_F(ZoomDrag, LeftwardCancelledAndOutsideDragsOpenNothing) {
    const int from = ExactPixelOfX(view, 4.0);
    Drag(*view.widget, At(from), At(from - 40));
    Drag(*view.widget, At(from), QPoint(from + 40, view.diagram.plotRect.bottom + 5));

    QTest::mousePress(view.widget.get(), Qt::LeftButton, Qt::NoModifier, At(from));
    QTest::mouseMove(view.widget.get(), At(from + 40));
    QTest::keyClick(view.widget.get(), Qt::Key_Escape);
    EXPECT_FALSE(view.widget->findChild<QRubberBand*>()->isVisible());
    QTest::mouseRelease(view.widget.get(), Qt::LeftButton, Qt::NoModifier, At(from + 40));
    EXPECT_TRUE(view.shell.zooms.empty());

    // A press outside the plot starts nothing.
    QTest::mousePress(view.widget.get(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(view.diagram.plotRect.left - 2, y));
    EXPECT_FALSE(view.widget->findChild<QRubberBand*>()->isVisible());
}

TEST_F(ZoomDrag, AZoomWindowCanBeZoomedAgain) {
    Drag(*view.widget, At(ExactPixelOfX(view, 2.0)), At(ExactPixelOfX(view, 8.0)));
    ASSERT_EQ(view.shell.zooms.size(), 1u);
    ASSERT_TRUE(view.shell.zooms.front().loaded);

    CDiagram& zoomed = *view.shell.zooms.front().diagram;
    RecordingShell secondShell;
    InputWidget zoomWidget(zoomed, secondShell);
    zoomWidget.resize(800, 500);
    zoomWidget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&zoomWidget));
    {
        QImage image(800, 500, QImage::Format_RGB32);
        QPainter painter(&image);
        CQtDrawContext context(painter);
        zoomed.Paint(context);
    }
    const int from = zoomed.PixelAtValue(3.0, 0.0).x + 1;
    const int to = zoomed.PixelAtValue(5.0, 0.0).x + 1;
    const int yMid = zoomed.PixelAtValue(0.0, 10.0).y;
    Drag(zoomWidget, QPoint(from, yMid), QPoint(to, yMid));
    ASSERT_EQ(secondShell.zooms.size(), 1u);
    ASSERT_TRUE(secondShell.zooms.front().loaded);
    const StringArray& xCells = secondShell.zooms.front().diagram->values[0];
    ASSERT_EQ(xCells.GetSize(), 2); // rows 4 and 5 lie within (3, 5]
    EXPECT_EQ(xCells.NumberAt(0), 4.0);
}

TEST_F(ZoomDrag, WhenTheFileIsGoneNothingOpensAndTheRequestIsReset) {
    std::filesystem::remove(view.path);
    Drag(*view.widget, At(ExactPixelOfX(view, 2.0)), At(ExactPixelOfX(view, 6.0)));
    ASSERT_EQ(view.shell.zooms.size(), 1u);
    EXPECT_TRUE(view.shell.zooms.front().requestSet);
    EXPECT_FALSE(view.shell.zooms.front().loaded);
    EXPECT_FALSE(g_bZoomOpen);

    // Also when the open ends in an error.
    struct ThrowingShell : RecordingShell {
        void OpenZoomWindow(const std::string&) override { throw std::runtime_error("gone"); }
    } throwing;
    InputWidget widget(view.diagram, throwing);
    QMouseEvent press(QEvent::MouseButtonPress, At(ExactPixelOfX(view, 2.0)), QPointF(),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, At(ExactPixelOfX(view, 6.0)), QPointF(),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    widget.input.MousePress(press);
    EXPECT_THROW(widget.input.MouseRelease(release), std::runtime_error);
    EXPECT_FALSE(g_bZoomOpen);
}

void ExpectUsableWithoutData(LoadedView& view) {
    QWidget* widget = view.widget.get();
    QTest::mouseMove(widget, QPoint(300, 200));
    EXPECT_EQ(view.widget->input.m_strStatus, " ");
    EXPECT_TRUE(view.widget->errors.empty());

    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ(view.widget->errors.size(), 1u);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ(view.widget->errors.size(), 2u);
    QTest::mouseDClick(widget, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ(view.widget->errors.size(), 3u);
    QTest::keyClick(widget, Qt::Key_Right);
    EXPECT_EQ(view.widget->errors.size(), 4u);
    EXPECT_TRUE(view.shell.zooms.empty());
    EXPECT_FALSE(g_bZoomOpen);
}

TEST(NoData, UntitledDiagramRaisesTheErrorAndTheReadoutWritesABlank) {
    LoadedView view;
    view.Paint();
    ExpectUsableWithoutData(view);
}

TEST(NoData, FileWithoutRowsRaisesTheErrorAndTheReadoutWritesABlank) {
    LoadedView view("X=number\nNo rows\nX;A;B\n");
    ExpectUsableWithoutData(view);
}

} // namespace
