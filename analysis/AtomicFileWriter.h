// Replaces a file in one step. The text goes to a temporary file in the same
// directory, which takes the file's name only when all of it has been written
// and flushed to disk; until then, and after any failure, a file of that name
// stays exactly as it was.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class AtomicFileWriter {
public:
    enum class Result {
        Written,       // the file holds the whole text
        WriteFailed,   // the text could not be written (a full disk, an I/O error)
        ReplaceFailed, // the file could not take the name (a directory stands there)
    };

    explicit AtomicFileWriter(std::filesystem::path target);
    // Removes the temporary file unless Commit put it in place.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false when the directory does not allow it.
    bool Open();
    // Appends text. Writes are buffered; a failure is kept for Commit.
    void Write(std::string_view text);
    // Writes what is buffered, flushes it to disk and renames the temporary
    // file to the target. A file that stood there before keeps its permissions.
    Result Commit();

private:
    bool Flush();
    void Discard();

    std::filesystem::path target;
    std::filesystem::path temporary;
    std::string buffer;
    int fd = -1;
    bool failed = false;
};
