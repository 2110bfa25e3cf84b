#include "cli/StandardOutput.h"

#include "diagram/FileBytes.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cerrno>
#include <iostream>
#include <unistd.h>

namespace {

// The resolution at which one unit of a PDF page or an SVG canvas is one
// screen pixel, as in the picture files.
constexpr int kScreenDpi = 96;

bool PaintOn(QPaintDevice& device, QSize size, const std::function<void(QPainter&)>& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paint(painter);
    return painter.end();
}

} // namespace

bool PaintPictureBytes(PictureFormat format, QSize size,
                       const std::function<void(QPainter&)>& paint, QByteArray& bytes) {
    bytes.clear();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    switch (format) {
    case PictureFormat::Png: {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return false;
        return PaintOn(image, size, paint) && image.save(&buffer, "PNG");
    }
    case PictureFormat::Pdf: {
        QPdfWriter writer(&buffer);
        writer.setResolution(kScreenDpi);
        writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / kScreenDpi, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return PaintOn(writer, size, paint);
    }
    case PictureFormat::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(kScreenDpi);
        return PaintOn(generator, size, paint);
    }
    }
    return false;
}

bool WriteToStandardOutput(std::string_view bytes, std::string& error) {
    std::cout.flush();
    if (!std::cout) {
        error = "the standard output could not be written";
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t wrote = write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0) {
            error = SystemErrorText(errno);
            return false;
        }
        if (wrote == 0) {
            error = "nothing more could be written";
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}
