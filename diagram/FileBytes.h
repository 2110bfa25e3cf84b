// Positioned reads of an open file, and a fingerprint of its first bytes whose
// cost does not grow with the file: what lets a read check that the part of a
// file it read is unchanged without reading that part again.
#pragma once

#include "diagram/FileStamp.h"

#include <cstdint>
#include <optional>
#include <string>

// Owns a read-only descriptor of a file; Get() is -1 when the open failed.
class FileDescriptor {
public:
    // How the open treats a FIFO without a writer: by default it does not wait
    // for one (a window must never block on a file); a batch tool may wait.
    enum class Wait { Never, ForWriter };
    FileDescriptor() = default; // none open
    explicit FileDescriptor(const std::string& path, Wait wait = Wait::Never);
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    int Get() const { return descriptor; }
    // The system's error number of a failed open (errno then); 0 when the
    // file is open or none was asked for.
    int OpenError() const { return openError; }

private:
    int descriptor = -1;
    int openError = 0;
};

// The system's text for an error number, as strerror gives it ("No such
// file or directory"); empty for 0. Safe on any thread.
std::string SystemErrorText(int error);

// Reads count bytes from offset into out; false on a read error or when the
// file ends before them.
bool ReadBytesAt(int descriptor, long long offset, std::size_t count, std::string& out);

// A hash of the length and of sampled blocks of the first length bytes: the
// first and the last 64 KiB and six 4 KiB blocks spread between them, so an
// edit near the start or the end, or a file rewritten with other data, gives
// another value. Nothing when those bytes cannot be read.
std::optional<std::uint64_t> FingerprintOf(int descriptor, long long length);

// Whether the file open as descriptor still begins with the bytes it held
// when it had the stamp `before` and its first before.size bytes gave
// `fingerprint`: it has not shrunk below them and, if it changed at all, they
// give the same fingerprint. A file that only grew passes; one truncated or
// rewritten in place does not.
bool StillBeginsAsBefore(int descriptor, const FileStamp& before, std::uint64_t fingerprint);
