#include "PrivateSessionBus.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

PrivateSessionBus::PrivateSessionBus() {
    // The daemon forks into the background once it listens, and prints its
    // address and its process id, one a line.
    FILE* out =
        popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (!out)
        return;
    char address[512] = {};
    char pid[32] = {};
    const bool read = std::fgets(address, sizeof address, out) && std::fgets(pid, sizeof pid, out);
    pclose(out);
    if (!read)
        return;
    m_address = address;
    while (!m_address.empty() && (m_address.back() == '\n' || m_address.back() == '\r'))
        m_address.pop_back();
    m_pid = static_cast<pid_t>(std::atol(pid));
}

PrivateSessionBus::~PrivateSessionBus() {
    if (m_pid > 0)
        kill(m_pid, SIGTERM);
}
