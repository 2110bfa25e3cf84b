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

std::string KindOf(const struct stat& info) {
    const mode_t type = info.st_mode & S_IFMT;
    switch (type) {
    case S_IFREG:
        return {};
    case S_IFDIR:
        return "a folder";
    case S_IFIFO:
        return "a FIFO";
    case S_IFSOCK:
        return "a socket";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    default:
        return "not a file of a known kind";
    }
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

std::string NonRegularKind(int descriptor) {
    struct stat info {};
    return fstat(descriptor, &info) == 0 ? KindOf(info) : std::string();
}

std::string NonRegularKind(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? KindOf(info) : std::string();
}
