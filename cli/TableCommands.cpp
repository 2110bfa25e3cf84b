// dump and info: the loaded diagram as JSON.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace {

using Json = nlohmann::ordered_json;

Json DiagramJson(const CDiagram& d, bool withCells) {
    Json json;
    json["title"] = d.title;
    json["xIsNumber"] = d.xIsNumber;
    json["xIsDateTime"] = d.xIsDateTime;
    json["timerPeriod"] = d.timerPeriod;
    json["intervals"] = d.intervals;
    json["fileXmin"] = d.fileXmin;
    json["fileXdelta"] = d.fileXdelta;
    json["minorTicks"] = d.minorTicks;
    json["filePath"] = d.filePath;
    json["fileTitle"] = d.fileTitle;
    json["fileName"] = d.fileName;
    json["columnCount"] = d.columnCount;
    json["spectrumSize"] = d.spectrumSize;
    if (!withCells)
        json["rowCount"] = d.columnCount > 0 ? d.values[0].GetSize() : 0;
    Json columns = Json::array();
    for (int c = 0; c < d.columnCount; ++c) {
        const ColumnRecord& record = d.columns[c];
        Json column;
        column["name"] = std::string(ColumnName(record));
        column["visible"] = record.visible != 0;
        column["markSize"] = record.markSize;
        column["color"] = ColorHex(record.color);
        if (withCells) {
            Json cells = Json::array();
            const StringArray& texts = d.values[c];
            for (int r = 0; r < texts.GetSize(); ++r)
                cells.push_back(std::string(texts[r]));
            column["cells"] = std::move(cells);
        }
        columns.push_back(std::move(column));
    }
    json["columns"] = std::move(columns);
    return json;
}

void AddJsonCommand(CLI::App& app, const char* name, const char* help, bool withCells,
                    int& exitCode) {
    AddLoadingCommand(app, name, help, exitCode, [withCells](CDiagram& diagram, TerminalHost&) {
        // Texts that are not valid UTF-8 (a binary file) are shown with
        // replacement characters instead of failing the whole output.
        std::cout
            << DiagramJson(diagram, withCells).dump(2, ' ', false, Json::error_handler_t::replace)
            << '\n';
        return 0;
    });
}

} // namespace

void AddTableCommands(CLI::App& app, int& exitCode) {
    AddJsonCommand(app, "dump", "Print the loaded diagram, cells included, as JSON", true,
                   exitCode);
    AddJsonCommand(app, "info", "Print the loaded diagram without its cells as JSON", false,
                   exitCode);
}
