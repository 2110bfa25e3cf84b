#include "diagram/Utf8Text.h"

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsLead(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0xC0;
}

} // namespace

int CountCharacters(std::string_view text) {
    int count = 0;
    for (char c : text)
        if (!IsContinuation(c))
            ++count;
    return count;
}

std::string_view FirstCharacters(std::string_view text, int count) {
    std::size_t end = 0;
    for (int seen = 0; end < text.size(); ++end) {
        if (!IsContinuation(text[end]) && seen++ == count)
            break;
    }
    return text.substr(0, end);
}

std::size_t CharacterStart(std::string_view text, std::size_t pos) {
    while (pos > 0 && pos < text.size() && IsContinuation(text[pos]))
        --pos;
    return pos;
}

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t cut = maxBytes;
    // Step back over continuation bytes to the start of the sequence that the
    // cut would split, but only when it is a real multi-byte start.
    std::size_t start = cut;
    while (start > 0 && IsContinuation(text[start]) && cut - start < 3)
        --start;
    if (start != cut && IsLead(text[start]))
        cut = start;
    return text.substr(0, cut);
}
