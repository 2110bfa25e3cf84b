// What every command of kelvaro-cli shares: the FILE argument with the loading
// options ("-" reads standard input), a diagram host that writes message boxes
// to the terminal, and the guard that turns errors into messages and exit
// codes.
#pragma once

#include "diagram/CDiagram.h"
#include "diagram/DiagramHost.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Warnings go to stderr as "warning: TEXT", information to stdout as
// "info: TEXT", each as one entry with its line breaks kept and its control
// bytes escaped. A warning about a failed open or read ends with the
// system's reason: "warning: TEXT (REASON)".
class TerminalHost : public IDiagramHost {
public:
    explicit TerminalHost(Rect client = Rect{0, 0, 800, 500}) : client(client) {}
    Rect ClientRect() const override { return client; }
    void ShowWarning(const std::string& text) override; // also counts it
    void ShowWarningWithReason(const std::string& text, const std::string& systemReason) override;
    void ShowInformation(const std::string& text) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    Rect client;
    int warnings = 0;
    // Where "info:" lines go: stderr while stdout carries a picture.
    std::ostream* informationOut = &std::cout;
    // Set while standard input is read: the messages name it so rather than
    // by the path it is read through.
    bool readsStandardInput = false;

private:
    std::string Shown(const std::string& text, const std::string& systemReason) const;
};

struct LoadOptions {
    std::string file;           // "-" for standard input
    std::vector<double> xRange; // empty, or FROM and TO
    std::optional<int> spectrumColumn;
    // False when nothing looks at the spectrum column (a picture that does
    // not show it): it is then not computed.
    bool needsSpectrum = true;
};

// The path the loader reads for a FILE argument, and how a message of the
// tool itself names it.
std::string InputPath(const std::string& file);
std::string InputName(const std::string& file);

// Adds FILE, --x-range FROM TO and --spectrum-column K to a command.
void AddLoadOptions(CLI::App& command, LoadOptions& options);
// Adds only --x-range and --spectrum-column, for a command with files of its
// own.
void AddRangeOptions(CLI::App& command, LoadOptions& options);

// Loads the file as the viewer's Open does (as a zoom window would when an X
// range is given), with the spectrum of the chosen column. False when
// the load failed; its messages are written already, through host, the
// diagram's host.
bool LoadDiagram(const LoadOptions& options, CDiagram& diagram, TerminalHost& host);

// Runs a command's work: its result is the exit code; the invalid-argument
// error and any other failure become a message on stderr and exit code 1.
int RunGuarded(const std::function<int()>& work);

// What a command does with the loaded diagram; the result is the exit code.
using LoadedWork = std::function<int(CDiagram& diagram, TerminalHost& host)>;

// Adds a command that loads FILE with the load options and then runs work,
// guarded by RunGuarded; exitCode receives the result. The spectrum column is
// computed only when needsSpectrum is set. Returns the command so that it can
// take options of its own.
CLI::App* AddLoadingCommand(CLI::App& app, const char* name, const char* help, int& exitCode,
                            LoadedWork work, bool needsSpectrum = true);
