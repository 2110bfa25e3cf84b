// Shared helpers of the test suites: a recording diagram host, temporary
// directories, file I/O, golden-file comparison and running the batch tool.
#pragma once

#include "diagram/DiagramHost.h"

#include <filesystem>
#include <string>
#include <vector>

// Records every message and wait-cursor call instead of showing them.
class RecordingHost : public IDiagramHost {
public:
    Rect ClientRect() const override { return client; }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    void ShowInformation(const std::string& text) override { informations.push_back(text); }
    void BeginWaitCursor() override {
        ++waitDepth;
        ++waitCalls;
    }
    void EndWaitCursor() override { --waitDepth; }

    Rect client{0, 0, 840, 540};
    std::vector<std::string> warnings;
    std::vector<std::string> informations;
    int waitDepth = 0; // 0 again when every wait cursor was restored
    int waitCalls = 0;
};

// A fresh directory under the system's temporary directory, removed with the
// object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Writes content (bytes as they are) to name inside the directory.
    std::filesystem::path Write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path;
};

// Makes dir the current directory for the life of the object.
class CurrentDirScope {
public:
    explicit CurrentDirScope(const std::filesystem::path& dir);
    ~CurrentDirScope();

private:
    std::filesystem::path previous;
};

// A FIFO that nothing writes to and a bound Unix socket in a folder: paths
// that name no regular file. The socket closes with the object.
class NonRegularFiles {
public:
    explicit NonRegularFiles(const std::filesystem::path& folder);
    ~NonRegularFiles();
    NonRegularFiles(const NonRegularFiles&) = delete;
    NonRegularFiles& operator=(const NonRegularFiles&) = delete;

    std::string fifo;
    std::string socket;

private:
    int listening = -1;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

std::filesystem::path ExamplePath(const std::string& name);

// Compares actual with tests/golden/NAME; with KELVARO_UPDATE_GOLDEN=1 in the
// environment it rewrites the golden file instead. A difference fails the
// test and names the first differing line.
void ExpectMatchesGolden(const std::string& actual, const std::string& name);

// Returns an empty text when the two texts are equal, else a description of
// the first line where they differ.
std::string FirstDifference(const std::string& expected, const std::string& actual);

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs program with args in directory cwd (the current one when empty) and
// collects its exit code and output.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& cwd = {});

// How much longer than in the optimised build the same work takes in this
// one: waits for work bound themselves by it (ThreadSanitizer slows reads
// about thirty times, AddressSanitizer a few).
constexpr int SlowdownOfThisBuild() {
#if defined(__SANITIZE_THREAD__)
    return 30;
#elif defined(__SANITIZE_ADDRESS__)
    return 5;
#else
    return 1;
#endif
}
