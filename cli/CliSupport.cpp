#include "cli/CliSupport.h"

#include "diagram/EscapedText.h"
#include "diagram/InvalidArgumentError.h"

#include <iostream>
#include <memory>
#include <new>

namespace {

constexpr std::string_view kStandardInput = "-";
constexpr std::string_view kStandardInputPath = "/dev/stdin";
constexpr std::string_view kStandardInputName = "standard input";

void ReplaceAll(std::string& text, std::string_view what, std::string_view by) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
}

// The loader names its file by path, in quotes or alone on the message's last
// line.
std::string NamingStandardInput(std::string text) {
    const auto quoted = [](std::string_view name) { return "\"" + std::string(name) + "\""; };
    ReplaceAll(text, quoted(kStandardInputPath), quoted(kStandardInputName));
    const std::string lastLine = "\n" + std::string(kStandardInputPath);
    if (text.ends_with(lastLine))
        text.replace(text.size() - kStandardInputPath.size(), std::string::npos,
                     kStandardInputName);
    return text;
}

} // namespace

void TerminalHost::ShowWarning(const std::string& text) {
    ShowWarningWithReason(text, std::string());
}

void TerminalHost::ShowWarningWithReason(const std::string& text, const std::string& systemReason) {
    ++warnings;
    std::cerr << "warning: " << Shown(text, systemReason) << std::endl;
}

void TerminalHost::ShowInformation(const std::string& text) {
    *informationOut << "info: " << Shown(text, std::string()) << std::endl;
}

std::string TerminalHost::Shown(const std::string& text, const std::string& systemReason) const {
    return EscapeControlBytes(
        WithSystemReason(readsStandardInput ? NamingStandardInput(text) : text, systemReason));
}

std::string InputPath(const std::string& file) {
    return file == kStandardInput ? std::string(kStandardInputPath) : file;
}

std::string InputName(const std::string& file) {
    return file == kStandardInput ? std::string(kStandardInputName) : file;
}

void AddLoadOptions(CLI::App& command, LoadOptions& options) {
    command.add_option("FILE", options.file, "Data file, or - for standard input")->required();
    AddRangeOptions(command, options);
}

void AddRangeOptions(CLI::App& command, LoadOptions& options) {
    command.add_option("--x-range", options.xRange, "Load only the rows from X FROM to X TO")
        ->expected(2)
        ->type_name("FROM TO");
    command.add_option("--spectrum-column", options.spectrumColumn,
                       "Data column (0 is the first) whose spectrum is computed");
}

bool LoadDiagram(const LoadOptions& options, CDiagram& diagram, TerminalHost& host) {
    // Unlike the viewer, the batch tool reads pipes and devices too.
    const LoadLimits limits{.onlyRegularFiles = false};
    const std::string path = InputPath(options.file);
    host.readsStandardInput = options.file == kStandardInput;
    // A zoom window's rows, as the viewer reads them.
    if (options.xRange.size() == 2)
        diagram.xRange = XRange{options.xRange[0], options.xRange[1]};
    if (!diagram.LoadFile(path, limits,
                          options.needsSpectrum ? CDiagram::LoadMode::Open
                                                : CDiagram::LoadMode::OpenSpectrumLater))
        return false;
    if (options.spectrumColumn) {
        const int column = *options.spectrumColumn;
        const int dataColumns = diagram.columnCount - 2;
        if (column < 0 || column >= dataColumns)
            throw InvalidArgumentError("--spectrum-column " + std::to_string(column) +
                                       ": the table has no data column " + std::to_string(column) +
                                       " (its data columns are 0 to " +
                                       std::to_string(dataColumns - 1) + ")");
        diagram.spectrumColumn = column;
        if (options.needsSpectrum)
            diagram.ComputeSpectrum();
    }
    return true;
}

int RunGuarded(const std::function<int()>& work) {
    try {
        return work();
    } catch (const InvalidArgumentError& error) {
        std::cerr << "warning: " << EscapeControlBytes(InvalidArgumentMessage(error)) << std::endl;
    } catch (const std::bad_alloc&) {
        std::cerr << "error: Not enough memory for this operation." << std::endl;
    } catch (const std::exception& error) {
        std::cerr << "error: " << EscapeControlBytes(error.what()) << std::endl;
    }
    return 1;
}

CLI::App* AddLoadingCommand(CLI::App& app, const char* name, const char* help, int& exitCode,
                            LoadedWork work, bool needsSpectrum) {
    auto options = std::make_shared<LoadOptions>();
    options->needsSpectrum = needsSpectrum;
    CLI::App* command = app.add_subcommand(name, help);
    AddLoadOptions(*command, *options);
    command->callback([options, work = std::move(work), &exitCode] {
        exitCode = RunGuarded([&] {
            TerminalHost host;
            CDiagram diagram(&host);
            if (!LoadDiagram(*options, diagram, host))
                return 1;
            return work(diagram, host);
        });
    });
    return command;
}
