#include "diagram/PlainTable.h"

#include "diagram/AsciiChars.h"
#include "diagram/DateTime.h"
#include "diagram/Numbers.h"

bool ReadsAsNumber(std::string_view text) {
    // A NUL byte inside the token ends the number early and is then left
    // over as a character that is no blank.
    const std::size_t length = NumberPrefixLength(text);
    if (length == 0)
        return false;
    for (std::size_t at = length; at < text.size(); ++at)
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
