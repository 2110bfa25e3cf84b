// render -o -: the picture on the standard output, byte for byte the file
// that -o FILE writes; a reader that goes away fails the tool with one
// message instead of killing it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

// QT_HASH_SEED=0 fixes the order in which a PDF lists its fonts.
ProcessResult Cli(const std::vector<std::string>& args, const fs::path& cwd = {}) {
    std::vector<std::string> all = {"-c", "QT_HASH_SEED=0 exec \"$0\" \"$@\"", KELVARO_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess("/bin/sh", all, cwd);
}

// A PDF records when it was made: the one part of two renders that differs.
std::string WithoutCreationDate(std::string pdf) {
    const std::size_t at = pdf.find("/CreationDate (");
    if (at != std::string::npos)
        pdf.erase(at, pdf.find(')', at) - at);
    return pdf;
}

// Runs the tool with stdout a pipe whose read end is closed, as a reader
// that went away leaves it, and SIGPIPE at its default action. The exit
// code (-1 when a signal ended it) and stderr.
std::pair<int, std::string> RunIntoClosedPipe(const std::vector<std::string>& args) {
    int ends[2];
    if (pipe(ends) != 0)
        return {};
    close(ends[0]);
    char errName[] = "/tmp/kelvaro-err-XXXXXX";
    const int errFd = mkstemp(errName);
    unlink(errName);
    if (fork() == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        dup2(ends[1], 1);
        dup2(errFd, 2);
        std::vector<char*> argv = {const_cast<char*>(KELVARO_CLI_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KELVARO_CLI_PATH, argv.data());
        _exit(127);
    }
    close(ends[1]);
    int status = 0;
    wait(&status);
    std::string err(4096, '\0');
    err.resize(std::max<ssize_t>(0, pread(errFd, err.data(), err.size(), 0)));
    close(errFd);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}

} // namespace

// Each format, with and without options: stdout holds exactly the bytes of
// the file (a PDF's date aside), and stderr stays empty.
TEST(CliRenderToStandardOutput, GivesTheBytesOfThePictureFile) {
    TempDir dir;
    for (const char* name : {"pump_test.txt", "word_labels.txt"}) {
        for (const std::string format : {"png", "svg", "pdf"}) {
            for (const std::vector<std::string>& options :
                 {std::vector<std::string>{}, {"--size", "640x400", "--spectrum", "--marks"}}) {
                SCOPED_TRACE(std::string(name) + " " + format + " " +
                             ::testing::PrintToString(options));
                const std::string input = ExamplePath(name).string();
                const fs::path file = dir.Path() / ("picture." + format);
                std::vector<std::string> toFile = {"render", input, "-o", file.string()};
                // png is the format of -o - when none is given.
                std::vector<std::string> toOutput = {"render", input, "-o", "-"};
                if (format != "png")
                    toOutput.insert(toOutput.end(), {"--format", format});
                toFile.insert(toFile.end(), options.begin(), options.end());
                toOutput.insert(toOutput.end(), options.begin(), options.end());
                ASSERT_EQ(Cli(toFile).exitCode, 0);
                const ProcessResult r = Cli(toOutput);
                EXPECT_EQ(r.exitCode, 0) << r.err;
                EXPECT_EQ(r.err, "");
                const std::string expected = ReadFile(file);
                ASSERT_FALSE(expected.empty());
                EXPECT_TRUE(WithoutCreationDate(r.out) == WithoutCreationDate(expected));
            }
        }
    }
}

// logger | kelvaro-cli render - -o - | viewer
TEST(CliRenderToStandardOutput, ReadsStandardInputToo) {
    TempDir dir;
    const fs::path input = ExamplePath("sinusoid.txt");
    const fs::path file = dir.Path() / "stdin.svg";
    ASSERT_EQ(Cli({"render", input.string(), "-o", file.string()}).exitCode, 0);
    const ProcessResult r =
        RunProcess("/bin/sh", {"-c", "cat \"$0\" | \"$1\" render - -o - --format SVG",
                               input.string(), KELVARO_CLI_PATH});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out == ReadFile(file));
}

// With -o FILE the extension picks the format: a --format that repeats it is
// accepted, any other is a usage error. A trace cannot share stdout with the
// picture.
TEST(CliRenderToStandardOutput, FormatAndTraceUsageErrors) {
    TempDir dir;
    const std::string pump = ExamplePath("pump_test.txt").string();
    const ProcessResult same =
        Cli({"render", pump, "-o", "same.SVG", "--format", "svg"}, dir.Path());
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(ReadFile(dir.Path() / "same.SVG").rfind("<?xml", 0), 0u);

    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-o", "other.png", "--format", "svg"}, "--format: svg is not the format of other.png"},
        {{"-o", "other.pdf", "--format", "png"}, "--format: png is not the format of other.pdf"},
        {{"-o", "-", "--trace"}, "--trace: "},
        {{"-o", "-", "--format", "svg", "--trace"}, "--trace: "},
        {{"-o", "-", "--format", "gif"}, "--format: "},
    };
    for (const auto& [args, errStart] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        std::vector<std::string> all = {"render", pump};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult r = Cli(all, dir.Path());
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(errStart, 0), 0u) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "other.png"));
    EXPECT_FALSE(fs::exists(dir.Path() / "other.pdf"));
}

// A reader that went away: exit code 1 and one message, for the picture,
// the trace and the JSON alike; never death by SIGPIPE.
TEST(CliRenderToStandardOutput, ClosedPipeFailsWithOneMessage) {
    TempDir dir;
    const std::string pump = ExamplePath("pump_test.txt").string();
    const std::string picture = "error: the picture could not be written to the standard output: " +
                                std::string(std::strerror(EPIPE)) + "\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"render", pump, "-o", "-"}, picture},
        {{"render", pump, "-o", "-", "--format", "pdf"}, picture},
        {{"render", pump, "-o", (dir.Path() / "traced.png").string(), "--trace"},
         "error: the trace could not be written to the standard output\n"},
        {{"dump", pump}, "error: the JSON could not be written to the standard output\n"},
    };
    for (const auto& [args, err] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(RunIntoClosedPipe(args), std::make_pair(1, err));
    }
}
