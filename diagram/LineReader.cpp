#include "diagram/LineReader.h"

#include <cstring>
#include <sys/stat.h>

namespace {
constexpr std::size_t kBlockSize = 1 << 20;
}

LineReader::LineReader(const std::string& path, std::size_t maxLineBytes)
    : maxLineBytes(maxLineBytes) {
    file = std::fopen(path.c_str(), "rb");
    if (!file)
        return;
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        file = nullptr;
        return;
    }
    fileSize = S_ISREG(info.st_mode) ? static_cast<long long>(info.st_size) : 0;
    block.resize(kBlockSize);
}

LineReader::~LineReader() {
    if (file)
        std::fclose(file);
}

bool LineReader::Refill() {
    if (atEof)
        return false;
    blockBegin = 0;
    blockEnd = std::fread(block.data(), 1, block.size(), file);
    if (blockEnd < block.size()) {
        atEof = true;
        readError = std::ferror(file) != 0;
    }
    return blockEnd > 0;
}

bool LineReader::Next(std::string_view& line) {
    if (!file || Failed())
        return false;
    carry.clear();
    bool spansBlocks = false;
    for (;;) {
        if (blockBegin == blockEnd && !Refill()) {
            if (readError || (!spansBlocks))
                return false;
            break; // last line without a final line feed
        }
        const char* begin = block.data() + blockBegin;
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
