#include "diagram/NumberSummary.h"

#include <algorithm>

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

// Appends the bounds of the complete blocks of items past those already in
// blocks.
template <class Item>
void ExtendLevel(std::vector<NumberBounds>& blocks, const Item* items, std::size_t count) {
    const std::size_t complete = count / NumberSummary::kBlock;
    // Exactly what a whole column needs; a quarter more at a time as rows
    // are appended.
    if (complete > blocks.capacity())
        blocks.reserve(std::max(complete, blocks.capacity() + blocks.capacity() / 4));
    for (std::size_t b = blocks.size(); b < complete; ++b)
        blocks.push_back(BlockBounds(items + b * NumberSummary::kBlock));
}

std::size_t RoundUp(std::size_t i) {
    return (i + NumberSummary::kBlock - 1) / NumberSummary::kBlock * NumberSummary::kBlock;
}

std::size_t RoundDown(std::size_t i) {
    return i / NumberSummary::kBlock * NumberSummary::kBlock;
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
    if (levels.empty())
        levels.emplace_back();
    ExtendLevel(levels[0], numbers.data(), rows);
    for (std::size_t k = 1; levels[k - 1].size() >= kBlock; ++k) {
        if (levels.size() == k)
            levels.emplace_back();
        ExtendLevel(levels[k], levels[k - 1].data(), levels[k - 1].size());
    }
}

void NumberSummary::Truncate(std::size_t keep) {
    if (keep >= rows)
        return;
    rows = keep;
    std::size_t blocks = keep;
    for (std::vector<NumberBounds>& level : levels) {
        blocks /= kBlock;
        level.resize(std::min(level.size(), blocks));
    }
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

std::size_t NumberSummary::Bytes() const {
    std::size_t bytes = levels.capacity() * sizeof(levels[0]);
    for (const std::vector<NumberBounds>& level : levels)
        bytes += level.capacity() * sizeof(NumberBounds);
    return bytes;
}
