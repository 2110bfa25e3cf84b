// What a read of a data file makes: the table (columns, cells and their
// numbers, title, X kind), what the file's commands say, and where the file is
// and how far it was read. A value that no window owns while it is being
// filled: a load away from the interface thread fills one, and the window's
// diagram takes it whole when it is complete, so a window never shows half a
// table and a failed read leaves the shown one as it was.
#pragma once

#include "diagram/CheckedArray.h"
#include "diagram/ColumnRecord.h"
#include "diagram/DateTime.h"
#include "diagram/ReadPosition.h"
#include "diagram/StringArray.h"

#include <optional>
#include <string>

// The X range a zoom window keeps, ends included.
struct XRange {
    double from = 0.0;
    double to = 0.0;
};

// Everything of a loaded table but its cells: small, and copied where a read
// away from the interface thread needs to know the table it extends.
struct TableOutline {
    int columnCount = 0;
    CheckedArray<ColumnRecord> columns{"columns"};
    std::string title = "The diagram";
    bool xIsNumber = false;
    bool xIsDateTime = false;
    // What the file's commands set.
    int timerPeriod = 0;
    int intervals = 100;
    int minorTicks = 5;
    double fileXmin = 0.0;
    double fileXdelta = 0.0;
    // Whether the values above are what the file's commands make of the
    // defaults: the read began from them. A whole read again of a rewritten
    // file begins from the values of the read before.
    bool commandsFromDefaults = false;
    // The rows of the spectrum in the last column.
    int spectrumSize = 0;
    std::string filePath;
    std::string fileTitle;
    std::string fileName;
    // A zoom window's X range: taken from the zoom request when the window
    // opens its file, and applied to every later read of it.
    std::optional<XRange> xRange;
    // How far the last read got, for a refresh that parses only what was
    // appended since.
    ReadPosition lastRead;
    // The date the last table line parsed: a bad date leaves its status here.
    DateValue dateScratch;
};

// A copy shares the cells (see StringArray): a window keeps its own copy of
// the table it shows, and a job is handed another, which no change of the
// window's reaches.
struct LoadedTable : TableOutline {
    // The cells of every column, the spectrum column last.
    CheckedArray<StringArray> values{"values"};

    // Makes the numbers of X and the data columns, their ranges and summaries, on
    // two threads where there is a second core, so that the first paint of
    // the table finds them made, and so that threads that share the table
    // only read it. The spectrum column is left as it is.
    void PrepareNumbers() const;
};
