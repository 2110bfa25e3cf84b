// A zoom window's table made from the rows of the open window's table, when
// the file is still what that table was read from: the same table a new read
// of the file with the zoom's X range gives, without reading the file again.
#pragma once

#include "diagram/LoadedTable.h"

#include <optional>
#include <span>

class LoadProgress;

// Whether the file at the table's path still holds exactly the bytes the table
// was read from (same file, size, time and fingerprint, and the table's last
// read ended at the file's end), the table's command values are the file's
// own, and the table holds every row that a read with range would keep. Runs on any thread; reads
// no cell.
bool ZoomableFromMemory(const TableOutline& table, const XRange& range);

// The table of a zoom window over range: the rows of source whose X lies in
// range, ends included, with fresh column records (coloured by palette) and
// "0.0" in the spectrum column; the caller computes the spectrum. xNumbers
// are source's X numbers. Counts in progress the share of the file the rows
// gone through came from, and stops between blocks of rows once cancelled.
LoadedTable ZoomTableOf(const LoadedTable& source, std::span<const double> xNumbers,
                        const XRange& range, const CheckedArray<COLORREF>& palette,
                        LoadProgress* progress);
