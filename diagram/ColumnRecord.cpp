#include "diagram/ColumnRecord.h"

#include "diagram/Utf8Text.h"

#include <cstring>

void SetColumnName(ColumnRecord& record, std::string_view text) {
    const std::string_view cut = CutUtf8(text, sizeof record.name - 1);
    if (!cut.empty()) // an empty view may point nowhere
        std::memcpy(record.name, cut.data(), cut.size());
    record.name[cut.size()] = '\0';
}

std::string_view ColumnName(const ColumnRecord& record) {
    return std::string_view(record.name);
}
