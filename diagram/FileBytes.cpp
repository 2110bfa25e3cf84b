#include "diagram/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr long long kEdgeBlock = 64 * 1024;
constexpr long long kInnerBlock = 4 * 1024;
constexpr int kInnerBlocks = 6;

// FNV-1a, 64 bits.
void Mix(std::uint64_t& hash, const std::string& bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
}

} // namespace

// O_NONBLOCK makes the open of a FIFO return at once; reads of a regular file
// are not affected by it.
FileDescriptor::FileDescriptor(const std::string& path, Wait wait)
    : descriptor(open(path.c_str(), O_RDONLY | O_CLOEXEC | (wait == Wait::Never ? O_NONBLOCK : 0))),
      openError(descriptor < 0 ? errno : 0) {}

FileDescriptor::~FileDescriptor() {
    if (descriptor >= 0)
        close(descriptor);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor(std::exchange(other.descriptor, -1)),
      openError(std::exchange(other.openError, 0)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor >= 0)
            close(descriptor);
        descriptor = std::exchange(other.descriptor, -1);
        openError = std::exchange(other.openError, 0);
    }
    return *this;
}

std::string SystemErrorText(int error) {
    if (error == 0)
        return std::string();
    // The GNU strerror_r: it returns the text, in buf or in a static string
    // of its own, instead of strerror's buffer shared by all threads.
    char buf[256];
    return strerror_r(error, buf, sizeof buf);
}

bool ReadBytesAt(int descriptor, long long offset, std::size_t count, std::string& out) {
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(descriptor, out.data() + done, count - done,
                                  static_cast<off_t>(offset + static_cast<long long>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

std::optional<std::uint64_t> FingerprintOf(int descriptor, long long length) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    Mix(hash, std::to_string(length));
    std::string bytes;
    const auto sample = [&](long long offset, long long size) {
        size = std::min(size, length - offset);
        if (size <= 0)
            return true;
        if (!ReadBytesAt(descriptor, offset, static_cast<std::size_t>(size), bytes))
            return false;
        Mix(hash, bytes);
        return true;
    };
    if (!sample(0, kEdgeBlock) || !sample(std::max(0LL, length - kEdgeBlock), kEdgeBlock))
        return std::nullopt;
    for (int i = 1; i <= kInnerBlocks; ++i)
        if (!sample(length / (kInnerBlocks + 1) * i, kInnerBlock))
            return std::nullopt;
    return hash;
}

bool StillBeginsAsBefore(int descriptor, const FileStamp& before, std::uint64_t fingerprint) {
    const std::optional<FileStamp> now = StampOf(descriptor);
    if (!now || now->size < before.size)
        return false;
    return *now == before || FingerprintOf(descriptor, before.size) == fingerprint;
}
