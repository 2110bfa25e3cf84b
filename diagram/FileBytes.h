// Positioned reads of an open file, and a fingerprint of its first bytes whose
// cost does not grow with the file: what lets a refresh check that the part of
// a file it read before is unchanged without reading that part again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Owns a read-only descriptor of a file; Get() is -1 when the open failed.
class FileDescriptor {
public:
    explicit FileDescriptor(const std::string& path);
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return descriptor; }

private:
    int descriptor = -1;
};

// Reads count bytes from offset into out; false on a read error or when the
// file ends before them.
bool ReadBytesAt(int descriptor, long long offset, std::size_t count, std::string& out);

// A hash of the length and of sampled blocks of the first length bytes: the
// first and the last 64 KiB and six 4 KiB blocks spread between them, so an
// edit near the start or the end, or a file rewritten with other data, gives
// another value. Nothing when those bytes cannot be read.
std::optional<std::uint64_t> FingerprintOf(int descriptor, long long length);
