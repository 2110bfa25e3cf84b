// Pictures for `render -o -`: painted whole into memory, then written to the
// standard output, so a reader downstream gets a complete picture or the tool
// fails.
#pragma once

#include "qtdraw/PictureFile.h"

#include <QByteArray>
#include <QPainter>
#include <QSize>

#include <functional>
#include <string>
#include <string_view>

// The picture as WritePicture would write it to a file of that format: a
// white background of size pixels (a PNG's at pixelRatio), painted with
// paint. False when it could not be made.
bool PaintPictureBytes(PictureFormat format, QSize size,
                       const std::function<void(QPainter&)>& paint, QByteArray& bytes,
                       double pixelRatio = 1.0);

// Writes all of bytes to the standard output, after whatever std::cout still
// holds. False with the system's reason in error when a write fails (a
// closed pipe: EPIPE, which needs SIGPIPE ignored).
bool WriteToStandardOutput(std::string_view bytes, std::string& error);
