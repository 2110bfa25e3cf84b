#include "analysis/AtomicFileWriter.h"

#include "diagram/Numbers.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

// A hidden name beside the target with a random part, e.g.
// ".run7_Spline_100.txt.3f9a0c.tmp".
std::filesystem::path TemporaryName(const std::filesystem::path& target, std::mt19937& random) {
    const std::string name = FormatC(".%s.%06x.tmp", target.filename().c_str(),
                                     static_cast<unsigned>(random() & 0xFFFFFF));
    return target.parent_path() / name;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open() {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(target, random);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return false;
}

void AtomicFileWriter::Write(std::string_view text) {
    if (failed)
        return;
    buffer.append(text);
    if (buffer.size() >= kFlushSize)
        Flush();
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
    temporary.clear();
    return Result::Written;
}

void AtomicFileWriter::Discard() {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    if (!temporary.empty())
        ::unlink(temporary.c_str());
    temporary.clear();
    buffer.clear();
}
