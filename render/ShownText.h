// The part of a text that a window can show at all. A title or an X cell of
// megabytes would cost seconds and gigabytes to lay out, and no window shows
// more than kMaxShownCharacters of it: a longer text is cut to that many
// characters, never inside one, keeping its middle when it is centred and
// its start when it is left-aligned.
#pragma once

#include "render/DrawContext.h"

#include <string_view>

std::string_view ShownPart(std::string_view text, TextAlign align);
