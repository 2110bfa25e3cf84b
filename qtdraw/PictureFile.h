// Pictures written to files: PNG, PDF or SVG by the file name's extension.
// A picture is painted into a temporary file beside the target and replaces
// it only when complete, so a failure never leaves a half-written file.
#pragma once

#include <QIODevice>
#include <QPainter>
#include <QSize>

#include <functional>
#include <optional>
#include <string>

enum class PictureFormat { Png, Pdf, Svg };

// The device pixels of a picture of size layout pixels drawn at pixelRatio
// device pixels per layout pixel: every layout pixel whole.
QSize DeviceSize(QSize size, double pixelRatio);

// The format a file name asks for: ".png", ".pdf" or ".svg" in any case.
std::optional<PictureFormat> PictureFormatFor(const std::string& path);

// Paints a white picture of size pixels with paint and writes it to path. A
// PNG image has DeviceSize(size, pixelRatio) pixels, which paint draws in
// device pixels; a PDF page and an SVG canvas are sized so that one unit is
// one screen pixel (96 per inch), whatever the ratio. False with the reason
// in error when the file cannot be written.
bool WritePicture(const std::string& path, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint, std::string& error,
                  double pixelRatio = 1.0);
// The same picture written to device, open for writing. False when it could
// not be made or written.
bool WritePicture(QIODevice& device, PictureFormat format, QSize size,
                  const std::function<void(QPainter&)>& paint, double pixelRatio = 1.0);
