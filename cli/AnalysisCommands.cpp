// interpolate and correlate: the viewer's two derived files, written into the
// current directory.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace {

// The operation, as in the viewer, only shows a message when the file cannot
// be created or written; a warning shown during it fails the command. Warnings
// of the load (an unknown command line) do not.
void AddFileCommand(CLI::App& app, const char* name, const char* help, void (CDiagram::*makeFile)(),
                    int& exitCode) {
    AddLoadingCommand(app, name, help, exitCode, [makeFile](CDiagram& diagram, TerminalHost& host) {
        const int warningsBefore = host.warnings;
        (diagram.*makeFile)();
        return host.warnings == warningsBefore ? 0 : 1;
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
