// Reads a text file line by line as bytes: a line ends at a line feed and a
// carriage return just before it is dropped; a UTF-8 byte-order mark before
// the first line is skipped. Reads in large blocks, so a file of millions of
// lines costs one pass over its bytes.
//
// A regular file is read as it was when it was opened: through the one
// descriptor opened then, up to the size it had then. What a writer appends
// meanwhile is left for a later read, and a file replaced by a rename is read
// whole as the file that was opened.
#pragma once

#include "diagram/FileBytes.h"
#include "diagram/FileStamp.h"
#include "diagram/LoadLimits.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class LineReader {
public:
    // Opens path for reading without ever waiting on it; IsOpen() tells
    // whether that worked. A folder does not open, nor does any other file
    // that is not regular while the limits take regular files only
    // (NotRegularKind() then says what it is). Only maxLineBytes, maxBytes
    // onlyRegularFiles and progress of the limits apply; with progress set,
    // Next raises LoadCancelled once the load is cancelled.
    explicit LineReader(const std::string& path, const LoadLimits& limits = {});
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return file.Get() >= 0; }
    // What the path names when it was not opened for not being a regular
    // file ("a FIFO", ...); empty otherwise.
    const std::string& NotRegularKind() const { return notRegular; }
    // The open file, for reads of other parts of it by position.
    int Descriptor() const { return file.Get(); }
    // The system's error number of the failed open or read (a folder gives
    // EISDIR), and its text; 0 and empty when nothing failed or the refusal
    // was the reader's own (a file not regular, too long, a line too long).
    int SystemError() const { return systemError; }
    std::string SystemReason() const { return SystemErrorText(systemError); }

    // The next line, valid until the next call; false at the end of the file,
    // on a read error, at a line that is too long or past the byte limit
    // (Failed() tells which).
    bool Next(std::string_view& line);
    // Whether the line handed out last ended the file without a line feed.
    bool LastLineUnterminated() const { return lastUnterminated; }
    bool Failed() const { return readError || lineTooLong || tooLarge; }
    bool LineTooLong() const { return lineTooLong; }
    // The file holds more than the limits' maxBytes.
    bool TooLarge() const { return tooLarge; }
    long long LineNumber() const { return lineNumber; }
    // The file as it was when it was opened; its size is what is read.
    const FileStamp& Stamp() const { return stamp; }
    // Whether a regular file is longer now than when it was opened.
    bool Grew() const;
    // Bytes read from the file so far, and the part of them handed out as
    // lines (line feeds included).
    long long BytesRead() const { return bytesRead; }
    long long BytesConsumed() const {
        return bytesRead - static_cast<long long>(blockEnd - blockBegin);
    }
    // Goes on at offset, a line start past the lines handed out so far, as
    // if the lines lines in between had been read. Regular files only.
    bool SkipTo(long long offset, long long lines);
    // Whether a regular file no longer begins with the bytes it held when it
    // was opened: it shrank below its size then or was rewritten in place
    // (growing is no change).
    bool Changed() const;
    // Whether the bytes read are still the file's: all of the size it had
    // when it was opened was read, and it has not changed since. Always true
    // for a file that is not regular. Meaningful once Next has returned false.
    bool SawOneVersion() const;

private:
    bool Refill();
    // Reads the next block into the buffer; the count of bytes, 0 at the end
    // of what is to be read, -1 on a read error.
    long long ReadBlock();

    FileDescriptor file;
    std::string notRegular;
    int systemError = 0;
    FileStamp stamp; // the file when it was opened
    // The first stamp.size bytes when the file was opened.
    std::optional<std::uint64_t> fingerprint;
    // The read buffer, left uninitialised: only bytes a read wrote are read.
    std::unique_ptr<char[]> block;
    std::size_t blockBegin = 0;
    std::size_t blockEnd = 0;
    std::string carry; // a line that spans two blocks
    bool atEof = false;
    bool readError = false;
    bool lineTooLong = false;
    bool tooLarge = false;
    bool lastUnterminated = false;
    std::size_t maxLineBytes;
    long long maxBytes;
    LoadProgress* progress;
    long long lineNumber = 0;
    long long bytesRead = 0;
};
