// What a window whose file gives a "Timer" period does at each tick of its
// timer: notice that the file changed, bring the diagram up to date, and say
// what the window should repaint, show in the status bar or show in a box.
// The read between noticing and applying may run away from the interface
// thread; noticing and applying run on it.
#pragma once

#include "diagram/FileStamp.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

class CDiagram;
struct RefreshRead;

class CLiveRefresh {
public:
    // Ticks come no faster than this, whatever smaller period the file gives.
    static constexpr int kShortestPeriodMs = 100;

    // The timer period the loaded file asks for in milliseconds; 0 for none
    // (a "Timer" of 0 or less).
    static int PeriodMs(const CDiagram& diagram);

    struct TickResult {
        bool repaint = false;              // the table changed
        std::optional<std::string> status; // new text for status pane 0
        std::vector<std::string> warnings; // to show, each once per window
    };
    // The first step of a tick: true when the file's size, modification time
    // or identity changed since the last tick (or the load), so that it is
    // to be read again. A file that cannot be looked at fails here, into
    // result.
    bool FileChanged(const CDiagram& diagram, TickResult& result);
    // The last step: puts what the read made into the diagram. A failure
    // keeps the table and is reported once, until a later refresh succeeds.
    TickResult Apply(CDiagram& diagram, RefreshRead&& read);

    // A message the window has shown in a box: a refresh shows it no more.
    void NoteWarningShown(const std::string& text) { m_shownWarnings.insert(text); }

private:
    void Fail(const CDiagram& diagram, TickResult& result, const std::string& reason);

    bool m_bStarted = false;
    std::optional<FileStamp> m_seen; // the file at the last look
    std::string m_failure;           // the status text of the current failure
    std::set<std::string> m_shownWarnings;
};
