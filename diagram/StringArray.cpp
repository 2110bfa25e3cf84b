#include "diagram/StringArray.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <atomic>
#include <stdexcept>

std::uint64_t ContentId::Next() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

std::string_view StringArray::GetAt(long long i) const {
    CheckIndex(i, ends.size(), name);
    return TextAt(static_cast<std::size_t>(i));
}

double StringArray::NumberAt(long long i) const {
    CheckIndex(i, ends.size(), name);
    return Numbers()[static_cast<std::size_t>(i)];
}

std::span<const double> StringArray::Numbers() const {
    if (numbers.size() != ends.size()) {
        std::size_t k = numbers.size();
        numbers.resize(ends.size());
        std::size_t begin = k == 0 ? 0 : ends[k - 1];
        for (; k < ends.size(); ++k) {
            numbers[k] = AtoF(std::string_view(chars.data() + begin, ends[k] - begin));
            begin = ends[k];
        }
    }
    return numbers;
}

const NumberRange& StringArray::Range() const {
    const std::span<const double> all = Numbers();
    for (; rangeCells < all.size(); ++rangeCells) {
        const double value = all[rangeCells];
        // Only a cell that reads as 0 can be empty or one blank.
        if (value == 0) {
            const std::string_view text = TextAt(rangeCells);
            if (text.empty() || text == " ")
                continue;
        }
        if (value > range.max)
            range.max = value;
        if (value < range.min)
            range.min = value;
        range.any = true;
    }
    return range;
}

void StringArray::ThrowTooLarge() {
    throw std::length_error("a column holds more than 4 GiB of text");
}

void StringArray::RemoveAll() {
    content.Renew();
    numbers.clear();
    range = NumberRange{};
    rangeCells = 0;
    chars.clear();
    ends.clear();
}

void StringArray::Reserve(std::size_t cells, std::size_t bytes) {
    ends.reserve(cells);
    chars.reserve(bytes);
}
