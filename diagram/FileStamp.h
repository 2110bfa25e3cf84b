// What tells one state of a file on disk from another without reading it:
// which file it is (device and inode) and, as far as the file system says,
// which content (size and modification time). A refresh compares the file's
// stamp with the one of its last read.
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

// What an open file or the file a path names is when it is not a regular
// file, as a message says it: "a folder", "a FIFO", "a socket", "a character
// device", "a block device" or "not a file of a known kind"; empty for a
// regular file and for one that cannot be looked at.
std::string NonRegularKind(int descriptor);
std::string NonRegularKind(const std::string& path);
