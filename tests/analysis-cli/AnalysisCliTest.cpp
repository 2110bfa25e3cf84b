#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const char kWorkedExample[] = "Intervals=6\nTest\nt;a\n0;0\n1;10\n2;20\n3;15\n";

ProcessResult RunCli(const std::vector<std::string>& args, const TempDir& dir) {
    return RunProcess(KELVARO_CLI_PATH, args, dir.Path());
}

} // namespace

TEST(AnalysisCli, InterpolateWritesTheFileAndReportsIt) {
    TempDir dir;
    dir.Write("run.txt", kWorkedExample);
    const ProcessResult result = RunCli({"interpolate", "run.txt"}, dir);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "info: Interpolation file was written to\n\n" + dir.Path().string() +
                              "\\run_Spline_6.txt\n\nIntervals = 6\n");
    ExpectMatchesGolden(ReadFile(dir.Path() / "run_Spline_6.txt"),
                        "analysis/interpolation_worked_example.txt");
}

TEST(AnalysisCli, CorrelateWritesTheFileAndReportsIt) {
    TempDir dir;
    dir.Write("run.txt", "T\nx;P;Q;R\n0;1;3;9\n1;2;5;7.5\n2;4;9;6\n3;3;7;6.5\n4;6;13;2\n");
    const ProcessResult result = RunCli({"correlate", "run.txt"}, dir);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "info: Correlation file was written to\n\n\"" + dir.Path().string() +
                              "\\run_Correlation.txt\"\n\nCurves = 3\n");
    ExpectMatchesGolden(ReadFile(dir.Path() / "run_Correlation.txt"),
                        "analysis/correlation_three_curves.txt");
}

// The file goes into the current directory, not beside the data file; the
// load options apply (--x-range keeps the rows from 1 to 3, as a zoom window).
TEST(AnalysisCli, LoadOptionsApplyAndTheFileLandsInTheCurrentDirectory) {
    TempDir data, work;
    const auto input = data.Write("run.txt", kWorkedExample);
    const ProcessResult result =
        RunCli({"interpolate", input.string(), "--x-range", "1", "3"}, work);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(std::filesystem::exists(data.Path() / "run_Spline_6.txt"));
    const std::string file = ReadFile(work.Path() / "run_Spline_6.txt");
    EXPECT_TRUE(file.ends_with("t, a\n\n1.000, 10.000\n1.333, 13.333\n1.667, 16.667\n"
                               "2.000, 20.000\n2.333, 18.333\n2.667, 16.667\n"))
        << file;
}

// A file that cannot be created is a failure of the command, not only a
// message.
TEST(AnalysisCli, FileThatCannotBeCreatedFailsTheCommand) {
    for (const char* command : {"interpolate", "correlate"}) {
        SCOPED_TRACE(command);
        TempDir dir;
        dir.Write("run.txt", kWorkedExample);
        const std::string output =
            std::string(command) == "interpolate" ? "run_Spline_6.txt" : "run_Correlation.txt";
        std::filesystem::create_directory(dir.Path() / output);
        const ProcessResult result = RunCli({command, "run.txt"}, dir);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "warning: Can not create a file \"" + output + "\".\n");
    }
}

TEST(AnalysisCli, RefusalOrFailedLoadFailsTheCommand) {
    TempDir dir;
    dir.Write("negative.txt", "Intervals=-1\nTest\nt;a\n0;0\n");
    const ProcessResult negative = RunCli({"interpolate", "negative.txt"}, dir);
    EXPECT_EQ(negative.exitCode, 1);
    EXPECT_TRUE(negative.err.starts_with("warning: Intervals = -1:")) << negative.err;

    const ProcessResult missing = RunCli({"correlate", "missing.txt"}, dir);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.starts_with("warning: Can not open a file")) << missing.err;

    EXPECT_EQ(RunCli({"correlate"}, dir).exitCode, 2) << "FILE is required";
}

// A warning while loading (an unknown command line) does not fail the command.
TEST(AnalysisCli, LoadWarningsDoNotFailTheCommand) {
    TempDir dir;
    dir.Write("run.txt", std::string("Colour=red\n") + kWorkedExample);
    const ProcessResult result = RunCli({"correlate", "run.txt"}, dir);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.starts_with("warning: Not known command:")) << result.err;
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "run_Correlation.txt"));
}

namespace {

bool HasTemporaryFile(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().filename().string().ends_with(".tmp"))
            return true;
    return false;
}

// Starts kelvaro-cli with args in dir, its output thrown away; returns its id.
pid_t StartCli(const std::vector<std::string>& args, const TempDir& dir) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.Path().c_str()) != 0)
            _exit(127);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        std::vector<char*> argv{const_cast<char*>(KELVARO_CLI_PATH)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(KELVARO_CLI_PATH, argv.data());
        _exit(127);
    }
    return pid;
}

} // namespace

// Ctrl+C or kill during a long write ends the tool as the signal does, and
// its temporary file goes with it.
TEST(AnalysisCli, SignalDuringAWriteLeavesNoTemporaryFile) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        dir.Write("run.txt", "Intervals=10000000\nT\nt;a\n0;0\n1;10\n");
        const pid_t pid = StartCli({"interpolate", "run.txt"}, dir);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!HasTemporaryFile(dir.Path()) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(HasTemporaryFile(dir.Path())) << "the write never started";
        kill(pid, signal);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the write ended before the signal came";
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(HasTemporaryFile(dir.Path()));
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "run_Spline_10000000.txt"));
    }
}

// A write cut short by a file-size limit (as on a full disk) is a message and
// exit code 1, not a process killed by SIGXFSZ with its temporary file left.
TEST(AnalysisCli, FileSizeLimitFailsTheCommandCleanly) {
    TempDir dir;
    dir.Write("run.txt", "Intervals=1000000\nT\nt;a\n0;0\n1;10\n");
    const ProcessResult result = RunProcess(
        "/bin/sh", {"-c", "ulimit -f 64; exec \"$0\" interpolate run.txt", KELVARO_CLI_PATH},
        dir.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "warning: Can not write a file \"run_Spline_1000000.txt\".\n");
    EXPECT_FALSE(HasTemporaryFile(dir.Path()));
}
