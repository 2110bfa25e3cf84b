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

void StringArray::Detach() {
    cells = cells ? std::make_shared<Store>(*cells) : std::make_shared<Store>();
}

CellText StringArray::GetAt(long long i) const {
    CheckIndex(i, Cells(), name);
    const Store& c = *cells;
    const auto cell = static_cast<std::size_t>(i);
    if (cell >= c.Written())
        return CellText(c.repeated);
    if (c.textsOnly)
        return CellText(c.TextAt(cell));
    if (c.codes[cell] == CellCodes::kText)
        return CellText(c.TextAt(c.codes.TextsBefore(cell)));
    return CodedCell(c, cell);
}

// A written cell whose code is not kText.
CellText StringArray::CodedCell(const Store& c, std::size_t i) {
    const std::uint8_t code = c.codes[i];
    if (code == CellCodes::kEmpty)
        return CellText(std::string_view());
    if (code == CellCodes::kSpace)
        return CellText(" ");
    return CellText(c.numbers[i], code);
}

// Calls visit(const CellText&) for every written cell, in order.
template <class Visit> void StringArray::ForEachWritten(const Store& c, Visit&& visit) {
    std::size_t cell = 0;
    const auto codedUpToText = [&] {
        for (; cell < c.codes.size() && c.codes[cell] != CellCodes::kText; ++cell)
            visit(CodedCell(c, cell));
    };
    c.index.ForEach(0, c.index.size(), [&](std::size_t, std::size_t begin, std::size_t length) {
        codedUpToText();
        visit(CellText(std::string_view(c.chars.data() + begin, length)));
        ++cell;
    });
    codedUpToText();
}

double StringArray::NumberAt(long long i) const {
    CheckIndex(i, Cells(), name);
    return Numbers()[static_cast<std::size_t>(i)];
}

std::span<const double> StringArray::Numbers() const {
    if (!cells)
        return {};
    Store& c = *cells;
    if (c.textsOnly)
        ParseTexts();
    const std::size_t k = c.numbers.size();
    if (k < c.Cells()) {
        const double value = AtoF(c.repeated);
        double* out = c.numbers.Extend(c.Cells() - k);
        std::fill(out, out + (c.Cells() - k), value);
    }
    return c.numbers;
}

// The numbers of the texts not yet computed, of a column of texts only.
void StringArray::ParseTexts() const {
    Store& c = *cells;
    const std::size_t first = c.numbers.size();
    if (first >= c.index.size())
        return;
    double* const out = c.numbers.Extend(c.index.size() - first) - first;
    SplitInTwo(c.index.size() - first, kNumbersPerThread, [&](std::size_t from, std::size_t to) {
        c.index.ForEach(first + from, first + to,
                        [&](std::size_t i, std::size_t begin, std::size_t length) {
                            out[i] = AtoF(std::string_view(c.chars.data() + begin, length));
                        });
    });
}

// Only a cell that reads as 0 can be empty or one blank, and they are left
// out of the range.
const NumberRange& StringArray::Range() const {
    static const NumberRange none;
    if (!cells)
        return none;
    const std::span<const double> all = Numbers();
    Store& c = *cells;
    NumberRange& range = c.range;
    const auto take = [&range](double value) {
        if (value > range.max)
            range.max = value;
        if (value < range.min)
            range.min = value;
        range.any = true;
    };
    const std::size_t written = c.Written();
    if (c.textsOnly) {
        c.index.ForEach(
            c.rangeCells, written, [&](std::size_t i, std::size_t begin, std::size_t length) {
                if (all[i] == 0 && (length == 0 || (length == 1 && c.chars[begin] == ' ')))
                    return;
                take(all[i]);
            });
        c.rangeCells = std::max(c.rangeCells, written);
    } else {
        for (; c.rangeCells < written; ++c.rangeCells)
            if (!CellCodes::IsBlank(c.codes[c.rangeCells]))
                take(all[c.rangeCells]);
    }
    const bool blankRun = IsBlank(c.repeated);
    for (; c.rangeCells < all.size(); ++c.rangeCells)
        if (!(all[c.rangeCells] == 0 && blankRun))
            take(all[c.rangeCells]);
    return range;
}

const NumberSummary& StringArray::Summary() const {
    static const NumberSummary none;
    if (!cells)
        return none;
    cells->summary.Extend(Numbers());
    return cells->summary;
}

std::size_t StringArray::Bytes() const {
    if (!cells)
        return 0;
    const Store& c = *cells;
    return c.codes.Bytes() + c.chars.size() + c.index.Bytes() + c.numbers.size() * sizeof(double) +
           c.repeated.size() + c.summary.Bytes();
}

void StringArray::ThrowTooLarge() {
    throw std::length_error("a column holds more than 4 GiB of text");
}

// Blank cells and texts of a column that codes its cells. Once texts
// outnumber the other cells, every cell is kept as text.
void StringArray::AddOther(Store& own, std::string_view text) {
    if (IsBlank(text)) {
        own.numbers.push_back(0.0);
        own.codes.Add(text.empty() ? CellCodes::kEmpty : CellCodes::kSpace);
        return;
    }
    AddText(own, text);
    own.numbers.push_back(AtoF(text));
    own.codes.Add(CellCodes::kText);
    const std::size_t texts = own.index.size();
    if (texts >= kTextsFirstWeighed && (texts & (texts - 1)) == 0 && texts * 2 > own.codes.size())
        KeepTextsOnly(own);
}

// Rewrites the cells of a column that codes them as texts, unless they would
// not fit. The numbers stay: they are those of the texts.
void StringArray::KeepTextsOnly(Store& own) {
    ColumnBuffer<char> texts;
    CellIndex where;
    bool fits = true;
    ForEachWritten(own, [&](const CellText& cell) {
        const std::string_view text = cell;
        fits = fits && texts.size() + text.size() <= std::numeric_limits<std::uint32_t>::max();
        if (!fits)
            return;
        where.Add(texts.size(), text.size());
        texts.Append(text.data(), text.size());
    });
    if (!fits)
        return;
    own.chars = std::move(texts);
    own.index = std::move(where);
    own.codes.clear();
    own.textsOnly = true;
}

void StringArray::AddRun(std::string_view text, std::size_t count) {
    if (count == 0)
        return;
    Store& own = Own();
    if (own.repeats != 0 && text != own.repeated)
        WriteOutRepeats(own);
    if (own.repeats == 0)
        own.repeated = text;
    own.repeats += count;
}

void StringArray::AddAll(const StringArray& other) {
    if (!other.cells)
        return;
    // A copy of other's cells first when they are this array's own.
    const std::shared_ptr<Store> keep = other.cells;
    const Store& from = *keep;
    if (from.Written() != 0) {
        Store& own = Own();
        if (own.repeats != 0)
            WriteOutRepeats(own);
        if (own.Written() == 0)
            own.textsOnly = from.textsOnly;
        if (own.textsOnly == from.textsOnly)
            AppendSameLayout(own, from);
        else
            ForEachWritten(from, [&own](const CellText& cell) { AddWritten(own, cell); });
    }
    AddRepeated(from.repeated, from.repeats);
}

// The written cells of other, which keeps them as this array does.
void StringArray::AppendSameLayout(Store& own, const Store& other) {
    if (own.chars.size() + other.chars.size() > std::numeric_limits<std::uint32_t>::max())
        ThrowTooLarge();
    if (!own.textsOnly) {
        own.numbers.Append(other.numbers.data(), other.codes.size());
        own.codes.AddAll(other.codes);
    }
    AppendTexts(own, other);
}

void StringArray::AppendTexts(Store& own, const Store& other) {
    const std::size_t offset = own.chars.size();
    own.chars.Append(other.chars.data(), other.chars.size());
    own.index.AddAll(other.index, offset);
}

void StringArray::AddAll(StringArray&& other) {
    // Cells another array shares are copied, not taken.
    if (!other.cells || other.cells.use_count() != 1 || other.cells == cells) {
        AddAll(other);
        other = StringArray(other.name);
        return;
    }
    Store& from = *other.cells;
    Store& own = Own();
    if (from.Written() != 0) {
        if (own.repeats != 0)
            WriteOutRepeats(own);
        if (own.Written() == 0)
            own.textsOnly = from.textsOnly;
    }
    if (own.textsOnly != from.textsOnly) {
        AddAll(other);
    } else {
        if (own.chars.size() + from.chars.size() > std::numeric_limits<std::uint32_t>::max())
            ThrowTooLarge();
        if (!own.textsOnly) {
            own.numbers.AppendDraining(std::move(from.numbers), from.codes.size());
            own.codes.AddAll(from.codes);
        }
        MoveTextsIn(own, from);
        AddRepeated(from.repeated, from.repeats);
    }
    other = StringArray(other.name);
}

// The texts of other after these. The texts that complete the index's last
// block of 64 must follow the texts here directly; the pages of the rest may
// be moved in behind.
void StringArray::MoveTextsIn(Store& own, Store& other) {
    const std::size_t open =
        std::min(other.index.size(),
                 (CellIndex::kBlock - own.index.size() % CellIndex::kBlock) % CellIndex::kBlock);
    if (open == other.index.size() || own.chars.size() + ColumnBlock::kMaxGap + other.chars.size() >
                                          std::numeric_limits<std::uint32_t>::max()) {
        AppendTexts(own, other);
        return;
    }
    own.chars.Append(other.chars.data(), other.index.Begin(open));
    const std::size_t offset = own.chars.AppendMoving(std::move(other.chars));
    own.index.AddAll(other.index, offset);
}

// Written-out cells must come first: a cell of another text follows the run.
// The numbers computed for the run stay valid in a column of texts; a column
// that codes its cells stores them anew.
void StringArray::WriteOutRepeats(Store& own) {
    const std::size_t count = std::exchange(own.repeats, 0);
    if (!own.textsOnly) {
        own.numbers.resize_down(own.codes.size());
        own.summary.Truncate(own.codes.size());
    }
    for (std::size_t i = 0; i < count; ++i)
        AddWritten(own, own.repeated);
}

void StringArray::RemoveAll() {
    content.Renew();
    // Shared cells stay with the arrays that share them.
    if (!cells || cells.use_count() != 1) {
        cells.reset();
        return;
    }
    Store& own = *cells;
    own.numbers.clear();
    own.range = NumberRange{};
    own.rangeCells = 0;
    own.summary.Clear();
    own.textsOnly = false;
    own.codes.clear();
    own.chars.clear();
    own.index.clear();
    own.repeated.clear();
    own.repeats = 0;
}
