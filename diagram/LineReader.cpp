#include "diagram/LineReader.h"

#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t kBlockSize = 1 << 18;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDirectory(int descriptor) {
    struct stat info {};
    return fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

LineReader::LineReader(const std::string& path, const LoadLimits& limits)
    : path(path), maxLineBytes(limits.maxLineBytes), maxBytes(limits.maxBytes) {
    file = std::fopen(path.c_str(), "rb");
    if (!file)
        return;
    const std::optional<FileStamp> opened = StampOf(fileno(file));
    if (!opened || IsDirectory(fileno(file))) {
        std::fclose(file);
        file = nullptr;
        return;
    }
    stamp = *opened;
    block.reset(new char[kBlockSize]);
}

LineReader::~LineReader() {
    if (file)
        std::fclose(file);
}

bool LineReader::Refill() {
    if (atEof)
        return false;
    const bool first = bytesRead == 0;
    blockBegin = 0;
    blockEnd = std::fread(block.get(), 1, kBlockSize, file);
    bytesRead += static_cast<long long>(blockEnd);
    if (blockEnd < kBlockSize) {
        atEof = true;
        readError = std::ferror(file) != 0;
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
    if (!file || Failed() || fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    blockBegin = blockEnd = 0;
    atEof = false;
    bytesRead = offset;
    lineNumber += lines;
    return true;
}

bool LineReader::SawOneVersion() const {
    return !file || ReadSawOneVersion(stamp, bytesRead, fileno(file), path);
}

bool LineReader::Next(std::string_view& line) {
    if (!file || Failed())
        return false;
    carry.clear();
    bool spansBlocks = false;
    for (;;) {
        if (blockBegin == blockEnd && !Refill()) {
            if (Failed() || !spansBlocks)
                return false;
            break; // last line without a final line feed
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
