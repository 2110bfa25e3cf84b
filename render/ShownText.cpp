#include "render/ShownText.h"

#include "diagram/Utf8Text.h"
#include "render/DiagramMetrics.h"

std::string_view ShownPart(std::string_view text, TextAlign align) {
    if (text.size() <= static_cast<std::size_t>(kMaxShownCharacters))
        return text;
    if (align == TextAlign::LeftTop)
        return FirstCharacters(text, kMaxShownCharacters);
    // Half the characters before the middle byte, half from it on.
    std::size_t begin = CharacterStart(text, text.size() / 2);
    for (int n = 0; n < kMaxShownCharacters / 2 && begin > 0; ++n)
        begin = CharacterStart(text, begin - 1);
    return FirstCharacters(text.substr(begin), kMaxShownCharacters);
}
