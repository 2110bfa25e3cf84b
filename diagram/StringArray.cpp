#include "diagram/StringArray.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"
#include "diagram/TwoThreads.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <utility>

namespace {

// Cells below this are read by one thread.
constexpr std::size_t kNumbersPerThread = 1 << 16;
// A column is weighed for keeping texts only when its count of texts reaches
// a power of two from this on: the rewrite costs about as much as the texts
// counted since the last time.
constexpr std::size_t kTextsFirstWeighed = 4096;

bool IsBlank(std::string_view text) {
    return text.empty() || text == " ";
}

} // namespace

std::uint64_t ContentId::Next() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

CellText StringArray::GetAt(long long i) const {
    CheckIndex(i, Cells(), name);
    const auto cell = static_cast<std::size_t>(i);
    if (cell >= Written())
        return CellText(repeated);
    if (textsOnly)
        return CellText(TextAt(cell));
    if (codes[cell] == CellCodes::kText)
        return CellText(TextAt(codes.TextsBefore(cell)));
    return CodedCell(cell);
}

// A written cell whose code is not kText.
CellText StringArray::CodedCell(std::size_t i) const {
    const std::uint8_t code = codes[i];
    if (code == CellCodes::kEmpty)
        return CellText(std::string_view());
    if (code == CellCodes::kSpace)
        return CellText(" ");
    return CellText(numbers[i], code);
}

// Calls visit(const CellText&) for every written cell, in order.
template <class Visit> void StringArray::ForEachWritten(Visit&& visit) const {
    std::size_t cell = 0;
    const auto codedUpToText = [&] {
        for (; cell < codes.size() && codes[cell] != CellCodes::kText; ++cell)
            visit(CodedCell(cell));
    };
    index.ForEach(0, index.size(), [&](std::size_t, std::size_t begin, std::size_t length) {
        codedUpToText();
        visit(CellText(std::string_view(chars.data() + begin, length)));
        ++cell;
    });
    codedUpToText();
}

double StringArray::NumberAt(long long i) const {
    CheckIndex(i, Cells(), name);
    return Numbers()[static_cast<std::size_t>(i)];
}

std::span<const double> StringArray::Numbers() const {
    if (textsOnly)
        ParseTexts();
    const std::size_t k = numbers.size();
    if (k < Cells()) {
        const double value = AtoF(repeated);
        double* out = numbers.Extend(Cells() - k);
        std::fill(out, out + (Cells() - k), value);
    }
    return numbers;
}

// The numbers of the texts not yet computed, of a column of texts only.
void StringArray::ParseTexts() const {
    const std::size_t first = numbers.size();
    if (first >= index.size())
        return;
    double* const out = numbers.Extend(index.size() - first) - first;
    SplitInTwo(index.size() - first, kNumbersPerThread, [&](std::size_t from, std::size_t to) {
        index.ForEach(first + from, first + to,
                      [&](std::size_t i, std::size_t begin, std::size_t length) {
                          out[i] = AtoF(std::string_view(chars.data() + begin, length));
                      });
    });
}

// Only a cell that reads as 0 can be empty or one blank, and they are left
// out of the range.
const NumberRange& StringArray::Range() const {
    const std::span<const double> all = Numbers();
    const auto take = [this](double value) {
        if (value > range.max)
            range.max = value;
        if (value < range.min)
            range.min = value;
        range.any = true;
    };
    const std::size_t written = Written();
    if (textsOnly) {
        index.ForEach(rangeCells, written,
                      [&](std::size_t i, std::size_t begin, std::size_t length) {
                          if (all[i] == 0 && (length == 0 || (length == 1 && chars[begin] == ' ')))
                              return;
                          take(all[i]);
                      });
        rangeCells = std::max(rangeCells, written);
    } else {
        for (; rangeCells < written; ++rangeCells)
            if (!CellCodes::IsBlank(codes[rangeCells]))
                take(all[rangeCells]);
    }
    const bool blankRun = IsBlank(repeated);
    for (; rangeCells < all.size(); ++rangeCells)
        if (!(all[rangeCells] == 0 && blankRun))
            take(all[rangeCells]);
    return range;
}

const NumberSummary& StringArray::Summary() const {
    summary.Extend(Numbers());
    return summary;
}

std::size_t StringArray::Bytes() const {
    return codes.Bytes() + chars.size() + index.Bytes() + numbers.size() * sizeof(double) +
           repeated.size() + summary.Bytes();
}

void StringArray::ThrowTooLarge() {
    throw std::length_error("a column holds more than 4 GiB of text");
}

// Blank cells and texts of a column that codes its cells. Once texts
// outnumber the other cells, every cell is kept as text.
void StringArray::AddOther(std::string_view text) {
    if (IsBlank(text)) {
        numbers.push_back(0.0);
        codes.Add(text.empty() ? CellCodes::kEmpty : CellCodes::kSpace);
        return;
    }
    AddText(text);
    numbers.push_back(AtoF(text));
    codes.Add(CellCodes::kText);
    const std::size_t texts = index.size();
    if (texts >= kTextsFirstWeighed && (texts & (texts - 1)) == 0 && texts * 2 > codes.size())
        KeepTextsOnly();
}

// Rewrites the cells of a column that codes them as texts, unless they would
// not fit. The numbers stay: they are those of the texts.
void StringArray::KeepTextsOnly() {
    ColumnBuffer<char> texts;
    CellIndex where;
    bool fits = true;
    ForEachWritten([&](const CellText& cell) {
        const std::string_view text = cell;
        fits = fits && texts.size() + text.size() <= std::numeric_limits<std::uint32_t>::max();
        if (!fits)
            return;
        where.Add(texts.size(), text.size());
        texts.Append(text.data(), text.size());
    });
    if (!fits)
        return;
    chars = std::move(texts);
    index = std::move(where);
    codes.clear();
    textsOnly = true;
}

void StringArray::AddRepeated(std::string_view text, std::size_t count) {
    if (count == 0)
        return;
    if (repeats != 0 && text != repeated)
        WriteOutRepeats();
    if (repeats == 0)
        repeated = text;
    repeats += count;
}

void StringArray::AddAll(const StringArray& other) {
    if (other.Written() != 0) {
        if (repeats != 0)
            WriteOutRepeats();
        if (Written() == 0)
            textsOnly = other.textsOnly;
        if (textsOnly == other.textsOnly)
            AppendSameLayout(other);
        else
            other.ForEachWritten([this](const CellText& cell) { AddWritten(cell); });
    }
    AddRepeated(other.repeated, other.repeats);
}

// The written cells of other, which keeps them as this array does.
void StringArray::AppendSameLayout(const StringArray& other) {
    if (chars.size() + other.chars.size() > std::numeric_limits<std::uint32_t>::max())
        ThrowTooLarge();
    if (!textsOnly) {
        numbers.Append(other.numbers.data(), other.codes.size());
        codes.AddAll(other.codes);
    }
    AppendTexts(other);
}

void StringArray::AppendTexts(const StringArray& other) {
    const std::size_t offset = chars.size();
    chars.Append(other.chars.data(), other.chars.size());
    index.AddAll(other.index, offset);
}

void StringArray::AddAll(StringArray&& other) {
    if (other.Written() != 0) {
        if (repeats != 0)
            WriteOutRepeats();
        if (Written() == 0)
            textsOnly = other.textsOnly;
    }
    if (textsOnly != other.textsOnly) {
        AddAll(other);
    } else {
        if (chars.size() + other.chars.size() > std::numeric_limits<std::uint32_t>::max())
            ThrowTooLarge();
        if (!textsOnly) {
            numbers.AppendDraining(std::move(other.numbers), other.codes.size());
            codes.AddAll(other.codes);
        }
        MoveTextsIn(other);
        AddRepeated(other.repeated, other.repeats);
    }
    other = StringArray(other.name);
}

// The texts of other after these. The texts that complete the index's last
// block of 64 must follow the texts here directly; the pages of the rest may
// be moved in behind.
void StringArray::MoveTextsIn(StringArray& other) {
    const std::size_t open =
        std::min(other.index.size(),
                 (CellIndex::kBlock - index.size() % CellIndex::kBlock) % CellIndex::kBlock);
    if (open == other.index.size() || chars.size() + ColumnBlock::kMaxGap + other.chars.size() >
                                          std::numeric_limits<std::uint32_t>::max()) {
        AppendTexts(other);
        return;
    }
    chars.Append(other.chars.data(), other.index.Begin(open));
    const std::size_t offset = chars.AppendMoving(std::move(other.chars));
    index.AddAll(other.index, offset);
}

// Written-out cells must come first: a cell of another text follows the run.
// The numbers computed for the run stay valid in a column of texts; a column
// that codes its cells stores them anew.
void StringArray::WriteOutRepeats() {
    const std::size_t count = std::exchange(repeats, 0);
    if (!textsOnly) {
        numbers.resize_down(codes.size());
        summary.Truncate(codes.size());
    }
    for (std::size_t i = 0; i < count; ++i)
        AddWritten(repeated);
}

// The cells and buffers of other, which is left empty; this is empty.
void StringArray::TakeCells(StringArray& other) noexcept {
    name = other.name;
    textsOnly = other.textsOnly;
    codes = std::move(other.codes);
    chars = std::move(other.chars);
    index = std::move(other.index);
    repeated = std::move(other.repeated);
    repeats = other.repeats;
    numbers = std::move(other.numbers);
    range = other.range;
    rangeCells = other.rangeCells;
    summary = std::move(other.summary);
    other.RemoveAll();
}

void StringArray::RemoveAll() {
    content.Renew();
    numbers.clear();
    range = NumberRange{};
    rangeCells = 0;
    summary.Clear();
    textsOnly = false;
    codes.clear();
    chars.clear();
    index.clear();
    repeated.clear();
    repeats = 0;
}
