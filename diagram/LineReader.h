// Reads a text file line by line as bytes: a line ends at a line feed and a
// carriage return just before it is dropped; a UTF-8 byte-order mark before
// the first line is skipped. Reads in large blocks, so a file of millions of
// lines costs one pass over its bytes.
#pragma once

#include "diagram/FileStamp.h"
#include "diagram/LoadLimits.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class LineReader {
public:
    // Opens path for reading; IsOpen() tells whether that worked (a directory
    // does not open). Only maxLineBytes and maxBytes of the limits apply.
    explicit LineReader(const std::string& path, const LoadLimits& limits = {});
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return file != nullptr; }
    // The next line, valid until the next call; false at the end of the file,
    // on a read error, at a line that is too long or past the byte limit
    // (Failed() tells which).
    bool Next(std::string_view& line);
    bool Failed() const { return readError || lineTooLong || tooLarge; }
    bool LineTooLong() const { return lineTooLong; }
    // The file holds more than the limits' maxBytes.
    bool TooLarge() const { return tooLarge; }
    long long LineNumber() const { return lineNumber; }
    // Size of the file when it was opened (0 for a pipe or device).
    long long FileSize() const { return stamp.regular ? stamp.size : 0; }
    // The file as it was when it was opened.
    const FileStamp& Stamp() const { return stamp; }
    // Bytes read from the file so far, and the part of them handed out as
    // lines (line feeds included).
    long long BytesRead() const { return bytesRead; }
    long long BytesConsumed() const {
        return bytesRead - static_cast<long long>(blockEnd - blockBegin);
    }
    // Goes on at offset, a line start past the lines handed out so far, as
    // if the lines lines in between had been read.
    bool SkipTo(long long offset, long long lines);
    // Whether what was read so far is one version of the file opened: see
    // ReadSawOneVersion. Meaningful once Next has returned false.
    bool SawOneVersion() const;

private:
    bool Refill();

    std::string path;
    std::FILE* file = nullptr;
    FileStamp stamp; // the file when it was opened
    // The read buffer, left uninitialised: only bytes fread wrote are read.
    std::unique_ptr<char[]> block;
    std::size_t blockBegin = 0;
    std::size_t blockEnd = 0;
    std::string carry; // a line that spans two blocks
    bool atEof = false;
    bool readError = false;
    bool lineTooLong = false;
    bool tooLarge = false;
    std::size_t maxLineBytes;
    long long maxBytes;
    long long lineNumber = 0;
    long long bytesRead = 0;
};
