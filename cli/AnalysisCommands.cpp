// interpolate and correlate: the viewer's two derived files, written into the
// current directory.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <memory>

namespace {

// Counts the warnings it writes, so that a derived file that could not be
// created or written fails the command although the operation itself, as in
// the viewer, only shows its message.
class CountingHost : public TerminalHost {
public:
    void ShowWarning(const std::string& text) override {
        ++warnings;
        TerminalHost::ShowWarning(text);
    }

    int warnings = 0;
};

void AddFileCommand(CLI::App& app, const char* name, const char* help, void (CDiagram::*makeFile)(),
                    int& exitCode) {
    auto options = std::make_shared<LoadOptions>();
    CLI::App* command = app.add_subcommand(name, help);
    AddLoadOptions(*command, *options);
    command->callback([options, makeFile, &exitCode] {
        exitCode = RunGuarded([&] {
            CountingHost host;
            CDiagram diagram(&host);
            if (!LoadDiagram(*options, diagram))
                return 1;
            // Warnings of the load (an unknown command line) do not fail it.
            const int warningsBefore = host.warnings;
            (diagram.*makeFile)();
            return host.warnings == warningsBefore ? 0 : 1;
        });
    });
}

} // namespace

void AddAnalysisCommands(CLI::App& app, int& exitCode) {
    AddFileCommand(app, "interpolate",
                   "Write the interpolation file of the first data column into the current "
                   "directory",
                   &CDiagram::MakeInterpolationFile, exitCode);
    AddFileCommand(app, "correlate",
                   "Write the correlation file of all data columns into the current directory",
                   &CDiagram::MakeCorrelationFile, exitCode);
}
