// One column of cells. Most cells of a logger file are numbers written in
// plain fixed-point form; such a cell is kept as its number and its count of
// decimals (see FixedPointCell.h), and its text is made again when asked for.
// Blank cells are kept as a code, other texts back to back in one buffer. A
// column in which texts outnumber the rest keeps every cell as text, which
// costs less there. Access is bounds-checked. A run of one text at the end
// (the "0.0" of every row past the spectrum) is held as the text and a count.
// NumberAt gives the cell's value by the atof rule. A column of texts
// computes the values when first asked for and keeps them, so a repaint does
// not parse the column again.
//
// A copy shares the cells with the array it was made from: copying a table
// costs a pointer per column, so a snapshot of a table can be handed to a
// job while the window keeps its own. A change (an append, emptying) to
// cells that another array shares copies them first, so no array ever sees
// another's change. An array whose cells are shared may be read from any
// thread, but its numbers, range and summary must then be made already (see
// LoadedTable::PrepareNumbers): a thread that makes them writes into the
// cells.
#pragma once

#include "diagram/CellCodes.h"
#include "diagram/CellIndex.h"
#include "diagram/CellText.h"
#include "diagram/ColumnBuffer.h"
#include "diagram/FixedPointCell.h"
#include "diagram/NumberSummary.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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
    // Shares other's cells.
    StringArray(const StringArray&) = default;
    StringArray& operator=(const StringArray&) = default;
    // A move leaves other empty.
    StringArray(StringArray&& other) noexcept
        : name(other.name), cells(std::exchange(other.cells, nullptr)) {
        other.content.Renew();
    }
    StringArray& operator=(StringArray&& other) noexcept {
        if (this != &other) {
            name = other.name;
            content.Renew();
            other.content.Renew();
            cells = std::exchange(other.cells, nullptr);
        }
        return *this;
    }

    int GetSize() const { return static_cast<int>(Cells()); }
    bool IsEmpty() const { return Cells() == 0; }
    // Whether other has the same cells as this array because one is a copy
    // of the other and neither has changed since.
    bool SharesCellsWith(const StringArray& other) const {
        return cells != nullptr && cells == other.cells;
    }
    // The text of cell i; InvalidArgumentError when i is outside the array.
    CellText GetAt(long long i) const;
    CellText operator[](long long i) const { return GetAt(i); }

    // The number of cell i by the atof rule (text without a leading number is 0).
    double NumberAt(long long i) const;
    // The numbers of all cells, as NumberAt gives them; valid until the next
    // change of the array.
    std::span<const double> Numbers() const;
    // The range of the column's numbers, kept until the array changes.
    const NumberRange& Range() const;
    // The summary of Numbers(), brought up to date with them: built once,
    // extended by the rows appended since.
    const NumberSummary& Summary() const;
    // Names the cells together with GetSize(); see ContentId.
    std::uint64_t Content() const { return content.Value(); }
    // The bytes the cells take up, numbers already computed included.
    std::size_t Bytes() const;

    void Add(std::string_view text) {
        Store& own = Own();
        if (own.repeats != 0) [[unlikely]] {
            if (text == own.repeated) {
                ++own.repeats;
                return;
            }
            WriteOutRepeats(own);
        }
        AddWritten(own, text);
    }
    // A cell of another array, taken over by its text.
    void Add(const CellText& cell) { Add(cell.View()); }
    // count cells of one text; a run of them at the end is held as one.
    void AddRepeated(std::string_view text, std::size_t count = 1) {
        // Nearly always one more of the run at the end (the spectrum
        // column's "0.0" of every row a load adds).
        if (cells && cells.use_count() == 1 && cells->repeats != 0 &&
            SameShortText(text, cells->repeated)) [[likely]] {
            cells->repeats += count;
            return;
        }
        AddRun(text, count);
    }
    // Every cell of other, in order. Taking other's cells moves the texts of
    // a large array instead of copying them, and leaves other empty with its
    // memory given back.
    void AddAll(const StringArray& other);
    void AddAll(StringArray&& other);
    // Empties the array and keeps its buffers for reuse.
    void RemoveAll();

private:
    // The cells, and what is computed from them.
    struct Store {
        // Whether every written cell is a text in chars; otherwise codes
        // tells what each is, and only the text cells are in chars.
        bool textsOnly = false;
        CellCodes codes;
        ColumnBuffer<char> chars;
        CellIndex index; // where each text lies in chars
        // The cells past the written ones: repeats times the text repeated.
        std::string repeated;
        std::size_t repeats = 0;
        // The numbers of the first numbers.size() cells: those of the coded
        // cells always, those of a column of texts as far as computed. Then
        // the range of the first rangeCells of them.
        ColumnBuffer<double> numbers;
        NumberRange range;
        std::size_t rangeCells = 0;
        NumberSummary summary;

        std::size_t Written() const { return textsOnly ? index.size() : codes.size(); }
        std::size_t Cells() const { return Written() + repeats; }
        std::string_view TextAt(std::size_t text) const {
            return std::string_view(chars.data() + index.Begin(text), index.Length(text));
        }
    };

    [[noreturn]] static void ThrowTooLarge();
    // The cells, to be changed: made when there are none, copied first when
    // another array shares them.
    Store& Own() {
        if (!cells || cells.use_count() != 1) [[unlikely]]
            Detach();
        return *cells;
    }
    void Detach();
    void AddRun(std::string_view text, std::size_t count);
    // a == b, without a call for the few bytes of a run's text.
    static bool SameShortText(std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    // The cells held one by one, before the run of repeats.
    std::size_t Written() const { return cells ? cells->Written() : 0; }
    std::size_t Cells() const { return cells ? cells->Cells() : 0; }

    static void AddWritten(Store& own, std::string_view text) {
        if (own.textsOnly) [[unlikely]] {
            AddText(own, text);
            return;
        }
        double value = 0;
        const int decimals = fixed_point::Parse(text, value);
        if (decimals < 0) [[unlikely]] {
            AddOther(own, text);
            return;
        }
        own.numbers.push_back(value);
        own.codes.Add(static_cast<std::uint8_t>(decimals));
    }
    static void AddOther(Store& own, std::string_view text);
    static void AddText(Store& own, std::string_view text) {
        const std::size_t begin = own.chars.size();
        if (begin + text.size() > std::numeric_limits<std::uint32_t>::max()) [[unlikely]]
            ThrowTooLarge();
        own.chars.Append(text.data(), text.size());
        own.index.Add(begin, text.size());
    }
    static void WriteOutRepeats(Store& own);
    static void KeepTextsOnly(Store& own);
    static void AppendSameLayout(Store& own, const Store& other);
    static void AppendTexts(Store& own, const Store& other);
    static void MoveTextsIn(Store& own, Store& other);
    template <class Visit> static void ForEachWritten(const Store& cells, Visit&& visit);

    static CellText CodedCell(const Store& cells, std::size_t i);
    void ParseTexts() const;

    const char* name;
    ContentId content;
    // Null for an array that never held a cell.
    std::shared_ptr<Store> cells;
};
