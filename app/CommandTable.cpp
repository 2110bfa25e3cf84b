#include "app/CommandTable.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array<CommandInfo, 34> kCommands{{
    {ID_FILE_NEW, nullptr, "Create a new document", "New", nullptr, "Ctrl+N"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O", "Open an existing document", "Open", ":/toolbar/open.svg",
     "Ctrl+O"},
    {ID_FILE_CLOSE, "&Close", "Close the active document", "Close", nullptr, nullptr},
    {ID_FILE_SAVE, nullptr, "Save the active document", "Save", nullptr, "Ctrl+S"},
    {ID_FILE_PRINT_SETUP, "P&rint Setup...", "Change the printer and printing options",
     "Print Setup", nullptr, nullptr},
    {ID_FILE_PRINT, "&Print...\tCtrl+P", "Print the active document", "Print",
     ":/toolbar/print.svg", "Ctrl+P"},
    {ID_FILE_PRINT_DIRECT, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Display full pages", "Print Preview",
     ":/toolbar/preview.svg", nullptr},
    {ID_FILE_MRU_FILE1, "Recent File", "Open this document", nullptr, nullptr, nullptr},
    {ID_EDIT_COPY, "Copy", "Copy the Graph and put it on the Clipboard", "Copy", nullptr,
     "Ctrl+C; Ctrl+Ins"},
    {ID_EDIT_CUT, nullptr, "Cut the selection and put it on the Clipboard", "Cut", nullptr,
     "Ctrl+X; Shift+Del"},
    {ID_EDIT_PASTE, nullptr, "Insert Clipboard contents", "Paste", nullptr, "Ctrl+V; Shift+Ins"},
    {ID_EDIT_UNDO, nullptr, "Undo the last action", "Undo", nullptr, "Ctrl+Z; Alt+Backspace"},
    {ID_WINDOW_ARRANGE, "&Arrange Icons", "Arrange icons at the bottom of the window",
     "Arrange Icons", nullptr, nullptr},
    {ID_WINDOW_CASCADE, "&Cascade", "Arrange windows so they overlap", "Cascade Windows", nullptr,
     nullptr},
    {ID_WINDOW_TILE_HORZ, "&Tile", "Arrange windows as non-overlapping tiles", "Tile Windows",
     nullptr, nullptr},
    {ID_APP_ABOUT, "&About Kelvaro...", "Display program information, version number and copyright",
     "About", nullptr, nullptr},
    {ID_APP_EXIT, "E&xit", "Quit the application; prompts to save documents", "Exit", nullptr,
     nullptr},
    {ID_HELP_FINDER, "&Help Topics", "List Help topics", "Help Topics", nullptr, nullptr},
    {ID_CONTEXT_HELP, nullptr, "Display help for clicked on buttons, menus and windows", "Help",
     nullptr, "Shift+F1"},
    {ID_HELP, nullptr, "Display help for current task or command", "Help", nullptr, "F1"},
    {ID_DEFAULT_HELP, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ID_NEXT_PANE, nullptr, "Switch to the next window pane", "Next Pane", nullptr, "F6"},
    {ID_PREV_PANE, nullptr, "Switch back to the previous window pane", "Previous Pane", nullptr,
     "Shift+F6"},
    {ID_VIEW_TOOLBAR, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", nullptr, nullptr},
    {ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar", nullptr,
     nullptr},
    {ID_SHOW_PARAMETERS, "Show Parameters", "Show Parameters", "Show Parameters",
     ":/toolbar/parameters.svg", nullptr},
    {ID_SHOW_SPECTRUM, "Show Spectrum", "Show Spectrum", "Show Spectrum", ":/toolbar/spectrum.svg",
     nullptr},
    {ID_MAKE_INTERPOLATION, "Make Interpolation", "Make Interpolation file",
     "Make Interpolation file", ":/toolbar/interpolation.svg", nullptr},
    {ID_SHOW_XY_BY_MOUSE, "Show XY by mouse", "Show XY by mouse", "Show XY by mouse",
     ":/toolbar/xy_by_mouse.svg", nullptr},
    {ID_MAKE_CORRELATION, "Make Correlation", "Make Correlation file", "Make Correlation file",
     ":/toolbar/correlation.svg", nullptr},
    {ID_SET_MARKER_B, "Set Marker &B", "Set the second marker line in the middle of the plot",
     "Set Marker B", nullptr, nullptr},
    {ID_REMOVE_MARKERS, "&Remove Markers", "Remove both marker lines", "Remove Markers", nullptr,
     nullptr},
    {ID_VIEW_MEASUREMENTS, "&Measurements",
     "Show or hide the values and statistics of the curves between the markers",
     "Toggle Measurements", nullptr, nullptr},
}};

constexpr std::array<CommandId, 9> kToolbar{
    ID_FILE_OPEN,          ID_SHOW_XY_BY_MOUSE,   ID_SHOW_SPECTRUM,
    ID_MAKE_INTERPOLATION, ID_MAKE_CORRELATION,   ID_SHOW_PARAMETERS,
    CommandId{0},          ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT};

} // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}

const CommandInfo& CommandEntry(CommandId id) {
    const auto* entry = std::find_if(kCommands.begin(), kCommands.end(),
                                     [id](const CommandInfo& info) { return info.id == id; });
    if (entry == kCommands.end())
        throw std::logic_error("No command entry for id " + std::to_string(id));
    return *entry;
}

std::span<const CommandId> ToolbarLayout() {
    return kToolbar;
}
