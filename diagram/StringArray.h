// One column of cell texts. The texts sit back to back in one buffer so that a
// million-row table costs little more than its file; access is bounds-checked.
// A run of one text at the end (the "0.0" of every row past the spectrum) is
// held as the text and a count. NumberAt gives the text's value by the atof
// rule and keeps every value of the column once computed, so a repaint does
// not parse the column again; rows added later are parsed when a number is
// next asked for.
#pragma once

#include "diagram/CellIndex.h"
#include "diagram/ColumnBuffer.h"

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

// The smallest and largest value of a column's cells, blank cells (empty or
// one space) left out. A NaN cell counts as present but is neither bound, so a
// column of NaNs has `any` set with min +inf and max -inf.
struct NumberRange {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    bool any = false;
};

// A number that names one content of an array: drawn afresh when the array is
// made, copied, moved into or emptied. Cells are only ever appended between
// two of these events, so the id together with the size names the cells
// exactly, and a table computed from them can be kept until either changes.
class ContentId {
public:
    ContentId() : value(Next()) {}
    ContentId(const ContentId&) : value(Next()) {}
    ContentId& operator=(const ContentId&) {
        value = Next();
        return *this;
    }
    void Renew() { value = Next(); }
    std::uint64_t Value() const { return value; }

private:
    static std::uint64_t Next();
    std::uint64_t value;
};

class StringArray {
public:
    explicit StringArray(const char* name = "column") : name(name) {}

    int GetSize() const { return static_cast<int>(Cells()); }
    bool IsEmpty() const { return Cells() == 0; }
    // The text of cell i; InvalidArgumentError when i is outside the array.
    std::string_view GetAt(long long i) const;
    std::string_view operator[](long long i) const { return GetAt(i); }

    // The number of cell i by the atof rule (text without a leading number is 0).
    double NumberAt(long long i) const;
    // The numbers of all cells, as NumberAt gives them; valid until the next
    // change of the array.
    std::span<const double> Numbers() const;
    // The range of the column's numbers, kept until the array changes.
    const NumberRange& Range() const;
    // Names the cells together with GetSize(); see ContentId.
    std::uint64_t Content() const { return content.Value(); }

    void Add(std::string_view text) {
        if (repeats != 0) [[unlikely]] {
            if (text == repeated) {
                ++repeats;
                return;
            }
            WriteOutRepeats();
        }
        AddText(text);
    }
    // count cells of one text; a run of them at the end is held as one.
    void AddRepeated(std::string_view text, std::size_t count = 1);
    // Every cell of other, in order. Taking other's cells moves the texts of
    // a large array instead of copying them, and leaves other empty.
    void AddAll(const StringArray& other);
    void AddAll(StringArray&& other);
    // Empties the array and keeps its buffers for reuse.
    void RemoveAll();

private:
    [[noreturn]] static void ThrowTooLarge();
    std::size_t Cells() const { return index.size() + repeats; }
    void AddText(std::string_view text) {
        const std::size_t begin = chars.size();
        if (begin + text.size() > std::numeric_limits<std::uint32_t>::max()) [[unlikely]]
            ThrowTooLarge();
        chars.Append(text.data(), text.size());
        index.Add(begin, text.size());
    }
    void WriteOutRepeats();
    std::string_view TextAt(std::size_t i) const {
        if (i >= index.size())
            return repeated;
        return std::string_view(chars.data() + index.Begin(i), index.Length(i));
    }

    const char* name;
    ContentId content;
    ColumnBuffer<char> chars;
    CellIndex index; // where each cell written out lies in chars
    // The cells past the written ones: repeats times the text repeated.
    std::string repeated;
    std::size_t repeats = 0;
    // The numbers of the first numbers.size() cells, and the range of the
    // first rangeCells of them.
    mutable ColumnBuffer<double> numbers;
    mutable NumberRange range;
    mutable std::size_t rangeCells = 0;
};
