#include "InteractionTestSupport.h"
#include "qtdraw/QtDrawContext.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const QColor kBackground(200, 210, 220); // what the device held before the paint

QImage FullPaint(CDiagram& diagram, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    QPainter painter(&image);
    CQtDrawContext context(painter);
    diagram.Paint(context);
    return image;
}

QImage PictureDraw(CDiagramPicture& picture, CDiagram& diagram, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    QPainter painter(&image);
    picture.Draw(painter, diagram, size, kBackground);
    return image;
}

struct Settings {
    const char* name;
    bool spectrum;
    bool marks;
    bool legend;
};

class DiagramPictureTest : public testing::TestWithParam<Settings> {};

TEST_P(DiagramPictureTest, KeptPictureAndMarkerEqualAFullPaint) {
    const Settings settings = GetParam();
    std::string file = "X=number\nPicture\nX;Wave;Ramp\n";
    for (int i = 0; i < 64; ++i)
        file += std::to_string(i) + ";" + std::to_string((i * 37) % 11) + ";" +
                std::to_string(i / 4) + "\n";
    LoadedView view(file);
    CDiagram& diagram = view.diagram;
    diagram.showSpectrum = settings.spectrum;
    diagram.showMarks = settings.marks;
    diagram.showLegend = settings.legend;
    const QSize size(800, 500);

    CDiagramPicture picture;
    for (const std::optional<double> markerB : {std::optional<double>(), {3.0}, {40.25}}) {
        diagram.markerB = markerB;
        for (double marker : {-1.0, 0.0, 1.0, 17.5, 40.25, 63.0, 200.0}) {
            SCOPED_TRACE("marker at " + std::to_string(marker) + ", B at " +
                         std::to_string(markerB.value_or(-1)));
            diagram.markerX = marker;
            const QImage kept = PictureDraw(picture, diagram, size);
            EXPECT_TRUE(kept == FullPaint(diagram, size));
        }
    }
}

TEST(DiagramPicture, MarkerBIsDashedInItsOwnColourAndNamesBothLines) {
    LoadedView view(TwoCurveFile());
    CDiagram& diagram = view.diagram;
    diagram.markerX = 2.0;
    const QSize size(800, 500);
    const QImage withoutB = FullPaint(diagram, size);
    diagram.markerB = 7.0;
    const QImage withB = FullPaint(diagram, size);
    const int b = view.PixelOfX(7.0);
    const QColor orange(255, 128, 0);
    const Rect& plot = diagram.plotRect;
    int dashed = 0;
    for (int y = plot.top; y < plot.bottom; ++y)
        dashed += withB.pixelColor(b, y) == orange ? 1 : 0;
    // Half the height in dashes, give or take a curve crossing it.
    EXPECT_GT(dashed, (plot.bottom - plot.top) * 2 / 5);
    EXPECT_LT(dashed, (plot.bottom - plot.top) * 3 / 5);

    // The names sit right of each line at the top of the plot.
    const auto inkNear = [&](const QImage& image, int x, QColor color) {
        int ink = 0;
        for (int dx = 2; dx < 12; ++dx)
            for (int y = plot.top + 1; y < plot.top + 16; ++y)
                ink += image.pixelColor(x + dx, y) == color ? 1 : 0;
        return ink;
    };
    const int a = view.PixelOfX(2.0);
    EXPECT_GT(inkNear(withB, b, orange), 5);
    EXPECT_GT(inkNear(withB, a, QColor(255, 0, 255)), 5);
    EXPECT_EQ(inkNear(withoutB, a, QColor(255, 0, 255)), 0);

    // Without B the picture is the one of a single marker.
    diagram.markerB.reset();
    EXPECT_TRUE(FullPaint(diagram, size) == withoutB);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DiagramPictureTest,
    testing::Values(Settings{"Plain", false, false, true}, Settings{"Spectrum", true, false, true},
                    Settings{"Marks", false, true, true}, Settings{"NoLegend", false, false, false},
                    Settings{"All", true, true, false}),
    [](const testing::TestParamInfo<Settings>& info) { return std::string(info.param.name); });

TEST(DiagramPicture, KeepsThePictureUntilInvalidatedOrResized) {
    LoadedView view(TwoCurveFile());
    CDiagram& diagram = view.diagram;
    CDiagramPicture picture;
    diagram.markerX = 3.0;
    PictureDraw(picture, diagram, QSize(800, 500));

    // A change the picture is not told of stays unseen: the kept one is drawn.
    diagram.showLegend = false;
    diagram.markerX = 6.0;
    EXPECT_FALSE(PictureDraw(picture, diagram, QSize(800, 500)) ==
                 FullPaint(diagram, QSize(800, 500)));
    picture.Invalidate();
    EXPECT_TRUE(PictureDraw(picture, diagram, QSize(800, 500)) ==
                FullPaint(diagram, QSize(800, 500)));

    // A new size paints anew.
    view.host.client = Rect{0, 0, 640, 400};
    diagram.showLegend = true;
    EXPECT_TRUE(PictureDraw(picture, diagram, QSize(640, 400)) ==
                FullPaint(diagram, QSize(640, 400)));
}

} // namespace
