// Texts of the data file are bytes: shown as UTF-8 when they are valid UTF-8,
// else as Latin-1, so every byte shows as some character.
#pragma once

#include <QString>

#include <string_view>

QString TextFromBytes(std::string_view text);
