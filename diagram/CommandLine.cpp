#include "diagram/CommandLine.h"

#include "diagram/AsciiChars.h"
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"

#include <string>

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string ToLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

} // namespace

std::optional<CommandLine> ParseCommandLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return std::nullopt;
    return CommandLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

bool ApplyCommand(CDiagram& diagram, const CommandLine& command) {
    const std::string_view key = command.key;
    if (key == "X") {
        diagram.minorTicks = 0;
        const std::string kind = ToLower(command.value);
        if (kind == "number")
            diagram.xIsNumber = true;
        else if (kind == "datetime")
            diagram.xIsDateTime = true;
        else
            return false;
    } else if (key == "Timer") {
        diagram.timerPeriod = AtoI(command.value);
    } else if (key == "Intervals") {
        diagram.intervals = AtoI(command.value);
    } else if (key == "Xmin") {
        diagram.fileXmin = AtoF(command.value);
    } else if (key == "Xdelta") {
        diagram.fileXdelta = AtoF(command.value);
    } else {
        return false;
    }
    return true;
}
