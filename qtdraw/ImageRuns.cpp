#include "qtdraw/ImageRuns.h"

#include <QImage>
#include <QPaintEngine>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

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

// The rows of pixel columns that widened vertical runs cover, each kept
// open while the runs of the columns beside it may still extend it. Along a
// dense curve the widened runs of neighbouring columns overlap over most of
// their height; each pixel column is then filled once, not once per run.
class ColumnSpans {
public:
    ColumnSpans(uchar* bits, qsizetype stride, QSize size, std::uint32_t pixel)
        : bits(bits), stride(stride), size(size), pixel(pixel) {}
    ~ColumnSpans() { CloseLeftOf(std::numeric_limits<int>::max()); }
    ColumnSpans(const ColumnSpans&) = delete;
    ColumnSpans& operator=(const ColumnSpans&) = delete;

    // Fills the spans of the columns left of x: runs come left to right, and
    // those columns take no more. A run further left opens them again.
    void CloseLeftOf(int x) {
        std::erase_if(open, [&](const Span& span) {
            if (span.x >= x)
                return false;
            Fill(span);
            return true;
        });
    }
    // Rows top .. bottom (both included) of column x.
    void Add(int x, int top, int bottom) {
        for (Span& span : open) {
            if (span.x != x)
                continue;
            if (top <= span.bottom + 1 && bottom + 1 >= span.top) {
                span.top = std::min(span.top, top);
                span.bottom = std::max(span.bottom, bottom);
            } else {
                Fill(span);
                span = Span{x, top, bottom};
            }
            return;
        }
        open.push_back(Span{x, top, bottom});
    }

private:
    struct Span {
        int x, top, bottom;
    };

    void Fill(const Span& span) const {
        if (span.x < 0 || span.x >= size.width())
            return;
        const int bottom = std::min(span.bottom, size.height() - 1);
        uchar* line = bits + std::max(span.top, 0) * stride + span.x * qsizetype(sizeof pixel);
        for (int y = std::max(span.top, 0); y <= bottom; ++y, line += stride)
            *reinterpret_cast<std::uint32_t*>(line) = pixel;
    }

    uchar* bits;
    qsizetype stride;
    QSize size;
    std::uint32_t pixel;
    std::vector<Span> open;
};

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
        ColumnSpans columns(bits, stride, bounds.size(), pixel);
        for (const QLine& run : runs) {
            const QRect rect = WidenedRun(run, width);
            if (run.x1() == run.x2()) {
                columns.CloseLeftOf(rect.left());
                for (int x = rect.left(); x <= rect.right(); ++x)
                    columns.Add(x, rect.top(), rect.bottom());
                continue;
            }
            const QRect shown = rect & bounds;
            for (int y = shown.top(); y <= shown.bottom(); ++y)
                std::fill(row(y) + shown.left(), row(y) + shown.right() + 1, pixel);
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
