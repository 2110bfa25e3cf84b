#include "diagram/NumberSummary.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

void Take(NumberBounds& bounds, double value) {
    if (value != value)
        value = 0.0;
    bounds.min = std::min(bounds.min, value);
    bounds.max = std::max(bounds.max, value);
}

void Take(NumberBounds& bounds, const NumberBounds& block) {
    bounds.min = std::min(bounds.min, block.min);
    bounds.max = std::max(bounds.max, block.max);
}

template <class Item>
void TakeAll(NumberBounds& bounds, const Item* items, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        Take(bounds, items[i]);
}

// The bounds of the kBlock numbers from items on.
NumberBounds BlockBounds(const double* items) {
#if defined(__SSE2__)
    // Two numbers at a time: ANDing with the mask of the numbers that are
    // not NaN turns NaN into 0.
    __m128d low = _mm_set1_pd(std::numeric_limits<double>::infinity());
    __m128d high = _mm_set1_pd(-std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < NumberSummary::kBlock; i += 2) {
        __m128d value = _mm_loadu_pd(items + i);
        value = _mm_and_pd(value, _mm_cmpord_pd(value, value));
        low = _mm_min_pd(low, value);
        high = _mm_max_pd(high, value);
    }
    low = _mm_min_sd(low, _mm_unpackhi_pd(low, low));
    high = _mm_max_sd(high, _mm_unpackhi_pd(high, high));
    return NumberBounds{_mm_cvtsd_f64(low), _mm_cvtsd_f64(high)};
#else
    NumberBounds bounds;
    TakeAll(bounds, items, 0, NumberSummary::kBlock);
    return bounds;
#endif
}

// The bounds of kBlock blocks from blocks on.
NumberBounds BlockBounds(const NumberBounds* blocks) {
    NumberBounds bounds;
    TakeAll(bounds, blocks, 0, NumberSummary::kBlock);
    return bounds;
}

// Appends to blocks one Make(items + b * size) for every complete block b of
// size items past those already in blocks.
template <class Block, class Item, class Make>
void ExtendLevel(std::vector<Block>& blocks, const Item* items, std::size_t count, std::size_t size,
                 Make make) {
    const std::size_t complete = count / size;
    // Exactly what a whole column needs; a quarter more at a time as rows
    // are appended.
    if (complete > blocks.capacity())
        blocks.reserve(std::max(complete, blocks.capacity() + blocks.capacity() / 4));
    for (std::size_t b = blocks.size(); b < complete; ++b)
        blocks.push_back(make(items + b * size));
}

// Adds levels above levels[0] while a level has a complete block of kBlock.
template <class Block, class Make>
void ExtendUpperLevels(std::vector<std::vector<Block>>& levels, Make make) {
    for (std::size_t k = 1; levels[k - 1].size() >= NumberSummary::kBlock; ++k) {
        if (levels.size() == k)
            levels.emplace_back();
        ExtendLevel(levels[k], levels[k - 1].data(), levels[k - 1].size(), NumberSummary::kBlock,
                    make);
    }
}

// Keeps the blocks of the first rows rows: size rows to a block of levels[0],
// kBlock blocks to one of each level above.
template <class Block>
void TruncateLevels(std::vector<std::vector<Block>>& levels, std::size_t rows, std::size_t size) {
    std::size_t blocks = rows / size;
    for (std::vector<Block>& level : levels) {
        level.resize(std::min(level.size(), blocks));
        blocks /= NumberSummary::kBlock;
    }
}

template <class Block> std::size_t LevelBytes(const std::vector<std::vector<Block>>& levels) {
    std::size_t bytes = levels.capacity() * sizeof(levels[0]);
    for (const std::vector<Block>& level : levels)
        bytes += level.capacity() * sizeof(Block);
    return bytes;
}

// Where the processor may have wider vectors than the build assumes, the
// block sums are compiled for them too, and the program picks the widest
// when it starts: the same additions, so the same sums, in half the time.
// Not under a sanitizer: the pick runs while the program is being loaded,
// before the sanitizer's runtime is set up, and instrumented it crashes.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define UNDER_A_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define UNDER_A_SANITIZER
#endif
#if defined(__x86_64__) && defined(__ELF__) && !defined(UNDER_A_SANITIZER)
#define WIDER_VECTORS_TOO __attribute__((target_clones("avx2", "default")))
#else
#define WIDER_VECTORS_TOO
#endif

// Four doubles in one vector of the processor where it has them (two
// registers of two with SSE2), and the mask of a comparison of two of them.
using Lanes = double __attribute__((vector_size(4 * sizeof(double))));
using LaneMask = long long __attribute__((vector_size(4 * sizeof(double))));

// The sums of kSumBlock numbers from numbers on, four rows at a time, each
// into compensated sums of its own: the same additions as RowSums::Add, a
// vector instruction for four. Without the checks for huge numbers, which a
// block that holds one (its error terms are then no longer finite) is summed
// again with, row by row.
WIDER_VECTORS_TOO RowSums SumBlock(const double* numbers) {
    constexpr std::size_t kLanes = 4;
    const Lanes split = Lanes{} + 134217729.0; // 2^27 + 1, as SquareError
    Lanes sum{}, sumError{}, squares{}, squaresError{};
    for (std::size_t i = 0; i < NumberSummary::kSumBlock; i += kLanes) {
        Lanes value;
        std::memcpy(&value, numbers + i, sizeof value);
        // NaN counts as 0: keep only the bits of values equal to themselves.
        value = reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(value) &
                                        reinterpret_cast<LaneMask>(value == value));
        const Lanes total = sum + value;
        const Lanes part = total - sum;
        sumError += (sum - (total - part)) + (value - part);
        sum = total;

        const Lanes square = value * value;
        const Lanes scaled = split * value;
        const Lanes high = scaled - (scaled - value);
        const Lanes low = value - high;
        const Lanes squareError = ((high * high - square) + 2.0 * high * low) + low * low;
        const Lanes squaresTotal = squares + square;
        const Lanes squaresPart = squaresTotal - squares;
        squaresError +=
            (squares - (squaresTotal - squaresPart)) + (square - squaresPart) + squareError;
        squares = squaresTotal;
    }
    RowSums sums;
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        sums.values.Add(CompensatedSum{sum[lane], sumError[lane]});
        sums.squares.Add(CompensatedSum{squares[lane], squaresError[lane]});
    }
    if (std::isfinite(sums.values.error) && std::isfinite(sums.squares.error))
        return sums;
    sums = RowSums();
    for (std::size_t i = 0; i < NumberSummary::kSumBlock; ++i)
        sums.Add(numbers[i]);
    return sums;
}

RowSums SumBlock(const RowSums* blocks) {
    RowSums sums;
    for (std::size_t i = 0; i < NumberSummary::kBlock; ++i)
        sums.Add(blocks[i]);
    return sums;
}

void AddRows(RowSums& sums, const double* numbers, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        sums.Add(numbers[i]);
}

void AddBlocks(RowSums& sums, const RowSums* blocks, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        sums.Add(blocks[i]);
}

// The first of items[from .. to - 1] whose bounds reach value; to when none.
std::size_t FirstReaching(const double* items, std::size_t from, std::size_t to, double value) {
    for (std::size_t i = from; i < to; ++i)
        if ((items[i] != items[i] ? 0.0 : items[i]) == value)
            return i;
    return to;
}

std::size_t FirstReaching(const NumberBounds* items, std::size_t from, std::size_t to,
                          double value) {
    for (std::size_t i = from; i < to; ++i)
        if (items[i].min <= value && value <= items[i].max)
            return i;
    return to;
}

std::size_t RoundUp(std::size_t i, std::size_t size = NumberSummary::kBlock) {
    return (i + size - 1) / size * size;
}

std::size_t RoundDown(std::size_t i, std::size_t size = NumberSummary::kBlock) {
    return i / size * size;
}

} // namespace

void NumberSummary::Extend(std::span<const double> numbers) {
    if (numbers.size() <= rows)
        return;
    // Most columns break both orders within their first rows.
    for (std::size_t i = rows; i < numbers.size() && (firstFall == kNone || firstRise == kNone);
         ++i) {
        const double value = numbers[i];
        const bool nan = value != value;
        if (firstFall == kNone && (nan || (i > 0 && value < numbers[i - 1])))
            firstFall = i;
        if (firstRise == kNone && (nan || (i > 0 && value > numbers[i - 1])))
            firstRise = i;
    }
    rows = numbers.size();
    if (levels.empty()) {
        levels.emplace_back();
        sums.emplace_back();
    }
    const auto bounds = [](const auto* items) { return BlockBounds(items); };
    ExtendLevel(levels[0], numbers.data(), rows, kBlock, bounds);
    ExtendUpperLevels(levels, bounds);
    const auto blockSums = [](const auto* items) { return SumBlock(items); };
    ExtendLevel(sums[0], numbers.data(), rows, kSumBlock, blockSums);
    ExtendUpperLevels(sums, blockSums);
}

void NumberSummary::Truncate(std::size_t keep) {
    if (keep >= rows)
        return;
    rows = keep;
    TruncateLevels(levels, keep, kBlock);
    TruncateLevels(sums, keep, kSumBlock);
    // A break of the order past the rows kept is looked for again.
    if (firstFall >= keep)
        firstFall = kNone;
    if (firstRise >= keep)
        firstRise = kNone;
}

// Climbs the levels: at each, the items up to the first block boundary and
// from the last one are taken one by one, the blocks between from the level
// above, until no complete block of the next level lies between.
NumberBounds NumberSummary::Of(std::span<const double> numbers, std::size_t first,
                               std::size_t end) const {
    NumberBounds bounds;
    const std::size_t summarised = levels.empty() ? 0 : levels[0].size() * kBlock;
    std::size_t low = RoundUp(first);
    std::size_t high = std::min(RoundDown(end), summarised);
    if (low >= high) {
        TakeAll(bounds, numbers.data(), first, end);
        return bounds;
    }
    TakeAll(bounds, numbers.data(), first, low);
    TakeAll(bounds, numbers.data(), high, end);
    low /= kBlock;
    high /= kBlock;
    for (std::size_t k = 0;; ++k) {
        const NumberBounds* blocks = levels[k].data();
        const std::size_t above = k + 1 < levels.size() ? levels[k + 1].size() * kBlock : 0;
        const std::size_t nextLow = RoundUp(low);
        const std::size_t nextHigh = std::min(RoundDown(high), above);
        if (nextLow >= nextHigh) {
            TakeAll(bounds, blocks, low, high);
            return bounds;
        }
        TakeAll(bounds, blocks, low, nextLow);
        TakeAll(bounds, blocks, nextHigh, high);
        low = nextLow / kBlock;
        high = nextHigh / kBlock;
    }
}

// The rows up to the first block of sums and from the last one are added one
// by one, the blocks between through AddSumBlocks.
RowSums NumberSummary::SumsOf(std::span<const double> numbers, std::size_t first,
                              std::size_t end) const {
    RowSums result;
    const std::size_t summarised = sums.empty() ? 0 : sums[0].size() * kSumBlock;
    const std::size_t low = RoundUp(first, kSumBlock);
    const std::size_t high = std::min(RoundDown(end, kSumBlock), summarised);
    if (low >= high) {
        AddRows(result, numbers.data(), first, end);
        return result;
    }
    AddRows(result, numbers.data(), first, low);
    AddSumBlocks(result, 0, low / kSumBlock, high / kSumBlock);
    AddRows(result, numbers.data(), high, end);
    return result;
}

// Blocks from .. to - 1 of sums[level], in order: those up to the first
// block of the level above and from the last one here, the rest above.
void NumberSummary::AddSumBlocks(RowSums& result, std::size_t level, std::size_t from,
                                 std::size_t to) const {
    const RowSums* blocks = sums[level].data();
    const std::size_t above = level + 1 < sums.size() ? sums[level + 1].size() * kBlock : 0;
    const std::size_t low = RoundUp(from);
    const std::size_t high = std::min(RoundDown(to), above);
    if (low >= high) {
        AddBlocks(result, blocks, from, to);
        return;
    }
    AddBlocks(result, blocks, from, low);
    AddSumBlocks(result, level + 1, low / kBlock, high / kBlock);
    AddBlocks(result, blocks, high, to);
}

// The rows before the first block, then the first block that reaches value
// (found through the levels above), then the rows after the last block.
std::size_t NumberSummary::FirstRowOf(std::span<const double> numbers, std::size_t first,
                                      std::size_t end, double value) const {
    const std::size_t summarised = levels.empty() ? 0 : levels[0].size() * kBlock;
    const std::size_t low = RoundUp(first);
    const std::size_t high = std::min(RoundDown(end), summarised);
    if (low >= high)
        return FirstReaching(numbers.data(), first, end, value);
    if (const std::size_t row = FirstReaching(numbers.data(), first, low, value); row < low)
        return row;
    if (const std::size_t block = FirstBlockOf(0, low / kBlock, high / kBlock, value);
        block < high / kBlock)
        return FirstReaching(numbers.data(), block * kBlock, block * kBlock + kBlock, value);
    return FirstReaching(numbers.data(), high, end, value);
}

// The first of blocks from .. to - 1 of levels[level] whose bounds reach
// value; to when none does. Since value is a bound of the whole range, the
// first block that reaches it holds it.
std::size_t NumberSummary::FirstBlockOf(std::size_t level, std::size_t from, std::size_t to,
                                        double value) const {
    const NumberBounds* blocks = levels[level].data();
    const std::size_t above = level + 1 < levels.size() ? levels[level + 1].size() * kBlock : 0;
    const std::size_t low = RoundUp(from);
    const std::size_t high = std::min(RoundDown(to), above);
    if (low >= high)
        return FirstReaching(blocks, from, to, value);
    if (const std::size_t block = FirstReaching(blocks, from, low, value); block < low)
        return block;
    if (const std::size_t block = FirstBlockOf(level + 1, low / kBlock, high / kBlock, value);
        block < high / kBlock)
        return FirstReaching(blocks, block * kBlock, block * kBlock + kBlock, value);
    return FirstReaching(blocks, high, to, value);
}

std::size_t NumberSummary::Bytes() const {
    return LevelBytes(levels) + LevelBytes(sums);
}
