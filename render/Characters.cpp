#include "render/Characters.h"

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
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
