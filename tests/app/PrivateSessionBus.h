// A session bus of the test's own (a dbus-daemon started for it and ended
// with the object), so that the viewers a test starts meet only each other.
#pragma once

#include <string>
#include <sys/types.h>

class PrivateSessionBus {
public:
    // Starts the daemon; Address() is empty when dbus-daemon is missing or
    // did not start.
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const std::string& Address() const { return m_address; }

private:
    std::string m_address;
    pid_t m_pid = -1;
};
