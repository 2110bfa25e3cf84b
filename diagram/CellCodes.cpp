#include "diagram/CellCodes.h"

#include <algorithm>

void CellCodes::AddMixed(std::uint8_t code) {
    if (bytes.empty())
        WriteOut();
    bytes.push_back(code);
    CountTexts(count++);
}

void CellCodes::AddAll(const CellCodes& other) {
    if (other.count == 0)
        return;
    if (bytes.empty() && other.bytes.empty() && (count == 0 || common == other.common)) {
        common = other.common;
        count += other.count;
        return;
    }
    if (bytes.empty())
        WriteOut();
    if (other.bytes.empty())
        std::fill_n(bytes.Extend(other.count), other.count, other.common);
    else
        bytes.Append(other.bytes.data(), other.count);
    const std::size_t from = count;
    count += other.count;
    CountTexts(from);
}

void CellCodes::clear() {
    count = 0;
    bytes.clear();
    textsBefore.clear();
    texts = 0;
}

std::size_t CellCodes::TextsBefore(std::size_t i) const {
    if (bytes.empty())
        return common == kText ? i : 0;
    std::size_t before = textsBefore[i / kBlock];
    for (std::size_t j = i / kBlock * kBlock; j < i; ++j)
        before += bytes[j] == kText ? 1 : 0;
    return before;
}

// The cells so far, all of the common code, as bytes.
void CellCodes::WriteOut() {
    std::fill_n(bytes.Extend(count), count, common);
    CountTexts(0);
}

// Extends the text counts over the bytes of cells [from, count).
void CellCodes::CountTexts(std::size_t from) {
    for (std::size_t i = from; i < count; ++i) {
        if (i % kBlock == 0)
            textsBefore.push_back(static_cast<std::uint32_t>(texts));
        texts += bytes[i] == kText ? 1 : 0;
    }
}
