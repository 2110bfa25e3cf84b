// Reads a text file line by line as bytes: a line ends at a line feed and a
// carriage return just before it is dropped. Reads in large blocks, so a file
// of millions of lines costs one pass over its bytes.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class LineReader {
public:
    // A line longer than this is refused rather than held in memory whole (a
    // large binary file may have no line feed at all).
    static constexpr std::size_t kMaxLineBytes = std::size_t{512} << 20;

    // Opens path for reading; IsOpen() tells whether that worked (a directory
    // does not open).
    explicit LineReader(const std::string& path, std::size_t maxLineBytes = kMaxLineBytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return file != nullptr; }
    // The next line, valid until the next call; false at the end of the file,
    // on a read error or at a line that is too long (Failed() tells which).
    bool Next(std::string_view& line);
    bool Failed() const { return readError || lineTooLong; }
    bool LineTooLong() const { return lineTooLong; }
    long long LineNumber() const { return lineNumber; }
    // Size of the file when it was opened (0 for a pipe or device).
    long long FileSize() const { return fileSize; }

private:
    bool Refill();

    std::FILE* file = nullptr;
    std::vector<char> block;
    std::size_t blockBegin = 0;
    std::size_t blockEnd = 0;
    std::string carry; // a line that spans two blocks
    bool atEof = false;
    bool readError = false;
    bool lineTooLong = false;
    std::size_t maxLineBytes;
    long long lineNumber = 0;
    long long fileSize = 0;
};
