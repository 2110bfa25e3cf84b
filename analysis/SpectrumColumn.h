// The table's last column: the amplitude spectrum of one data column as
// texts, "0.0" in every row past it. Computed from numbers alone, so that a
// read away from the interface thread can make it for a table it extends.
#pragma once

#include "diagram/StringArray.h"

#include <span>

class LoadProgress;

// The rows of the spectrum of a table of this many rows: the largest power of
// two not above it, 1 for fewer than two rows.
int SpectrumSizeFor(int rows);

// The spectrum column of a table of rows rows whose source column begins
// with numbers (at least SpectrumSizeFor(rows) of them). With progress, raises
// LoadCancelled soon after the load is cancelled.
StringArray SpectrumColumnOf(std::span<const double> numbers, int rows,
                             const LoadProgress* progress = nullptr);
