// Texts that may hold bytes of a binary file, as a terminal or a log may show
// them: a control byte (an ESC would drive a terminal) becomes "\x1b".
#pragma once

#include <string>
#include <string_view>

// text with every control byte but line feed and tab, and DEL, written as
// "\x" and two lowercase hex digits; every other byte as it is.
std::string EscapeControlBytes(std::string_view text);
