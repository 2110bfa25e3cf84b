// Text-to-number and number-to-text rules of the whole program. They follow the
// C library's atof, atoi and printf exactly as in the "C" locale, whatever
// locale the process runs in: a German desktop must still read "2.5" as 2.5 and
// write 2.5 as "2.500", or the labels and the derived files come out wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// atof: leading white space, sign, digits, ".", fraction, exponent (also the C
// forms inf, nan and hexadecimal); reading stops at the first character that
// does not fit. A text without a leading number is 0.0.
double AtoF(std::string_view text);

// How many characters at the start of text the atof rule reads as a number,
// the white space before it included; 0 when it reads none.
std::size_t NumberPrefixLength(std::string_view text);

// atoi: leading white space, sign and decimal digits; 0 when there are none.
// Values beyond the range of int are clamped to it.
int AtoI(std::string_view text);

// printf-style formatting in the "C" locale ("%f", "%.3f", "%+f", "%6.f" ...).
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// value with the given number of decimals, exactly as printf's "%.Nf" writes
// it in the "C" locale, but much faster (cells of a spectrum, day numbers).
std::string FormatFixed(double value, int decimals);

// A real becomes a pixel by truncation toward zero. NaN gives 0 and values far
// outside any window are clamped to +-2^28 so that later pixel sums cannot
// overflow. Inline: every point of every curve goes through it.
inline int Trunc(double value) {
    constexpr double limit = 268435456.0; // 2^28
    if (value != value)                   // NaN
        return 0;
    if (value > limit)
        return static_cast<int>(limit);
    if (value < -limit)
        return -static_cast<int>(limit);
    return static_cast<int>(value);
}
