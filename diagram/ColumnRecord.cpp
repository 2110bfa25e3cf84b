#include "diagram/ColumnRecord.h"

#include <cstring>

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    std::size_t cut = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the sequence
    // that the cut would split, but only when it is a real multi-byte start.
    std::size_t start = cut;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80 && cut - start < 3)
        --start;
    if (start != cut && (static_cast<unsigned char>(text[start]) & 0xC0) == 0xC0)
        cut = start;
    return text.substr(0, cut);
}

void SetColumnName(ColumnRecord& record, std::string_view text) {
    const std::string_view cut = CutUtf8(text, sizeof record.name - 1);
    std::memcpy(record.name, cut.data(), cut.size());
    record.name[cut.size()] = '\0';
}

std::string_view ColumnName(const ColumnRecord& record) {
    return std::string_view(record.name);
}
