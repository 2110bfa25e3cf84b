// kelvaro-cli: the diagram engine without a window. Exit codes: 0 success,
// 1 when the load or the operation failed, 2 for a usage error.
#include "cli/Commands.h"
#include "cli/SignalCleanup.h"

#include "KelvaroVersion.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    InstallSignalCleanup();
    CLI::App app{"Kelvaro batch tool: load a data file and report, render or derive from it"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string(kKelvaroNameAndVersion),
                         "Show the version and exit");
    app.set_help_all_flag("--help-all", "Show the help of every command and exit");
    int exitCode = 0;
    AddTableCommands(app, exitCode);
    AddAnalysisCommands(app, exitCode);
    AddRenderCommand(app, exitCode);
    AddStatsCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    return exitCode;
}
