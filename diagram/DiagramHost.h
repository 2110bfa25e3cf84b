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
    // A modal information box (completion messages).
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

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
