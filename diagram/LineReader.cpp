#include "diagram/LineReader.h"

#include "diagram/LoadProgress.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr std::size_t kBlockSize = 1 << 18;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

LineReader::LineReader(const std::string& path, const LoadLimits& limits)
    : file(path), maxLineBytes(limits.maxLineBytes), maxBytes(limits.maxBytes),
      progress(limits.progress) {
    if (file.Get() < 0) {
        systemError = file.OpenError();
        // A socket does not open at all; say what it is all the same.
        if (const std::string kind = NonRegularKind(path); kind != "a folder")
            notRegular = kind;
        return;
    }
    const std::optional<FileStamp> opened = StampOf(file.Get());
    if (!opened) {
        systemError = errno;
        file = FileDescriptor();
        return;
    }
    const std::string kind = NonRegularKind(file.Get());
    if (kind == "a folder") {
        // A folder opens for reading but holds no lines to read.
        systemError = EISDIR;
        file = FileDescriptor();
        return;
    }
    if (!opened->regular) {
        if (limits.onlyRegularFiles) {
            notRegular = kind;
            file = FileDescriptor();
            return;
        }
        // What may be a pipe or a device is read as it comes: opened again,
        // this time waiting for a writer.
        file = FileDescriptor(path, FileDescriptor::Wait::ForWriter);
        if (file.Get() < 0) {
            systemError = file.OpenError();
            return;
        }
    }
    stamp = *opened;
    if (stamp.regular)
        fingerprint = FingerprintOf(file.Get(), stamp.size);
    block.reset(new char[kBlockSize]);
}

bool LineReader::Grew() const {
    const std::optional<FileStamp> now = IsOpen() ? StampOf(file.Get()) : std::nullopt;
    return stamp.regular && now && now->size > stamp.size;
}

long long LineReader::ReadBlock() {
    std::size_t wanted = kBlockSize;
    if (stamp.regular)
        wanted = static_cast<std::size_t>(std::min<long long>(wanted, stamp.size - bytesRead));
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t got =
            stamp.regular ? pread(file.Get(), block.get() + done, wanted - done,
                                  static_cast<off_t>(bytesRead + static_cast<long long>(done)))
                          : read(file.Get(), block.get() + done, wanted - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            systemError = errno;
            return -1;
        }
        if (got == 0)
            break; // the end: for a regular file, it shrank
        done += static_cast<std::size_t>(got);
        if (!stamp.regular)
            break; // a pipe hands out what it has
    }
    return static_cast<long long>(done);
}

bool LineReader::Refill() {
    if (atEof)
        return false;
    const bool first = bytesRead == 0;
    blockBegin = 0;
    const long long got = ReadBlock();
    if (got <= 0) {
        blockEnd = 0;
        atEof = true;
        readError = got < 0;
        return false;
    }
    blockEnd = static_cast<std::size_t>(got);
    bytesRead += got;
    if (progress) {
        progress->AddBytes(got);
        progress->ThrowIfCancelled();
    }
    if (bytesRead > maxBytes) {
        tooLarge = true;
        return false;
    }
    if (first && std::string_view(block.get(), blockEnd).starts_with(kByteOrderMark))
        blockBegin = kByteOrderMark.size();
    return blockEnd > blockBegin;
}

bool LineReader::SkipTo(long long offset, long long lines) {
    if (!IsOpen() || !stamp.regular || Failed() || offset > stamp.size)
        return false;
    blockBegin = blockEnd = 0;
    atEof = false;
    bytesRead = offset;
    lineNumber += lines;
    return true;
}

bool LineReader::Changed() const {
    if (!IsOpen() || !stamp.regular)
        return false;
    return !fingerprint || !StillBeginsAsBefore(file.Get(), stamp, *fingerprint);
}

bool LineReader::SawOneVersion() const {
    if (!IsOpen() || !stamp.regular)
        return true;
    return bytesRead == stamp.size && !Changed();
}

bool LineReader::Next(std::string_view& line) {
    if (!IsOpen() || Failed())
        return false;
    lastUnterminated = false;
    carry.clear();
    bool spansBlocks = false;
    for (;;) {
        if (blockBegin == blockEnd && !Refill()) {
            if (Failed() || !spansBlocks)
                return false;
            lastUnterminated = true; // the last line, without a final line feed
            break;
        }
        const char* begin = block.get() + blockBegin;
        const std::size_t available = blockEnd - blockBegin;
        const void* found = std::memchr(begin, '\n', available);
        if (!found) {
            if (carry.size() + available > maxLineBytes) {
                lineTooLong = true;
                ++lineNumber;
                return false;
            }
            carry.append(begin, available);
            blockBegin = blockEnd;
            spansBlocks = true;
            continue;
        }
        const std::size_t length = static_cast<const char*>(found) - begin;
        if (carry.size() + length > maxLineBytes) {
            lineTooLong = true;
            ++lineNumber;
            return false;
        }
        blockBegin += length + 1;
        if (spansBlocks) {
            carry.append(begin, length);
            break;
        }
        line = std::string_view(begin, length);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        return true;
    }
    line = carry;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    ++lineNumber;
    return true;
}
