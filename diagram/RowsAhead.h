// The second core's share of a large load: a task of the worker pool that
// reads the data rows of a file from a line start in its second half on,
// while the load reads the first half (or, when no thread of the pool is
// free, that the load reads once it is through the first half). It takes only what needs nothing
// the lines before it may change: plain data rows, empty and separator-only lines. At the first
// line of any other kind (a command, a short row, a bad date, an over-long or unterminated line) it
// stops and leaves that line and the rest to the load, which reads them one by one as it would
// have. So the table is the same whichever thread read a row.
#pragma once

#include "diagram/CDiagram.h"

#include "diagram/WorkerPool.h"

#include <atomic>
#include <optional>
#include <string>

class RowsAhead {
public:
    // What the rows of the second half are read by: the table's shape, the X
    // kind and range, and the limits of the load.
    struct Shape {
        int columnCount = 0;
        bool xIsDateTime = false;
        std::optional<XRange> xRange;
        std::size_t maxLineBytes = 0;
        int maxRows = 0;
        // Where the bytes read are counted; a cancelled load stops the thread.
        LoadProgress* progress = nullptr;
    };
    // The rows read and how far: lines [from, end) of the file, `lines` of
    // them; complete is false when the thread gave up (its rows are then
    // not to be used).
    struct Result {
        CheckedArray<StringArray> rows{"rows read ahead"};
        long long end = 0;
        long long lines = 0;
        bool complete = false;
    };

    // The line start where a thread would begin in a file of this size: the
    // first after its middle; nothing when no line starts near there.
    static std::optional<long long> SplitPoint(int descriptor, long long size);

    // Starts reading the file open as descriptor from `from` (a line start)
    // to `to`; the descriptor must stay open while the task runs.
    RowsAhead(int descriptor, long long from, long long to, const Shape& shape);
    // Stops the task if it runs, drops it if it has not begun.
    ~RowsAhead();
    RowsAhead(const RowsAhead&) = delete;
    RowsAhead& operator=(const RowsAhead&) = delete;

    long long From() const { return from; }
    // Waits for the task (running it here if no thread began it) and hands
    // over what it read.
    Result& Wait();

private:
    void Read(int descriptor);
    bool Take(std::string_view line, CheckedArray<std::string_view>& cells, std::string& scratch,
              DateValue& date);

    const long long from;
    const long long to;
    const Shape shape;
    Result result;
    std::atomic<bool> stop{false};
    PoolTask task;
};
