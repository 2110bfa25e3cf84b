// Brings a loaded diagram up to date with its file: when the file only grew,
// parses just the appended lines; else reads it whole beside the old table.
// Either way the old table stays until the new one is complete.
#pragma once

#include "diagram/LoadLimits.h"

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

// Reads the diagram's filePath again. Keeps the window's state: the
// settings, the marker, the visible flag of every column whose name is still
// there, the spectrum column while the table has it, a zoom window's X range.
// Shows no message box and raises no error: both end up in the outcome.
RefreshOutcome RefreshTable(CDiagram& diagram, const LoadLimits& limits = {});
