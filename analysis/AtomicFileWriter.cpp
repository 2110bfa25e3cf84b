#include "analysis/AtomicFileWriter.h"

#include "analysis/PendingTemporaryFile.h"
#include "diagram/Numbers.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kFlushSize = 1 << 16;
constexpr std::size_t kMaxNameBytes = 255;
// "." + process id (at most 10 digits) + "." + 6 hex digits + ".tmp".
constexpr std::size_t kSuffixBytes = 22;
constexpr std::time_t kLeftoverAge = 24 * 60 * 60;

// "." and the target's name, cut to leave room for the suffix.
std::string TemporaryPrefix(const std::string& targetName) {
    std::string prefix = ".";
    prefix.append(targetName, 0, kMaxNameBytes - kSuffixBytes - 1);
    return prefix;
}

bool AllOf(std::string_view text, const char* characters) {
    return !text.empty() && text.find_first_not_of(characters) == std::string_view::npos;
}

constexpr long kNotATemporary = 0;
constexpr long kOwnerUnknown = -1;

// The owner's process id when name is a temporary file of targetName: the
// prefix, then ".PID.XXXXXX.tmp"; kOwnerUnknown for the earlier form without
// the id (".XXXXXX.tmp"), kNotATemporary for any other name.
long OwnerOfTemporary(std::string_view name, const std::string& prefix) {
    if (!name.starts_with(prefix) || !name.ends_with(".tmp"))
        return kNotATemporary;
    const std::string_view rest = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    if (rest.size() < 7 || rest[rest.size() - 7] != '.' ||
        !AllOf(rest.substr(rest.size() - 6), "0123456789abcdef"))
        return kNotATemporary;
    if (rest.size() == 7)
        return kOwnerUnknown;
    const std::string_view pid = rest.substr(1, rest.size() - 8);
    if (rest[0] != '.' || pid.size() > 10 || !AllOf(pid, "0123456789"))
        return kNotATemporary;
    return std::stol(std::string(pid));
}

bool ProcessIsGone(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TemporaryFileName(const std::string& targetName, long processId, unsigned random) {
    return TemporaryPrefix(targetName) + FormatC(".%ld.%06x.tmp", processId, random & 0xFFFFFF);
}

int RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory,
                                 const std::string& targetName) {
    const std::string prefix = TemporaryPrefix(targetName);
    const std::filesystem::path where = directory.empty() ? "." : directory;
    const std::time_t dayAgo = std::time(nullptr) - kLeftoverAge;
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(where, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        const long owner = OwnerOfTemporary(name, prefix);
        struct stat info;
        if (owner == kNotATemporary || ::lstat(it->path().c_str(), &info) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        const bool ownerGone = owner > 0 && ProcessIsGone(owner);
        if ((ownerGone || info.st_mtime < dayAgo) && ::unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open() {
    const std::string name = target.filename().string();
    RemoveLeftoverTemporaryFiles(target.parent_path(), name);
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target.parent_path() / TemporaryFileName(name, ::getpid(), random());
        // Pending before it exists, so that a signal never finds it created
        // and not yet known. The name carries this process's id: no other
        // live process writes a file of that name.
        SetPendingTemporaryFile(temporary.c_str());
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    ClearPendingTemporaryFile();
    temporary.clear();
    return false;
}

void AtomicFileWriter::Write(std::string_view text) {
    if (failed)
        throw FileWriteError();
    buffer.append(text);
    if (buffer.size() >= kFlushSize && !Flush())
        throw FileWriteError();
}

bool AtomicFileWriter::Flush() {
    std::size_t done = 0;
    while (!failed && done < buffer.size()) {
        const ssize_t n = ::write(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failed = true;
        else
            done += static_cast<std::size_t>(n);
    }
    buffer.clear();
    return !failed;
}

AtomicFileWriter::Result AtomicFileWriter::Commit() {
    if (fd < 0 || !Flush() || ::fsync(fd) != 0) {
        Discard();
        return Result::WriteFailed;
    }
    struct stat previous;
    if (::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode))
        ::fchmod(fd, previous.st_mode & 07777);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) {
        Discard();
        return Result::WriteFailed;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        Discard();
        return Result::ReplaceFailed;
    }
    ClearPendingTemporaryFile();
    temporary.clear();
    return Result::Written;
}

void AtomicFileWriter::Discard() {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
        ClearPendingTemporaryFile();
    }
    temporary.clear();
    buffer.clear();
}
