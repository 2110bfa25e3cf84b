#include "diagram/FileStamp.h"

#include <sys/stat.h>

namespace {

FileStamp StampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.size = static_cast<long long>(info.st_size);
    stamp.modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL +
                       static_cast<long long>(info.st_mtim.tv_nsec);
    stamp.regular = S_ISREG(info.st_mode);
    return stamp;
}

} // namespace

std::optional<FileStamp> StampOf(int descriptor) {
    struct stat info {};
    if (fstat(descriptor, &info) != 0)
        return std::nullopt;
    return StampFrom(info);
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return StampFrom(info);
}

bool ReadSawOneVersion(const FileStamp& before, long long bytesRead, int descriptor,
                       const std::string& path) {
    if (!before.regular)
        return true;
    return bytesRead == before.size && StampOf(descriptor) == before && StampOf(path) == before;
}
