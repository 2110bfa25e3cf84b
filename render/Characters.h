// Characters of UTF-8 text: a character is a lead byte and the continuation
// bytes after it, so a cut never splits one.
#pragma once

#include <string_view>

// The number of characters in text.
int CountCharacters(std::string_view text);
// The first count characters of text (all of it when it is shorter).
std::string_view FirstCharacters(std::string_view text, int count);
