#include "cli/CliSupport.h"

#include "diagram/EscapedText.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/ZoomRequest.h"

#include <iostream>
#include <memory>
#include <new>

void TerminalHost::ShowWarning(const std::string& text) {
    ++warnings;
    std::cerr << "warning: " << EscapeControlBytes(text) << std::endl;
}

void TerminalHost::ShowInformation(const std::string& text) {
    std::cout << "info: " << EscapeControlBytes(text) << std::endl;
}

void AddLoadOptions(CLI::App& command, LoadOptions& options) {
    command.add_option("FILE", options.file, "Data file")->required();
    command.add_option("--x-range", options.xRange, "Load only the rows from X FROM to X TO")
        ->expected(2)
        ->type_name("FROM TO");
    command.add_option("--spectrum-column", options.spectrumColumn,
                       "Data column (0 is the first) whose spectrum is computed");
}

bool LoadDiagram(const LoadOptions& options, CDiagram& diagram) {
    // Unlike the viewer, the batch tool reads pipes and devices too.
    const LoadLimits limits{.onlyRegularFiles = false};
    bool loaded = false;
    if (options.xRange.size() == 2) {
        ZoomOpenScope zoom(options.xRange[0], options.xRange[1], 0.0, 0.0);
        loaded = diagram.LoadFile(options.file, limits);
    } else {
        loaded = diagram.LoadFile(options.file, limits);
    }
    if (loaded && options.spectrumColumn) {
        const int column = *options.spectrumColumn;
        const int dataColumns = diagram.columnCount - 2;
        if (column < 0 || column >= dataColumns)
            throw InvalidArgumentError("--spectrum-column " + std::to_string(column) +
                                       ": the table has no data column " + std::to_string(column) +
                                       " (its data columns are 0 to " +
                                       std::to_string(dataColumns - 1) + ")");
        diagram.spectrumColumn = column;
        diagram.ComputeSpectrum();
    }
    return loaded;
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
                            LoadedWork work) {
    auto options = std::make_shared<LoadOptions>();
    CLI::App* command = app.add_subcommand(name, help);
    AddLoadOptions(*command, *options);
    command->callback([options, work = std::move(work), &exitCode] {
        exitCode = RunGuarded([&] {
            TerminalHost host;
            CDiagram diagram(&host);
            if (!LoadDiagram(*options, diagram))
                return 1;
            return work(diagram, host);
        });
    });
    return command;
}
