// Where two pictures first differ, for the message of a failed comparison.
#pragma once

#include <QImage>

#include <string>

// "x,y" of the first pixel in reading order that differs, or "none".
inline std::string FirstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return std::to_string(x) + "," + std::to_string(y);
    return "none";
}
