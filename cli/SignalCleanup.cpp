#include "cli/SignalCleanup.h"

#include "analysis/PendingTemporaryFile.h"

#include <csignal>
#include <initializer_list>

namespace {

// Runs with the signal's default action already restored (SA_RESETHAND), so
// raising it again ends the process as the signal would have.
void RemoveTemporaryAndEnd(int signal) {
    RemovePendingTemporaryFile();
    std::raise(signal);
}

} // namespace

void InstallSignalCleanup() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}
