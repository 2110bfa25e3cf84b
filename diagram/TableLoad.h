// The steps each line of a data file goes through on its way into a
// diagram's table (command, title, header, data row), shared by the read of a
// whole file and by the read of the lines appended to it since. A plain CSV
// file, whose first table line is already its header, is told apart at its
// second table line (PlainTable.h).
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

// The record of column i as the header names it: shown, coloured by the
// palette while it has an entry for it.
ColumnRecord NewColumnRecord(std::string_view name, const CheckedArray<COLORREF>& palette, int i);

// One load, line by line. A step that refuses the file has shown its message
// and returns false.
class TableLoad {
public:
    // rows receives the data rows: the diagram's own columns when the whole
    // file is read, or new columns of the same count that an append adds to
    // the table once every line has passed; rowsBefore counts the rows the
    // table holds besides them. fileName, the name of the file with its
    // extension, is the title of a plain table.
    TableLoad(CDiagram& diagram, const LoadLimits& limits, const std::string& shownPath,
              std::string_view fileName, CheckedArray<StringArray>& rows, int rowsBefore);

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
    // Refuses the file for changing while it was read.
    bool RefuseChangedFile();
    // Command lines met so far.
    long long Commands() const { return commands; }

private:
    void Command(std::string_view line, const CommandLine& command);
    bool TableLine(std::string_view line, long long lineNumber);
    bool Header(int tokens);
    bool PlainHeader(std::string_view line, long long lineNumber);
    bool DataRow(int count, long long lineNumber);
    bool Refuse(const std::string& why);

    CDiagram& diagram;
    const LoadLimits& limits;
    const std::string& shownPath;
    CheckedArray<StringArray>& rows;
    const int rowsBefore;
    const std::string fileName;
    long long commands = 0;
    // The token count of the title line when no command came before it (it
    // may then be the header of a plain table), else 0.
    int titleTokens = 0;
    // Whether an "X" command has been read: it, not the first row, then says
    // what the X column of a plain table holds.
    bool xCommand = false;
};
