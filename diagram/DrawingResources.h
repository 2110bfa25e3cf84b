// The fonts and pens a diagram draws with, as plain descriptions; each drawing
// context turns them into its own objects.
#pragma once

#include "diagram/Color.h"

#include <string>

struct FontSpec {
    std::string face;
    int height = 0; // cell height in pixels: ascent plus descent
    int weight = 400;
    bool operator==(const FontSpec&) const = default;
};

struct PenSpec {
    int width = 1;
    COLORREF color = 0;
    bool operator==(const PenSpec&) const = default;
};
