#include "diagram/PlainTable.h"

#include "diagram/AsciiChars.h"
#include "diagram/DateTime.h"

#include <cstdlib>
#include <locale.h>
#include <stdexcept>
#include <string>

namespace {

// The "C" locale, made once: a German desktop must not make "2.5" stop at
// the point.
locale_t CLocale() {
    static const locale_t handle = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (handle == locale_t(nullptr))
        throw std::runtime_error("the C locale is not available");
    return handle;
}

} // namespace

bool ReadsAsNumber(std::string_view text) {
    // strtod needs a terminated text; a NUL byte inside the token ends the
    // copy's number early and is then left over as a character that is no
    // blank.
    const std::string copy(text);
    const char* const begin = copy.c_str();
    char* end = nullptr;
    strtod_l(begin, &end, CLocale());
    if (end == begin)
        return false;
    for (std::size_t at = static_cast<std::size_t>(end - begin); at < text.size(); ++at)
        if (!IsAsciiSpace(text[at]))
            return false;
    return true;
}

bool IsFirstDataRow(int headerTokens, const CheckedArray<std::string_view>& cells, int count) {
    if (headerTokens < 2 || count - 1 != headerTokens)
        return false;
    for (int i = 1; i < headerTokens; ++i)
        if (!ReadsAsNumber(cells[i]))
            return false;
    return true;
}

PlainX PlainXOf(std::string_view x) {
    if (ReadsAsNumber(x))
        return PlainX::Number;
    DateValue date;
    if (ParseDateTime(x, date))
        return PlainX::DateTime;
    return PlainX::Labels;
}
