#include "app/DiagramPicture.h"

#include "diagram/CDiagram.h"
#include "qtdraw/PictureFile.h"
#include "qtdraw/QtDrawContext.h"

#include <QPaintDevice>
#include <QPainter>

#include <optional>
#include <utility>

namespace {

// Paint draws the marker lines last, the first only while markerX > 0 and
// marker B while it is set: hiding them for one paint leaves exactly the
// picture under the lines.
class MarkerHidden {
public:
    explicit MarkerHidden(CDiagram& diagram)
        : diagram(diagram), markerX(std::exchange(diagram.markerX, -1.0)),
          markerB(std::exchange(diagram.markerB, std::nullopt)) {}
    ~MarkerHidden() {
        diagram.markerX = markerX;
        diagram.markerB = markerB;
    }
    MarkerHidden(const MarkerHidden&) = delete;
    MarkerHidden& operator=(const MarkerHidden&) = delete;

private:
    CDiagram& diagram;
    double markerX;
    std::optional<double> markerB;
};

} // namespace

void CDiagramPicture::Invalidate() {
    picture = QImage();
}

void CDiagramPicture::Draw(QPainter& painter, CDiagram& diagram, QSize size,
                           const QColor& background) {
    const qreal pixelRatio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    if (picture.isNull() || picture.size() != DeviceSize(size, pixelRatio) ||
        picture.devicePixelRatio() != pixelRatio || pictureBackground != background) {
        Invalidate();
        picture = PaintWithoutMarker(diagram, size, pixelRatio, background);
        pictureBackground = background;
    }
    painter.drawImage(0, 0, picture);
    // The marker in device pixels, as the picture under it was drawn (the
    // window's own at a ratio of 1).
    painter.save();
    painter.scale(1 / pixelRatio, 1 / pixelRatio);
    {
        CQtDrawContext context(painter, pixelRatio);
        diagram.DrawMarkerOverLastPaint(context);
    }
    painter.restore();
}

QImage CDiagramPicture::PaintWithoutMarker(CDiagram& diagram, QSize size, qreal pixelRatio,
                                           const QColor& background) {
    // Painted in device pixels, then shown at the device's ratio.
    QImage image(DeviceSize(size, pixelRatio), QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter painter(&image);
        CQtDrawContext context(painter, pixelRatio);
        const MarkerHidden hidden(diagram);
        diagram.Paint(context);
    }
    image.setDevicePixelRatio(pixelRatio);
    return image;
}
