// What the interpolation and the correlation file share: creating the file in
// the current directory, writing it under the wait cursor, putting it in place
// and telling the user when that fails or when the file would be too large.
#pragma once

#include "analysis/AtomicFileWriter.h"

#include <cstdint>
#include <functional>
#include <string>

class CDiagram;

// No derived file is written beyond this size (1 GiB).
inline constexpr std::uint64_t kMaxDerivedFileBytes = std::uint64_t{1} << 30;

struct DerivedFile {
    std::string fileName;
    const char* kind; // "interpolation" or "correlation", for the messages
    // Prepares the content and returns an upper bound of its size in bytes.
    std::function<std::uint64_t()> measure;
    std::function<void(AtomicFileWriter&)> write;
};

// Under the wait cursor: measures the file and refuses it, creating nothing,
// when it would exceed kMaxDerivedFileBytes; otherwise creates fileName in the
// current directory and writes it. The file replaces one of that name only
// when all of it was written, and the first failed write ends the operation.
// Returns false after a warning when the file is refused or cannot be
// created or written; an exception from measure or write leaves no file
// behind and passes on.
bool WriteDerivedFile(CDiagram& diagram, const DerivedFile& file);

// The warning for a file that is not written because a figure of its table is
// beyond a limit, e.g. "Curves = 5000: the correlation file can have at most
// 2000 curves.\n\nNo correlation file was written."
std::string RefusalMessage(const char* kind, const std::string& figure, long long value,
                           long long limit, const char* unit);

// The bytes "%.3f" writes for any value of magnitude at most bound (sign,
// digits, point and three decimals; "inf" and "nan" are shorter).
std::uint64_t FixedThreeWidth(double bound);

// The current directory as the completion messages show it.
std::string CurrentDirectoryText();
