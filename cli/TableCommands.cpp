// dump and info: the loaded diagram as JSON.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kOutputChunk = 1 << 20;

// Texts that are not valid UTF-8 (a binary file) are shown with replacement
// characters instead of failing the whole output.
std::string Dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The diagram's fields before its columns.
Json DiagramFields(const CDiagram& d, bool withCells) {
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
    return json;
}

// A column's fields before its cells.
Json ColumnFields(const ColumnRecord& record) {
    Json column;
    column["name"] = std::string(ColumnName(record));
    column["visible"] = record.visible != 0;
    column["markSize"] = record.markSize;
    column["color"] = ColorHex(record.color);
    return column;
}

// Thrown when the output stream fails: nothing more is worth formatting.
struct OutputFailed {};

// Writes JSON as dump(2) lays it out, piece by piece into a buffer of
// bounded size, so that a table of any size is never held twice. Raises
// OutputFailed once the stream fails (a reader that went away).
class PrettyJsonStream {
public:
    explicit PrettyJsonStream(std::ostream& out) : out(out) {}

    // The members of a flat object, each on its own line at indent.
    void Members(const Json& object, int indent) {
        const char* separator = "";
        for (const auto& [key, value] : object.items()) {
            Put(separator);
            Line(indent, Dumped(key) + ": " + Dumped(value));
            separator = ",\n";
        }
    }
    // An array of count elements at indent; element(i) writes element i,
    // which starts on its own line at indent + 2.
    template <class Element> void Array(long long count, int indent, Element element) {
        if (count == 0) {
            Put("[]");
            return;
        }
        Put("[\n");
        for (long long i = 0; i < count; ++i) {
            if (i > 0)
                Put(",\n");
            element(i);
        }
        Put("\n");
        Line(indent, "]");
    }
    void Line(int indent, const std::string& content) {
        text.append(static_cast<std::size_t>(indent), ' ');
        Put(content);
    }
    // Writes what is still buffered.
    void Finish() { Flush(); }
    void Put(std::string_view piece) {
        text += piece;
        if (text.size() >= kOutputChunk)
            Flush();
    }

private:
    void Flush() {
        out << text;
        text.clear();
        if (!out)
            throw OutputFailed{};
    }

    std::ostream& out;
    std::string text;
};

void WriteDiagramJson(const CDiagram& d, bool withCells, std::ostream& out) {
    PrettyJsonStream json(out);
    json.Put("{\n");
    json.Members(DiagramFields(d, withCells), 2);
    json.Put(",\n  \"columns\": ");
    json.Array(d.columnCount, 2, [&](long long c) {
        json.Line(4, "{\n");
        json.Members(ColumnFields(d.columns[c]), 6);
        if (withCells) {
            const StringArray& cells = d.values[c];
            json.Put(",\n      \"cells\": ");
            json.Array(cells.GetSize(), 6,
                       [&](long long r) { json.Line(8, Dumped(std::string(cells[r]))); });
        }
        json.Put("\n");
        json.Line(4, "}");
    });
    json.Put("\n}\n");
    json.Finish();
}

void AddJsonCommand(CLI::App& app, const char* name, const char* help, bool withCells,
                    int& exitCode) {
    AddLoadingCommand(app, name, help, exitCode, [withCells](CDiagram& diagram, TerminalHost&) {
        try {
            WriteDiagramJson(diagram, withCells, std::cout);
            std::cout.flush();
        } catch (const OutputFailed&) {
        }
        if (std::cout)
            return 0;
        std::cerr << "error: the JSON could not be written to the standard output" << std::endl;
        return 1;
    });
}

} // namespace

void AddTableCommands(CLI::App& app, int& exitCode) {
    AddJsonCommand(app, "dump", "Print the loaded diagram, cells included, as JSON", true,
                   exitCode);
    AddJsonCommand(app, "info", "Print the loaded diagram without its cells as JSON", false,
                   exitCode);
}
