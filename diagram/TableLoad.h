// The steps each line of a data file goes through on its way into a
// diagram's table (command, title, header, data row), shared by the read of a
// whole file and by the read of the lines appended to it since.
#pragma once

#include "diagram/CDiagram.h"

#include <string>
#include <string_view>

class LineReader;
struct CommandLine;

// Empties the diagram's working texts when a load ends, however it ends: the
// cells view lines of a buffer that is gone by then.
class WorkingTextsScope {
public:
    explicit WorkingTextsScope(CDiagram& diagram) : diagram(diagram) {}
    ~WorkingTextsScope() {
        diagram.cells.RemoveAll();
        diagram.scratch.clear();
    }
    WorkingTextsScope(const WorkingTextsScope&) = delete;
    WorkingTextsScope& operator=(const WorkingTextsScope&) = delete;

private:
    CDiagram& diagram;
};

// Room in the columns for the rows still to come, judged by what the load
// has read: the rows kept per byte so far, extrapolated to the file's size
// but never past kGrowth times the bytes read. A file that lies about its
// size (a sparse one) or has none (a pipe) so costs no more memory than a
// small factor of its data, and a large file is copied only a few times as
// its table grows.
class RowReservation {
public:
    void BeforeRow(CheckedArray<StringArray>& columns, const LineReader& reader);

private:
    int nextAt = 0; // the row count at which to look again
};

// One load, line by line. A step that refuses the file has shown its message
// and returns false.
class TableLoad {
public:
    // rows receives the data rows: the diagram's own columns when the whole
    // file is read, or new columns of the same count that an append adds to
    // the table once every line has passed; rowsBefore counts the rows the
    // table holds besides them. sizing, the reader of a whole read, lets the
    // columns be reserved ahead; none for an append.
    TableLoad(CDiagram& diagram, const LoadLimits& limits, const std::string& shownPath,
              CheckedArray<StringArray>& rows, int rowsBefore, const LineReader* sizing);

    // Empties the table; settings and command values stay.
    void ResetTable();
    // A line of the file without its line feed: skipped when empty, else a
    // command or a table line.
    bool Line(std::string_view line, long long lineNumber);
    // The end of a whole read: the reader must have reached the end of the
    // file and seen one version of it, not the start of one and the end of
    // another.
    bool End(const LineReader& reader);
    // Refuses the file for line lineNumber, longer than the limits allow.
    bool RefuseLongLine(long long lineNumber);

private:
    void Command(std::string_view line, const CommandLine& command);
    bool TableLine(std::string_view line, long long lineNumber);
    bool Header(int tokens);
    bool DataRow(int count, long long lineNumber);
    bool Refuse(const std::string& why);

    CDiagram& diagram;
    const LoadLimits& limits;
    const std::string& shownPath;
    CheckedArray<StringArray>& rows;
    const int rowsBefore;
    const LineReader* sizing;
    RowReservation reservation;
};
