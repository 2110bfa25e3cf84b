// render -o -: the picture on the standard output, byte for byte the file
// that -o FILE writes, with nothing else on stdout; a reader that goes away
// fails the tool with one message instead of killing it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

// QT_HASH_SEED=0 fixes the order in which a PDF lists its fonts, which
// otherwise changes from run to run.
ProcessResult Cli(const std::vector<std::string>& args, const fs::path& cwd = {}) {
    std::vector<std::string> all = {"-c", "QT_HASH_SEED=0 exec \"$0\" \"$@\"", KELVARO_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess("/bin/sh", all, cwd);
}

// A PDF records when it was made; that date is the one part of two renders
// that may differ.
std::string WithoutCreationDate(std::string pdf) {
    const std::string key = "/CreationDate (";
    const std::size_t at = pdf.find(key);
    if (at == std::string::npos)
        return pdf;
    const std::size_t end = pdf.find(')', at);
    if (end != std::string::npos)
        pdf.replace(at + key.size(), end - at - key.size(), "DATE");
    return pdf;
}

struct Outcome {
    bool signalled = false;
    int exitCode = -1;
    std::string err;
};

// Runs the tool with its stdout the write end of a pipe whose read end is
// already closed, as a reader that has gone away leaves it, and with SIGPIPE
// at its default action, which would end it.
Outcome RunIntoClosedPipe(const std::vector<std::string>& args) {
    int ends[2];
    if (pipe(ends) != 0)
        return {};
    close(ends[0]);
    char errName[] = "/tmp/kelvaro-err-XXXXXX";
    const int errFd = mkstemp(errName);
    unlink(errName);
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        dup2(ends[1], 1);
        dup2(errFd, 2);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        std::vector<char*> argv = {const_cast<char*>(KELVARO_CLI_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KELVARO_CLI_PATH, argv.data());
        _exit(127);
    }
    close(ends[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome outcome;
    outcome.signalled = WIFSIGNALED(status);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::string err(1 << 16, '\0');
    const ssize_t got = pread(errFd, err.data(), err.size(), 0);
    err.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    outcome.err = err;
    close(errFd);
    return outcome;
}

} // namespace

// Each format, with and without options, for files of numbers, dates and
// labels: stdout holds exactly the bytes of the file (a PDF's date aside),
// and stderr stays empty.
TEST(CliRenderToStandardOutput, GivesTheBytesOfThePictureFile) {
    TempDir dir;
    const std::vector<std::vector<std::string>> optionSets = {
        {}, {"--size", "640x400", "--spectrum", "--marks"}};
    for (const char* name : {"pump_test.txt", "logger_datetime.txt", "word_labels.txt"}) {
        const std::string input = ExamplePath(name).string();
        for (const std::string format : {"png", "svg", "pdf"}) {
            for (const auto& options : optionSets) {
                SCOPED_TRACE(std::string(name) + " " + format + " " +
                             ::testing::PrintToString(options));
                const fs::path file = dir.Path() / ("picture." + format);
                std::vector<std::string> toFile = {"render", input, "-o", file.string()};
                toFile.insert(toFile.end(), options.begin(), options.end());
                const ProcessResult written = Cli(toFile);
                ASSERT_EQ(written.exitCode, 0) << written.err;

                std::vector<std::string> toOutput = {"render", input, "-o", "-"};
                if (format != "png") // png is the format of -o - by default
                    toOutput.insert(toOutput.end(), {"--format", format});
                toOutput.insert(toOutput.end(), options.begin(), options.end());
                const ProcessResult r = Cli(toOutput);
                EXPECT_EQ(r.exitCode, 0) << r.err;
                EXPECT_EQ(r.err, "");
                const std::string expected = ReadFile(file);
                ASSERT_FALSE(expected.empty());
                if (format == "pdf")
                    EXPECT_TRUE(WithoutCreationDate(r.out) == WithoutCreationDate(expected));
                else
                    EXPECT_TRUE(r.out == expected)
                        << r.out.size() << " bytes, not " << expected.size();
            }
        }
    }
}

// logger | kelvaro-cli render - -o - | viewer: standard input in, the
// picture out.
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

// With -o FILE the extension picks the format; a --format that repeats it
// is accepted, one that contradicts it is a usage error that writes nothing.
TEST(CliRenderToStandardOutput, FormatMustAgreeWithTheFileExtension) {
    TempDir dir;
    const std::string pump = ExamplePath("pump_test.txt").string();
    ProcessResult r = Cli({"render", pump, "-o", "same.SVG", "--format", "svg"}, dir.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.Path() / "same.SVG").rfind("<?xml", 0), 0u);

    for (const auto& [output, format] : std::vector<std::pair<std::string, std::string>>{
             {"other.png", "svg"}, {"other.pdf", "png"}, {"other.svg", "pdf"}}) {
        SCOPED_TRACE(output + " " + format);
        r = Cli({"render", pump, "-o", output, "--format", format}, dir.Path());
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("--format: " + format + " is not the format of " + output),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(dir.Path() / output));
    }
}

// Nothing but the picture may go to stdout: a trace there is refused, as is
// a format the tool cannot write.
TEST(CliRenderToStandardOutput, TraceAndUnknownFormatsAreUsageErrors) {
    const std::string pump = ExamplePath("pump_test.txt").string();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"render", pump, "-o", "-", "--trace"},
             {"render", pump, "-o", "-", "--format", "svg", "--trace"},
             {"render", pump, "-o", "-", "--format", "gif"},
             {"render", pump, "-o", "picture.gif"},
             {"render", pump, ExamplePath("sinusoid.txt").string(), "-o", "-"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const ProcessResult traced = Cli({"render", pump, "-o", "-", "--trace"});
    EXPECT_EQ(traced.err.rfind("--trace: ", 0), 0u) << traced.err;
}

// A reader that has gone away: exit code 1 and one message naming the
// broken pipe, for the picture, the trace and the JSON alike; never death
// by SIGPIPE.
TEST(CliRenderToStandardOutput, ClosedPipeFailsWithOneMessage) {
    TempDir dir;
    const std::string pump = ExamplePath("pump_test.txt").string();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"render", pump, "-o", "-"},
         "error: the picture could not be written to the standard output: " +
             std::string(std::strerror(EPIPE)) + "\n"},
        {{"render", pump, "-o", "-", "--format", "pdf"},
         "error: the picture could not be written to the standard output: " +
             std::string(std::strerror(EPIPE)) + "\n"},
        {{"render", pump, "-o", (dir.Path() / "traced.png").string(), "--trace"},
         "error: the trace could not be written to the standard output\n"},
        {{"dump", pump}, "error: the JSON could not be written to the standard output\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Outcome outcome = RunIntoClosedPipe(c.args);
        EXPECT_FALSE(outcome.signalled);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err, c.err);
    }
}
