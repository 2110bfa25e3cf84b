// Character classes of the "C" locale for the words and digits of a data
// file. The C library's isspace, isdigit, toupper and tolower follow the
// locale that the viewer takes from the user's environment: under
// tr_TR.UTF-8 tolower leaves 'I' as it is, and "X=DATETIME" would not be read.
#pragma once

constexpr bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
