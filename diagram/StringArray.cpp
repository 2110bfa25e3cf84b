#include "diagram/StringArray.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <stdexcept>

std::string_view StringArray::GetAt(long long i) const {
    CheckIndex(i, ends.size(), name);
    const std::size_t index = static_cast<std::size_t>(i);
    const std::size_t begin = index == 0 ? 0 : ends[index - 1];
    return std::string_view(chars).substr(begin, ends[index] - begin);
}

double StringArray::NumberAt(long long i) const {
    CheckIndex(i, ends.size(), name);
    if (numbers.size() != ends.size()) {
        std::size_t k = numbers.size();
        numbers.resize(ends.size());
        std::size_t begin = k == 0 ? 0 : ends[k - 1];
        for (; k < ends.size(); ++k) {
            numbers[k] = AtoF(std::string_view(chars).substr(begin, ends[k] - begin));
            begin = ends[k];
        }
    }
    return numbers[static_cast<std::size_t>(i)];
}

void StringArray::ThrowTooLarge() {
    throw std::length_error("a column holds more than 4 GiB of text");
}

void StringArray::RemoveAll() {
    numbers.clear();
    chars.clear();
    ends.clear();
}

void StringArray::Reserve(std::size_t cells, std::size_t bytes) {
    ends.reserve(cells);
    chars.reserve(bytes);
}
