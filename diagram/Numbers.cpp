#include "diagram/Numbers.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
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

} // namespace

double AtoF(std::string_view text) {
    return WithTerminated(text, [](const char* s) { return strtod_l(s, nullptr, CLocale()); });
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

int Trunc(double value) {
    constexpr double limit = 268435456.0; // 2^28
    if (std::isnan(value))
        return 0;
    if (value > limit)
        return static_cast<int>(limit);
    if (value < -limit)
        return -static_cast<int>(limit);
    return static_cast<int>(value);
}
