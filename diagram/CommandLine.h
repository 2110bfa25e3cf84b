// The command lines of a data file ("key=value" anywhere in the file): how
// one is recognised and what it changes in the diagram.
#pragma once

#include <optional>
#include <string_view>

class CDiagram;

struct CommandLine {
    std::string_view key;   // trimmed text before the first "="
    std::string_view value; // trimmed text after it
};

// The line's key and value when it contains "=" after its first character;
// nothing for a table line.
std::optional<CommandLine> ParseCommandLine(std::string_view line);

// Applies "X", "Timer", "Intervals", "Xmin" or "Xdelta"; false for any other
// key and for an "X" value other than "number" or "datetime" (which still
// switches the minor ticks off).
bool ApplyCommand(CDiagram& diagram, const CommandLine& command);
