// What a diagram needs from the window that owns it: the client area, message
// boxes and the wait cursor. The viewer implements it with Qt; the batch tool
// and the tests with stderr and recorders. Keeps the core free of any toolkit.
#pragma once

#include "diagram/Geometry.h"

#include <string>

class IDiagramHost {
public:
    virtual ~IDiagramHost() = default;

    virtual Rect ClientRect() const = 0;
    // A modal warning box; returns when the user has closed it.
    virtual void ShowWarning(const std::string& text) = 0;
    // A warning about a file the system failed to open or read: the box
    // shows text alone, as any warning; systemReason is the system's word for
    // the failure (empty when it gave none), for a host that also writes its
    // warnings to a terminal or log, in the form WithSystemReason makes.
    virtual void ShowWarningWithReason(const std::string& text,
                                       const std::string& /*systemReason*/) {
        ShowWarning(text);
    }
    // A modal information box (completion messages).
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// A warning as a terminal or log shows it: the text, then the system's
// reason in parentheses when there is one.
inline std::string WithSystemReason(const std::string& text, const std::string& systemReason) {
    return systemReason.empty() ? text : text + " (" + systemReason + ")";
}

// Shows the wait cursor for the life of the object, also when an error ends the
// operation early.
class WaitCursor {
public:
    explicit WaitCursor(IDiagramHost* host) : host(host) {
        if (host)
            host->BeginWaitCursor();
    }
    ~WaitCursor() {
        if (host)
            host->EndWaitCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    IDiagramHost* host;
};
