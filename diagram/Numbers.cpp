#include "diagram/Numbers.h"

#include "diagram/AsciiChars.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <stdexcept>

namespace {

// The "C" locale handle, made once. The process locale is never touched.
locale_t CLocale() {
    static const locale_t handle = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (handle == locale_t(nullptr))
        throw std::runtime_error("the C locale is not available");
    return handle;
}

// strtod and strtol need a NUL-terminated text; cell texts are short, so a
// stack buffer serves nearly always.
template <class F> auto WithTerminated(std::string_view text, F&& parse) {
    char small[64];
    if (text.size() < sizeof small) {
        text.copy(small, text.size());
        small[text.size()] = '\0';
        return parse(small);
    }
    const std::string copy(text);
    return parse(copy.c_str());
}

// The common case of a plain decimal text ("12.5", "-3e2") of at most 19
// digits whose value and power of ten are exact doubles: one multiplication or
// division, correctly rounded, gives the same double as strtod. Anything else
// (hexadecimal, inf, nan, long digit strings, large exponents) returns false.
bool FastDecimal(std::string_view text, double& result) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsAsciiSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    const std::size_t integerStart = i;
    while (i < n && IsAsciiDigit(text[i])) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i++] - '0');
        ++digits;
    }
    if (i < n && (text[i] == 'x' || text[i] == 'X') && i == integerStart + 1 &&
        text[integerStart] == '0')
        return false; // hexadecimal
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsAsciiDigit(text[i])) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i++] - '0');
            ++digits;
            --exponent;
        }
    }
    if (digits == 0 || digits > 19)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < n && IsAsciiDigit(text[j])) {
            int value = 0;
            while (j < n && IsAsciiDigit(text[j])) {
                if (value > 1000)
                    return false;
                value = value * 10 + (text[j++] - '0');
            }
            exponent += negativeExponent ? -value : value;
        }
    }
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (mantissa > (std::uint64_t{1} << 53) || exponent < -22 || exponent > 22)
        return false;
    double value = static_cast<double>(mantissa);
    value = exponent < 0 ? value / powers[-exponent] : value * powers[exponent];
    result = negative ? -value : value;
    return true;
}

// "%.Nf" of a finite value below 10^12 with at most 6 decimals, by integer
// arithmetic on the exact binary value m * 2^e: value * 10^N is rounded to an
// integer half to even, as printf rounds, and written as digits. Returns the
// length written, or 0 when the value needs the general path.
std::size_t FixedByIntegers(double value, int decimals, char* out) {
    static constexpr std::uint64_t powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (!(std::fabs(value) < 1e12) || decimals < 0 || decimals > 6)
        return 0;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;
    const std::uint64_t scale = powers[decimals];
    const unsigned __int128 product = static_cast<unsigned __int128>(m) * scale; // < 2^73
    unsigned __int128 scaled = 0;
    if (e >= 0) {
        scaled = product << e; // below 10^18: the value is below 10^12
    } else if (-e < 128) {
        const int shift = -e;
        scaled = product >> shift;
        const unsigned __int128 rest = product - (scaled << shift);
        const unsigned __int128 halfway = static_cast<unsigned __int128>(1) << (shift - 1);
        if (rest > halfway || (rest == halfway && (scaled & 1) != 0))
            ++scaled;
    } // else the value is below half a unit of the last decimal: 0
    const auto units = static_cast<std::uint64_t>(scaled);
    std::uint64_t whole = units / scale;
    std::uint64_t part = units % scale;

    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    std::size_t length = 0;
    if (std::signbit(value))
        out[length++] = '-';
    while (count > 0)
        out[length++] = digits[--count];
    if (decimals > 0) {
        out[length++] = '.';
        for (int d = decimals - 1; d >= 0; --d, part /= 10)
            out[length + static_cast<std::size_t>(d)] = static_cast<char>('0' + part % 10);
        length += static_cast<std::size_t>(decimals);
    }
    return length;
}

} // namespace

double AtoF(std::string_view text) {
    double fast = 0.0;
    if (FastDecimal(text, fast))
        return fast;
    return WithTerminated(text, [](const char* s) { return strtod_l(s, nullptr, CLocale()); });
}

std::size_t NumberPrefixLength(std::string_view text) {
    return WithTerminated(text, [](const char* s) {
        char* end = nullptr;
        strtod_l(s, &end, CLocale());
        return static_cast<std::size_t>(end - s);
    });
}

int AtoI(std::string_view text) {
    const long value =
        WithTerminated(text, [](const char* s) { return strtol_l(s, nullptr, 10, CLocale()); });
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string FormatC(const char* format, ...) {
    const locale_t previous = uselocale(CLocale());
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[128];
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        result.clear();
    } else if (static_cast<std::size_t>(length) < sizeof small) {
        result.assign(small, static_cast<std::size_t>(length));
    } else {
        result.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, again);
        result.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    uselocale(previous);
    return result;
}

std::string FormatFixed(double value, int decimals) {
    char buffer[400];
    if (const std::size_t length = FixedByIntegers(value, decimals, buffer))
        return std::string(buffer, length);
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return FormatC("%.*f", decimals, value);
    return std::string(buffer, end);
}
