#include "qtdraw/ImageRuns.h"

#include <QImage>
#include <QPaintEngine>

#include <algorithm>
#include <cstdint>

namespace {

QImage* PlainImageOf(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster)
        return nullptr;
    if (painter.hasClipping() || !painter.deviceTransform().isIdentity() ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    switch (image->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return nullptr;
    }
}

} // namespace

QRect WidenedRun(const QLine& run, int width) {
    if (run.x1() == run.x2())
        return QRect(run.x1(), run.y1(), width, run.y2() - run.y1() + width - 1);
    return QRect(run.x1(), run.y1(), run.x2() - run.x1() + width - 1, width);
}

bool FillRunsInImage(QPainter& painter, std::span<const QLine> runs, QColor color, int width) {
    QImage* image = PlainImageOf(painter);
    if (!image || color.alpha() != 255)
        return false;
    // The painter owns no other copy of the image, so this does not detach it.
    uchar* const bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    const QRect bounds = image->rect();
    const std::uint32_t pixel = color.rgba(); // opaque: the same in all three formats
    const auto row = [&](int y) { return reinterpret_cast<std::uint32_t*>(bits + y * stride); };
    if (width > 1) {
        const qsizetype step = stride / static_cast<qsizetype>(sizeof(std::uint32_t));
        for (const QLine& run : runs) {
            const QRect rect = WidenedRun(run, width) & bounds;
            if (rect.isEmpty())
                continue;
            // Most runs are a pixel column widened to a few pixels: a short
            // loop per row does better there than a general fill.
            const int count = rect.width();
            std::uint32_t* line = row(rect.top()) + rect.left();
            for (int y = rect.top(); y <= rect.bottom(); ++y, line += step)
                for (int k = 0; k < count; ++k)
                    line[k] = pixel;
        }
        return true;
    }
    const int imageWidth = bounds.width();
    const int height = bounds.height();
    for (const QLine& run : runs) {
        if (run.x1() == run.x2()) {
            const int x = run.x1();
            if (x < 0 || x >= imageWidth)
                continue;
            const int bottom = std::min(run.y2(), height);
            for (int y = std::max(run.y1(), 0); y < bottom; ++y)
                row(y)[x] = pixel;
        } else {
            const int y = run.y1();
            if (y < 0 || y >= height)
                continue;
            const int left = std::max(run.x1(), 0);
            const int right = std::min(run.x2(), imageWidth);
            if (left < right)
                std::fill(row(y) + left, row(y) + right, pixel);
        }
    }
    return true;
}
