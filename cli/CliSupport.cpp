#include "cli/CliSupport.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/ZoomRequest.h"

#include <iostream>
#include <memory>

void TerminalHost::ShowWarning(const std::string& text) {
    ++warnings;
    std::cerr << "warning: " << text << std::endl;
}

void TerminalHost::ShowInformation(const std::string& text) {
    std::cout << "info: " << text << std::endl;
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
    bool loaded = false;
    if (options.xRange.size() == 2) {
        ZoomOpenScope zoom(options.xRange[0], options.xRange[1], 0.0, 0.0);
        loaded = diagram.LoadFile(options.file);
    } else {
        loaded = diagram.LoadFile(options.file);
    }
    if (loaded && options.spectrumColumn) {
        diagram.spectrumColumn = *options.spectrumColumn;
        diagram.ComputeSpectrum();
    }
    return loaded;
}

int RunGuarded(const std::function<int()>& work) {
    try {
        return work();
    } catch (const InvalidArgumentError& error) {
        std::cerr << "warning: " << InvalidArgumentMessage(error) << std::endl;
    } catch (const std::exception& error) {
        std::cerr << "error: " << error.what() << std::endl;
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
