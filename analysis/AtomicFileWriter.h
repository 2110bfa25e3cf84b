// Replaces a file in one step. The text goes to a temporary file in the same
// directory, which takes the file's name only when all of it has been written
// and flushed to disk; until then, and after any failure, a file of that name
// stays exactly as it was.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// Raised by AtomicFileWriter::Write at the first write that fails (a full
// disk, an I/O error), so that nothing goes on computing text nobody keeps.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError() : std::runtime_error("the file could not be written") {}
};

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

    // Removes what earlier writes of the same file left behind when they were
    // killed, then creates the temporary file; false when the directory does
    // not allow it. While the writer is open its temporary file is the
    // pending one (PendingTemporaryFile.h) that a signal handler removes.
    bool Open();
    // Appends text. Writes are buffered; the first one that fails raises
    // FileWriteError.
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

// The temporary name that a writer of target uses, e.g.
// ".run7_Spline_100.txt.4711.3f9a0c.tmp" for process 4711: the owner's
// process id and a random part, the target's name cut so that the whole name
// stays within the 255 bytes a file name may have.
std::string TemporaryFileName(const std::string& targetName, long processId, unsigned random);

// Removes from directory the temporary files of targetName whose owner
// process no longer runs, or that are older than a day (the only test for the
// earlier names that carry no process id); returns their count.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory,
                                 const std::string& targetName);
