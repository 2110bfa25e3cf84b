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

} // namespace

std::uint64_t ContentId::Next() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

std::string_view StringArray::GetAt(long long i) const {
    CheckIndex(i, Cells(), name);
    return TextAt(static_cast<std::size_t>(i));
}

double StringArray::NumberAt(long long i) const {
    CheckIndex(i, Cells(), name);
    return Numbers()[static_cast<std::size_t>(i)];
}

std::span<const double> StringArray::Numbers() const {
    std::size_t k = numbers.size();
    if (k < index.size()) {
        const std::size_t first = k;
        double* const out = numbers.Extend(index.size() - k) - first;
        SplitInTwo(index.size() - first, kNumbersPerThread, [&](std::size_t from, std::size_t to) {
            index.ForEach(first + from, first + to,
                          [&](std::size_t i, std::size_t begin, std::size_t length) {
                              out[i] = AtoF(std::string_view(chars.data() + begin, length));
                          });
        });
        k = index.size();
    }
    if (k < Cells()) {
        const double value = AtoF(repeated);
        double* out = numbers.Extend(Cells() - k);
        std::fill(out, out + (Cells() - k), value);
    }
    return numbers;
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
    const std::size_t written = std::min(index.size(), all.size());
    if (rangeCells < written) {
        index.ForEach(rangeCells, written,
                      [&](std::size_t i, std::size_t begin, std::size_t length) {
                          if (all[i] == 0 && (length == 0 || (length == 1 && chars[begin] == ' ')))
                              return;
                          take(all[i]);
                      });
        rangeCells = written;
    }
    const bool blankRun = repeated.empty() || repeated == " ";
    for (; rangeCells < all.size(); ++rangeCells)
        if (!(all[rangeCells] == 0 && blankRun))
            take(all[rangeCells]);
    return range;
}

void StringArray::ThrowTooLarge() {
    throw std::length_error("a column holds more than 4 GiB of text");
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
    if (!other.index.empty()) {
        if (repeats != 0)
            WriteOutRepeats();
        const std::size_t offset = chars.size();
        if (offset + other.chars.size() > std::numeric_limits<std::uint32_t>::max())
            ThrowTooLarge();
        chars.Append(other.chars.data(), other.chars.size());
        index.AddAll(other.index, offset);
    }
    AddRepeated(other.repeated, other.repeats);
}

void StringArray::AddAll(StringArray&& other) {
    if (repeats != 0 && !other.index.empty())
        WriteOutRepeats();
    // The cells that complete the index's last block of 64 must follow the
    // texts here directly; the pages of the rest may be moved in behind.
    const std::size_t open =
        std::min(other.index.size(),
                 (CellIndex::kBlock - index.size() % CellIndex::kBlock) % CellIndex::kBlock);
    if (open == other.index.size() || chars.size() + ColumnBlock::kMaxGap + other.chars.size() >
                                          std::numeric_limits<std::uint32_t>::max()) {
        AddAll(other);
        other.RemoveAll();
        return;
    }
    chars.Append(other.chars.data(), other.index.Begin(open));
    const std::size_t offset = chars.AppendMoving(std::move(other.chars));
    index.AddAll(other.index, offset);
    AddRepeated(other.repeated, other.repeats);
    other.RemoveAll();
}

// Written-out cells must come first: a cell of another text follows the run.
// The numbers already computed stay valid, since the texts do not change.
void StringArray::WriteOutRepeats() {
    const std::size_t count = std::exchange(repeats, 0);
    for (std::size_t i = 0; i < count; ++i)
        AddText(repeated);
}

void StringArray::RemoveAll() {
    content.Renew();
    numbers.clear();
    range = NumberRange{};
    rangeCells = 0;
    chars.clear();
    index.clear();
    repeated.clear();
    repeats = 0;
}
