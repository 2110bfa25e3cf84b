// Texts of the data file are bytes: shown as UTF-8 when they are valid UTF-8,
// else as Latin-1, so every byte shows as some character.
#pragma once

#include <QString>

#include <string_view>

QString TextFromBytes(std::string_view text);

// A line of a message box shows at most this many characters.
inline constexpr int kMaxMessageLineCharacters = 300;

// A message as a box shows it: each of its lines (one may be a line of a
// binary file) decoded as TextFromBytes does, its control characters written
// as "\x1b", and cut after kMaxMessageLineCharacters characters with "...".
QString MessageBoxText(std::string_view message);
