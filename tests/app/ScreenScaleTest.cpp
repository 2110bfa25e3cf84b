// The viewer on a screen scaled by QT_SCALE_FACTOR (2 or 1.5, set by the
// test's registration): the window shows the picture kelvaro-cli render
// --scale draws, copies it at the screen's resolution, and the mouse and the
// marker keep to window pixels.
#include "ExampleViewTest.h"
#include "TestSupport.h"

#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "diagram/CDiagram.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace {

// The screen's scale the test runs at.
double ScaleFactor() {
    return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
}

std::string Where(const QImage& a, const QImage& b) {
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first difference at " + std::to_string(x) + "," + std::to_string(y);
    return "sizes differ";
}

class ScreenScale : public ExampleViewTest {
protected:
    CDiagram& Diagram() { return view->Diagram(); }
    int Middle() { return (Diagram().plotRect.top + Diagram().plotRect.bottom) / 2; }

    // A double-click of a pointer at `at`, between window pixels where the
    // screen's scale puts it there.
    void DoubleClick(QPointF at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons buttons =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(view, &event);
        }
    }
    // The X a window pixel column reads.
    double ValueAt(int x) {
        double value = 0.0;
        EXPECT_TRUE(Diagram().ValueAtPixel(x, Middle(), &value, nullptr));
        return value;
    }
};

TEST_F(ScreenScale, TheWindowShowsThePictureRenderDrawsAtTheScreensScale) {
    const double ratio = ScaleFactor();
    ASSERT_GT(ratio, 1.0);
    ASSERT_EQ(view->devicePixelRatio(), ratio);
    DoubleClick(QPointF(Diagram().PixelAtValue(3.0, 0.0).x, Middle()));
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_GT(Diagram().markerX, 3.0);

    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.devicePixelRatio(), ratio);
    ASSERT_EQ(shown.size(), QSize(800, 500) * ratio);

    TempDir dir;
    const QString picture = QString::fromStdString((dir.Path() / "window.png").string());
    char marker[32];
    std::snprintf(marker, sizeof marker, "%.17g", Diagram().markerX);
    QProcess cli;
    cli.start(KELVARO_CLI_PATH,
              {"render", QString::fromStdString(ExamplePath("pump_test.txt").string()), "--size",
               "800x500", "--scale", QString::number(ratio), "--marker", marker, "-o", picture});
    ASSERT_TRUE(cli.waitForFinished(60'000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage rendered = QImage(picture).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), shown.size());
    EXPECT_TRUE(rendered == shown) << Where(rendered, shown);
}

TEST_F(ScreenScale, CopyPutsThePictureAtTheScreensResolution) {
    MainFrame().RunCommand(ID_EDIT_COPY);
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.devicePixelRatio(), ScaleFactor());
    ASSERT_EQ(copied.size(), QSize(800, 500) * ScaleFactor());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              view->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

// The marker goes to the window pixel the pointer is in, also where the
// pointer lies between two of them, and its keys step it by window pixels.
TEST_F(ScreenScale, MarkerAndItsStepsKeepToWindowPixels) {
    const int x = Diagram().PixelAtValue(3.0, 0.0).x;
    // The last device pixel of window pixel x.
    const double inside = x + (std::ceil(ScaleFactor()) - 1) / ScaleFactor();
    DoubleClick(QPointF(inside, Middle() + 0.5));
    EXPECT_DOUBLE_EQ(Diagram().markerX, ValueAt(x));
    EXPECT_TRUE(MainFrame().PaneText().startsWith(" X = "));

    const auto stepped = [&](int offset) {
        return ValueAt(Diagram().PixelAtValue(Diagram().markerX, 0.0).x + offset);
    };
    double expected = stepped(+2);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(Diagram().markerX, expected);
    expected = stepped(-1);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(Diagram().markerX, expected);
}

// With the readout under the mouse on, the pointer over a curve as the
// screen shows it names that curve.
TEST_F(ScreenScale, ReadoutFindsTheCurveUnderThePointer) {
    view->Diagram().showXYByMouse = true;
    const int x = Diagram().PixelAtValue(10.0, 0.0).x;
    std::optional<CurveValues> values = Diagram().CurveValuesAtPixel(x);
    ASSERT_TRUE(values);
    const double flow = values->values[2];
    const QPointF at(x, Diagram().PixelAtValue(10.0, flow).y + 0.5);
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    EXPECT_TRUE(MainFrame().PaneText().contains("Column = Flow"))
        << MainFrame().PaneText().toStdString();
}

} // namespace
