#include "qtdraw/PictureFile.h"

#include "diagram/AsciiChars.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr int kScreenDpi = 96;

// Paints onto device: a white background, then the picture. False when the
// device cannot be painted on (its file could not be started).
bool PaintOn(QPaintDevice& device, QSize size, const std::function<void(QPainter&)>& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paint(painter);
    return painter.end();
}

} // namespace

QSize DeviceSize(QSize size, double pixelRatio) {
    if (pixelRatio == 1.0)
        return size;
    return QSize(static_cast<int>(std::ceil(size.width() * pixelRatio)),
                 static_cast<int>(std::ceil(size.height() * pixelRatio)));
}

std::optional<PictureFormat> PictureFormatFor(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
    if (extension == ".png")
        return PictureFormat::Png;
    if (extension == ".pdf")
        return PictureFormat::Pdf;
    if (extension == ".svg")
        return PictureFormat::Svg;
    return std::nullopt;
}

bool WritePicture(QIODevice& device, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint, double pixelRatio) {
    switch (format) {
    case PictureFormat::Png: {
        const QSize pixels = DeviceSize(size, pixelRatio);
        QImage image(pixels, QImage::Format_RGB32);
        if (image.isNull())
            return false;
        return PaintOn(image, pixels, paint) && image.save(&device, "PNG");
    }
    case PictureFormat::Pdf: {
        QPdfWriter writer(&device);
        writer.setResolution(kScreenDpi);
        writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / kScreenDpi, QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return PaintOn(writer, size, paint);
    }
    case PictureFormat::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(kScreenDpi);
        return PaintOn(generator, size, paint);
    }
    }
    return false;
}

bool WritePicture(const std::string& path, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint, std::string& error,
                  double pixelRatio) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = "cannot write \"" + path + "\": " + file.errorString().toStdString();
        return false;
    }
    if (!WritePicture(file, format, size, paint, pixelRatio)) {
        file.cancelWriting();
        error =
            "cannot write \"" + path + "\": " +
            (file.error() != QFileDevice::NoError ? file.errorString().toStdString()
                                                  : std::string("the picture could not be made"));
        return false;
    }
    if (!file.commit()) {
        error = "cannot write \"" + path + "\": " + file.errorString().toStdString();
        return false;
    }
    return true;
}
