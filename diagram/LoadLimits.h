// What one load reads and how much at most before it refuses the file: bounds
// for input that never ends (a FIFO, a device) and for tables that would not
// fit.
#pragma once

#include <cstddef>
#include <limits>

class LoadProgress;

struct LoadLimits {
    // A longer line is refused rather than held in memory whole (a large
    // binary file may have no line feed at all).
    std::size_t maxLineBytes = std::size_t{512} << 20;
    // Bytes read from the file, all lines together.
    long long maxBytes = 64LL << 30;
    // Data rows kept; rows are counted with an int.
    int maxRows = std::numeric_limits<int>::max();
    // A file of at least this many bytes is read by two threads, each half
    // by one; below it a second thread saves less than it costs.
    long long twoThreadsFrom = 8LL << 20;
    // Regular files only: a FIFO, a socket or a device is refused at once
    // instead of waiting for a writer or reading without end. A batch tool
    // may read them.
    bool onlyRegularFiles = true;
    // When set, the read adds the bytes it reads there, and stops (raising
    // LoadCancelled) once it is cancelled.
    LoadProgress* progress = nullptr;
};
