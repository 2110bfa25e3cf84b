// Nothing stays behind a derived-file write: temporary files of earlier runs
// that were killed are removed by the next write of the same file, and the
// temporary name never makes a long file name too long.
#include "LoadedDiagram.h"

#include "analysis/AtomicFileWriter.h"
#include "analysis/PendingTemporaryFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kData[] = "Intervals=4\nTitle\nt;a;b\n0;1;2\n1;3;1\n2;2;5\n";

// The id of a process that has ended and been reaped.
long EndedProcessId() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

void MakeOld(const std::filesystem::path& path) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(25));
}

} // namespace

TEST(NothingLeftBehind, LeftoversOfKilledRunsGoWhenTheSameFileIsWrittenAgain) {
    LoadedDiagram loaded("run.txt", kData);
    const std::string target = "run_Spline_4.txt";
    const long self = getpid();
    const struct {
        std::string name;
        bool old;
        bool stays;
    } files[] = {
        {TemporaryFileName(target, EndedProcessId(), 0xabc123), false, false},
        {TemporaryFileName(target, self, 0x000001), true, false}, // a day old
        {TemporaryFileName(target, self, 0x000002), false, true}, // a live writer's
        {TemporaryFileName("run_Correlation.txt", EndedProcessId(), 0x3), false, true},
        {".run_Spline_4.txt.abc123.tmp", true, false},     // no owner recorded, old
        {".run_Spline_4.txt.abc124.tmp", false, true},     // no owner recorded, fresh
        {".run_Spline_4.txt.12x.abc123.tmp", false, true}, // not the pattern
        {".run_Spline_4.txt.1.ABC123.tmp", false, true},
    };
    for (const auto& file : files) {
        WriteFile(loaded.Dir() / file.name, "partial");
        if (file.old)
            MakeOld(loaded.Dir() / file.name);
    }
    loaded.diagram.MakeInterpolationFile();
    ASSERT_TRUE(loaded.host.warnings.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(std::filesystem::exists(loaded.Dir() / file.name), file.stays);
    }
    EXPECT_EQ(loaded.Output(target).rfind("Title (Interpolation 4 points)", 0), 0u);
}

TEST(NothingLeftBehind, OnlyRegularFilesAreRemoved) {
    TempDir dir;
    const std::string name = TemporaryFileName("out.txt", EndedProcessId(), 0x42);
    std::filesystem::create_directory(dir.Path() / name);
    std::filesystem::create_symlink("elsewhere", dir.Path() / (name + "x"));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(dir.Path(), "out.txt"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / name));
}

TEST(NothingLeftBehind, TemporaryNamesStayWithinTheNameLimit) {
    for (std::size_t length : {1u, 200u, 233u, 240u, 255u}) {
        SCOPED_TRACE(length);
        const std::string target(length, 'n');
        const std::string name = TemporaryFileName(target, 2147483647, 0xffffff);
        EXPECT_LE(name.size(), 255u);
        EXPECT_TRUE(name.starts_with("." + target.substr(0, 20)));
        EXPECT_TRUE(name.ends_with(".2147483647.ffffff.tmp"));
    }
}

// A data file named with 235 characters gets both derived files, whose names
// have 250 and 251 bytes.
TEST(NothingLeftBehind, LongFileNamesStillGetTheirDerivedFiles) {
    const std::string stem(235, 'L');
    LoadedDiagram loaded(stem + ".txt", kData);
    loaded.diagram.MakeInterpolationFile();
    loaded.diagram.MakeCorrelationFile();
    EXPECT_TRUE(loaded.host.warnings.empty());
    EXPECT_EQ(loaded.host.informations.size(), 2u);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{stem + ".txt", stem + "_Correlation.txt",
                                                          stem + "_Spline_4.txt"}));
}

// What a signal handler removes is the temporary file of the write in
// progress, and nothing once the write has ended.
TEST(NothingLeftBehind, PendingTemporaryFileIsTheOpenWritersOnly) {
    TempDir dir;
    CurrentDirScope current(dir.Path());
    {
        AtomicFileWriter writer("out.txt");
        ASSERT_TRUE(writer.Open());
        writer.Write("text");
        RemovePendingTemporaryFile();
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    }
    AtomicFileWriter writer("out.txt");
    ASSERT_TRUE(writer.Open());
    writer.Write("text");
    ASSERT_EQ(writer.Commit(), AtomicFileWriter::Result::Written);
    RemovePendingTemporaryFile();
    EXPECT_EQ(ReadFile(dir.Path() / "out.txt"), "text");
}
