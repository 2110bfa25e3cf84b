// The plain record of one table column: visibility, mark size, name, legend
// position of the last paint and curve colour.
#pragma once

#include "diagram/Color.h"

#include <cstdint>
#include <string_view>

struct ColumnRecord {
    std::uint8_t visible = 1;
    std::int32_t markSize = 5;
    char name[100] = {}; // at most 99 bytes and a terminating NUL
    std::int32_t legendX = 0;
    std::int32_t legendY = 0;
    COLORREF color = 0;
};

// Stores text as the column name, cut to 99 bytes; the cut never splits a UTF-8
// sequence, so a long non-ASCII name stays valid text.
void SetColumnName(ColumnRecord& record, std::string_view text);
std::string_view ColumnName(const ColumnRecord& record);
