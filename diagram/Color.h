// Colours as the diagram stores them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>
#include <string>

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// "#RRGGBB" of a colour, as traces and reports write it.
inline std::string ColorHex(COLORREF color) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int part : {GetRValue(color), GetGValue(color), GetBValue(color)}) {
        text += digits[part >> 4];
        text += digits[part & 0xF];
    }
    return text;
}
