// Pictures at a screen's pixel ratio: lines as wide as their pens in device
// pixels everywhere, and curves drawn at the device's resolution rather than
// as the picture of ratio 1 enlarged.
#include "RenderTestSupport.h"
#include "qtdraw/QtDrawContext.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGrid = qRgb(200, 200, 250);

QImage Painted(CDiagram& diagram, QSize client, double ratio) {
    QImage image(static_cast<int>(std::ceil(client.width() * ratio)),
                 static_cast<int>(std::ceil(client.height() * ratio)), QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    CQtDrawContext context(painter, ratio);
    diagram.Paint(context);
    return image;
}

// The lengths of the runs of colour along row y from x = left to right, each
// with a different colour on both sides.
std::vector<int> RunsAlongRow(const QImage& image, int y, int left, int right, QRgb color) {
    std::vector<int> runs;
    int length = 0;
    for (int x = left; x < right; ++x) {
        if (image.pixel(x, y) == color) {
            ++length;
            continue;
        }
        if (length > 0 && x - length > left)
            runs.push_back(length);
        length = 0;
    }
    return runs;
}

// Of the 2x2 blocks (at even coordinates) that hold a pixel of color, the
// share whose four pixels all have it: 1 for a picture enlarged twice.
double UniformBlockShare(const QImage& image, QRgb color) {
    int holding = 0;
    int uniform = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const int count = (image.pixel(x, y) == color) + (image.pixel(x + 1, y) == color) +
                              (image.pixel(x, y + 1) == color) +
                              (image.pixel(x + 1, y + 1) == color);
            holding += count > 0;
            uniform += count == 4;
        }
    return holding == 0 ? 1.0 : static_cast<double>(uniform) / holding;
}

class DeviceResolution : public testing::TestWithParam<double> {};

// Grid lines a pixel wide are round(ratio) device pixels wide, every one of
// them, and so is the plot's outline: at 1.5 none is one pixel and another two.
TEST_P(DeviceResolution, EveryLineIsAsWideAsItsPen) {
    const double ratio = GetParam();
    const int width = static_cast<int>(std::lround(ratio));
    RecordingHost host;
    host.client = Rect{0, 0, 800, 500};
    CDiagram diagram(&host);
    ASSERT_TRUE(diagram.LoadFile(ExamplePath("pump_test.txt").string()));
    diagram.showLegend = false;
    const QImage image = Painted(diagram, QSize(800, 500), ratio);
    // A row just under the plot's top, above every curve: the row lines of
    // the grid cross it.
    const Rect plot = diagram.plotRect;
    const int y = DevicePixel(plot.top + 3, ratio);
    const std::vector<int> runs = RunsAlongRow(image, y, DevicePixel(plot.left, ratio),
                                               DevicePixel(plot.right, ratio), kGrid);
    ASSERT_GT(runs.size(), 20u);
    for (const int run : runs)
        EXPECT_EQ(run, width);
    // The outline's left edge.
    const int left = DevicePixel(plot.left, ratio);
    for (int x = left; x < left + width; ++x)
        EXPECT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << x;
    EXPECT_NE(image.pixel(left + width, y), qRgb(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Ratios, DeviceResolution, testing::Values(1.0, 1.25, 1.5, 2.0));

// Noisy curves at twice the resolution are drawn with the finer steps the
// device has, not as the picture of ratio 1 with every pixel doubled, where
// every 2x2 block of a curve is one colour. Half of a two-pixel stroke that
// runs straight along a row or column falls on the blocks' grid, so a curve
// of long flat or steep stretches keeps about half of its blocks whole; the
// slanted segments of noisy data far fewer.
TEST(DeviceResolutionCurves, NoisyCurvesAreDrawnInDevicePixels) {
    for (const bool walk : {false, true}) {
        SCOPED_TRACE(walk ? "random walk" : "white noise");
        std::mt19937 random(7);
        std::uniform_real_distribution<double> noise(-1.0, 1.0);
        std::string text = "Noise\nX;a\n";
        double value = 0.0;
        for (int i = 0; i < 200; ++i) {
            value = walk ? value + noise(random) : noise(random);
            text += std::to_string(i) + ";" + std::to_string(value) + "\n";
        }
        TestDiagram test;
        test.Load(text);
        test.diagram.xShowNet = false;
        test.diagram.showLegend = false;
        const COLORREF color = test.diagram.columns[1].color;
        const QRgb curve = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
        const QImage once = Painted(test.diagram, QSize(800, 500), 1.0);
        EXPECT_EQ(UniformBlockShare(once.scaled(once.size() * 2), curve), 1.0);
        const double share = UniformBlockShare(Painted(test.diagram, QSize(800, 500), 2.0), curve);
        std::printf("uniform 2x2 blocks of the curve at ratio 2: %.1f %%\n", share * 100);
        EXPECT_LT(share, 0.4);
    }
}

} // namespace
