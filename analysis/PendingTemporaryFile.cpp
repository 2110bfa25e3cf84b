#include "analysis/PendingTemporaryFile.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// The path is complete while ready is 1: the flag drops before the buffer
// changes and rises after, so a handler never reads half a path.
char pendingPath[PATH_MAX];
volatile std::sig_atomic_t ready = 0;

} // namespace

void SetPendingTemporaryFile(const char* path) {
    ready = 0;
    char absolute[PATH_MAX];
    std::size_t used = 0;
    if (path[0] != '/') {
        if (!::getcwd(absolute, sizeof absolute))
            return;
        used = std::strlen(absolute);
        if (used + 1 < sizeof absolute)
            absolute[used++] = '/';
    }
    const std::size_t length = std::strlen(path);
    if (used + length + 1 > sizeof pendingPath)
        return;
    std::memcpy(pendingPath, absolute, used);
    std::memcpy(pendingPath + used, path, length + 1);
    ready = 1;
}

void ClearPendingTemporaryFile() {
    ready = 0;
}

void RemovePendingTemporaryFile() noexcept {
    if (ready)
        ::unlink(pendingPath);
    ready = 0;
}
