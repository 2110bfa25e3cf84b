// One column of cell texts. The texts sit back to back in one buffer so that a
// million-row table costs little more than its file; access is bounds-checked.
// NumberAt gives the text's value by the atof rule and keeps every value of the
// column once computed, so a repaint does not parse the column again, and
// rows added later are parsed alone.
#pragma once

#include "diagram/LargeBlockAllocator.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

class StringArray {
public:
    explicit StringArray(const char* name = "column") : name(name) {}

    int GetSize() const { return static_cast<int>(ends.size()); }
    bool IsEmpty() const { return ends.empty(); }
    // Bytes of all cell texts together.
    std::size_t TextBytes() const { return chars.size(); }

    // The text of cell i; InvalidArgumentError when i is outside the array.
    std::string_view GetAt(long long i) const;
    std::string_view operator[](long long i) const { return GetAt(i); }

    // The number of cell i by the atof rule (text without a leading number is 0).
    double NumberAt(long long i) const;

    void Add(std::string_view text) {
        const std::size_t end = chars.size() + text.size();
        if (end > std::numeric_limits<std::uint32_t>::max()) [[unlikely]]
            ThrowTooLarge();
        chars.append(text.data(), text.size());
        ends.push_back(static_cast<std::uint32_t>(end));
    }
    // Empties the array and keeps its buffers for reuse.
    void RemoveAll();
    void Reserve(std::size_t cells, std::size_t bytes);

private:
    [[noreturn]] static void ThrowTooLarge();

    const char* name;
    std::basic_string<char, std::char_traits<char>, LargeBlockAllocator<char>> chars;
    std::vector<std::uint32_t, LargeBlockAllocator<std::uint32_t>> ends; // end of every cell
    mutable std::vector<double, LargeBlockAllocator<double>> numbers;    // of the first cells
};
