// Cutting and counting UTF-8 text: a character is a lead byte and the
// continuation bytes after it, so a cut never splits one. Texts that are not
// UTF-8 (Latin-1, binary) count every other byte as a character.
#pragma once

#include <cstddef>
#include <string_view>

// The number of characters in text.
int CountCharacters(std::string_view text);
// The first count characters of text (all of it when it is shorter).
std::string_view FirstCharacters(std::string_view text, int count);
// The start of the character that byte pos of text belongs to.
std::size_t CharacterStart(std::string_view text, std::size_t pos);
// Text cut to at most maxBytes bytes without splitting a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);
