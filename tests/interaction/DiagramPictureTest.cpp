#include "InteractionTestSupport.h"
#include "qtdraw/QtDrawContext.h"

#include <QPainter>

#include <gtest/gtest.h>

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
    picture.Draw(painter, diagram, size);
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
    for (double marker : {-1.0, 0.0, 1.0, 17.5, 40.25, 63.0, 200.0}) {
        SCOPED_TRACE("marker at " + std::to_string(marker));
        diagram.markerX = marker;
        const QImage kept = PictureDraw(picture, diagram, size);
        EXPECT_TRUE(kept == FullPaint(diagram, size));
    }
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
