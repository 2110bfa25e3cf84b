// Brings a loaded diagram up to date with its file: when the file only grew,
// parses just the appended lines; else reads it whole into a table of its own.
// Either way the shown table stays until the new one is complete.
//
// A refresh comes in three steps, so that the reading and parsing can run
// away from the interface thread: the source is taken from the shown diagram,
// the read works from the source alone (never the shown diagram), and the
// result is applied to the diagram, which by then may have new settings,
// hidden curves or a marker the read knew nothing of.
#pragma once

#include "diagram/ColumnRecord.h"
#include "diagram/LoadLimits.h"
#include "diagram/LoadedTable.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

class CDiagram;

struct RefreshOutcome {
    enum class Kind { Appended, ReadWhole, Failed };
    Kind kind = Kind::Failed;
    // What is wrong, one line, when the refresh failed; the diagram is as it was.
    std::string failure;
    // The messages the read would have shown in a box (unknown commands).
    std::vector<std::string> warnings;
};

// What a refresh reads from: the shown table's outline, the row count and
// the numbers its spectrum is taken of, and the settings a read needs.
// numbers views the shown table's cells: the table must not change until the
// read is applied.
struct RefreshSource {
    TableOutline outline;
    int rows = 0;
    std::span<const double> spectrumNumbers;
    int spectrumColumn = 0;
    CheckedArray<COLORREF> palette{"palette"};
};

// What a read made: the outline after it and the appended rows, or a whole
// new table; the spectrum column when it had to be made again.
struct RefreshRead {
    RefreshOutcome outcome;
    TableOutline outline; // Appended
    CheckedArray<StringArray> appended{"appended rows"};
    LoadedTable table;                   // ReadWhole
    std::optional<StringArray> spectrum; // Appended, when its size changed
    int spectrumColumnAsked = 0;         // the window's spectrum column when the read began
    int spectrumColumn = 0;              // the column the spectrum was taken of
};

RefreshSource RefreshSourceOf(const CDiagram& diagram);
// The same from a table a window shows, with the window's spectrum column
// and palette; numbers then views the table's cells.
RefreshSource RefreshSourceOf(const LoadedTable& table, int spectrumColumn,
                              const CheckedArray<COLORREF>& palette);
// Reads the source's file again. Shows no message box and raises no error
// but LoadCancelled (when the limits' progress is cancelled): the rest ends
// up in the outcome.
RefreshRead ReadRefresh(const RefreshSource& source, const LoadLimits& limits = {});
// Puts what the read made into the diagram it was taken from. Keeps the
// window's state: the settings, the marker, the visible flag of every column
// whose name is still there, the spectrum column while the table has it, a
// zoom window's X range.
RefreshOutcome ApplyRefresh(CDiagram& diagram, RefreshRead&& read);

// All three steps at once.
RefreshOutcome RefreshTable(CDiagram& diagram, const LoadLimits& limits = {});
