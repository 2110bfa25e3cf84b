// The commands of kelvaro-cli; each adds itself to the application and stores
// its exit code in exitCode when it runs.
#pragma once

#include <CLI/CLI.hpp>

void AddTableCommands(CLI::App& app, int& exitCode);    // dump, info
void AddAnalysisCommands(CLI::App& app, int& exitCode); // interpolate, correlate
void AddRenderCommand(CLI::App& app, int& exitCode);    // render
void AddStatsCommand(CLI::App& app, int& exitCode);     // stats
