#include "diagram/TableLine.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::array<bool, 256> kSeparator = [] {
    std::array<bool, 256> table{};
    table['\t'] = table[','] = table[';'] = true;
    return table;
}();

bool IsSeparator(char c) {
    return kSeparator[static_cast<unsigned char>(c)];
}

// The bytes of an eight-byte word (read little-endian) that are separators:
// the high bit of each such byte set. The lowest bit set is exact, which is
// all the tokenizer asks of it; bits above it may be spurious.
std::uint64_t SeparatorBytes(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto zeroBytes = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    return zeroBytes(word ^ (ones * '\t')) | zeroBytes(word ^ (ones * ',')) |
           zeroBytes(word ^ (ones * ';'));
}

// The next token at or after pos, pos moved past it; an empty view when the
// line holds no further token. The end of a token is looked for eight bytes
// at a time while eight are left.
std::string_view NextToken(std::string_view line, std::size_t& pos) {
    const char* const text = line.data();
    const std::size_t size = line.size();
    std::size_t at = pos;
    while (at < size && IsSeparator(text[at]))
        ++at;
    const std::size_t begin = at;
    for (;;) {
        if (std::endian::native != std::endian::little || at + 8 > size) {
            while (at < size && !IsSeparator(text[at]))
                ++at;
            break;
        }
        std::uint64_t word;
        std::memcpy(&word, text + at, 8);
        if (const std::uint64_t found = SeparatorBytes(word)) {
            at += static_cast<std::size_t>(std::countr_zero(found)) / 8;
            break;
        }
        at += 8;
    }
    pos = at;
    return std::string_view(text + begin, at - begin);
}

} // namespace

int SplitTableLine(std::string_view line, bool dateX, CheckedArray<std::string_view>& cells,
                   std::string& scratch, DateValue& date) {
    cells.RemoveAll();
    std::size_t pos = 0;
    std::string_view token = NextToken(line, pos);
    if (dateX) {
        if (!ParseDateTime(token, date))
            return -1;
        scratch = FormatFixed(date.day, 6);
        token = scratch;
    }
    cells.Add(token);
    while (!token.empty()) {
        token = NextToken(line, pos);
        cells.Add(token);
    }
    return cells.GetSize();
}

bool RowInRange(const std::optional<XRange>& range, std::string_view x) {
    if (!range)
        return true;
    const double value = AtoF(x);
    return value >= range->from && value <= range->to;
}

void StoreDataRow(CheckedArray<StringArray>& rows, const CheckedArray<std::string_view>& cells) {
    auto column = rows.begin();
    const auto last = rows.end() - 1;
    for (auto cell = cells.begin(); column != last; ++column, ++cell)
        column->Add(*cell);
    last->AddRepeated("0.0");
}
