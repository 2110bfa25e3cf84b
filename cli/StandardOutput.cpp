#include "cli/StandardOutput.h"

#include "diagram/FileBytes.h"

#include <QBuffer>

#include <cerrno>
#include <iostream>
#include <unistd.h>

bool PaintPictureBytes(PictureFormat format, QSize size,
                       const std::function<void(QPainter&)>& paint, QByteArray& bytes,
                       double pixelRatio) {
    bytes.clear();
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) &&
           WritePicture(buffer, format, size, paint, pixelRatio);
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
