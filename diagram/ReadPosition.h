// How far the last load read its file: what a refresh needs to tell that the
// file only grew since, and to parse just the bytes after that point.
#pragma once

#include "diagram/FileStamp.h"

#include <cstdint>

struct ReadPosition {
    FileStamp stamp;               // the file as the load read it
    bool appendable = false;       // end, lines and fingerprint below are meaningful
    long long end = 0;             // offset just past the last complete line parsed
    long long lines = 0;           // the lines up to end, for the line numbers of messages
    std::uint64_t fingerprint = 0; // FingerprintOf the bytes before end
};
