// What tells one state of a file on disk from another without reading it:
// which file it is (device and inode) and, as far as the file system says,
// which content (size and modification time). A load compares the stamps
// before and after its read; a refresh can compare one with the last load's.
#pragma once

#include <optional>
#include <string>

struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0; // modification time in nanoseconds since 1970
    bool regular = false;     // a regular file; pipes and devices have no size
    bool operator==(const FileStamp&) const = default;
};

// The stamp of an open file or of the file a path names; nothing when it
// cannot be read.
std::optional<FileStamp> StampOf(int descriptor);
std::optional<FileStamp> StampOf(const std::string& path);

// Whether a read of bytesRead bytes from descriptor, opened as path when the
// file had the stamp `before`, saw one version of one file: the path still
// names that file, its size and modification time are unchanged, and the
// read took exactly that size. Always true for a file that is not regular.
bool ReadSawOneVersion(const FileStamp& before, long long bytesRead, int descriptor,
                       const std::string& path);
