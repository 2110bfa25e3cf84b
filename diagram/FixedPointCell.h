// Cells written as a plain fixed-point number ("12.3456", "-3", "0.25"), which
// a column keeps as the number and its count of decimals instead of the text.
// A text qualifies only when it can be made again from those two byte for
// byte: an optional "-", an integer part without leading zeros (just "0"
// below 1), an optional "." and at least one decimal, and at most 15 digits
// after the leading zeros. Such a text is k / 10^d for an integer k < 10^15;
// its double is within 2^-53 of that value, so k * 10^d computed in doubles
// lies within 0.25 of k and rounds back to it, and the sign bit gives the "-"
// back (also of "-0"). The double is k / 10^d correctly rounded, which is
// exactly what AtoF gives for the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fixed_point {

constexpr int kMaxDecimals = 15;
constexpr std::uint64_t kDigitsLimit = 1'000'000'000'000'000; // 10^15
// A minus sign, "0.", and 15 digits, or 15 digits around a point.
constexpr std::size_t kMaxLength = 18;

inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The count of decimals of text when it qualifies, its number in value;
// otherwise -1 and value is left alone.
inline int Parse(std::string_view text, double& value) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    if (p == end)
        return -1;
    std::uint64_t k = 0;
    if (*p == '0') {
        ++p;
    } else {
        const char* const first = p;
        for (; p != end; ++p) {
            const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
            if (digit > 9)
                break;
            k = k * 10 + digit;
            if (k >= kDigitsLimit)
                return -1;
        }
        if (p == first)
            return -1;
    }
    int decimals = 0;
    if (p != end) {
        if (*p != '.')
            return -1;
        const char* const first = ++p;
        for (; p != end; ++p) {
            const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
            if (digit > 9)
                return -1;
            k = k * 10 + digit;
            if (k >= kDigitsLimit || p - first >= kMaxDecimals)
                return -1;
        }
        decimals = static_cast<int>(p - first);
        if (decimals == 0)
            return -1;
    }
    const double magnitude = static_cast<double>(k) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return decimals;
}

// Writes the text that Parse read value and decimals from into out (at least
// kMaxLength bytes); returns its length.
std::size_t Write(double value, int decimals, char* out);

} // namespace fixed_point
