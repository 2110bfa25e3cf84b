// How both derived files fail: before anything is created, when the file
// cannot be created, and when it cannot be written. A file written before
// must survive every failure whole.
#include "LoadedDiagram.h"

#include "diagram/InvalidArgumentError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Operation {
    const char* label;
    void (CDiagram::*make)();
    const char* output; // the file written for run.txt with 4 intervals
};

void PrintTo(const Operation& op, std::ostream* os) {
    *os << op.label;
}

const Operation kOperations[] = {
    {"Interpolation", &CDiagram::MakeInterpolationFile, "run_Spline_4.txt"},
    {"Correlation", &CDiagram::MakeCorrelationFile, "run_Correlation.txt"},
};

const char kData[] = "Intervals=4\nTitle\nt;a;b\n0;1;2\n1;3;1\n2;2;5\n";
const char kOldContent[] = "an earlier, complete file\n";

class DerivedFileFailure : public testing::TestWithParam<Operation> {
protected:
    void Make(CDiagram& diagram) { (diagram.*GetParam().make)(); }
    std::string Output() const { return GetParam().output; }

    // One warning, no completion message, the cursor restored, and nothing
    // left in the directory but the data file and what the test put there.
    void ExpectFailed(const LoadedDiagram& loaded, const std::string& warning,
                      const std::vector<std::string>& entries) {
        EXPECT_EQ(loaded.host.warnings, std::vector<std::string>{warning});
        EXPECT_TRUE(loaded.host.informations.empty());
        EXPECT_EQ(loaded.host.waitDepth, 0);
        EXPECT_EQ(loaded.Entries(), entries);
    }
};

// Restricts the size of files this process writes, so that writing the
// derived file fails as on a full disk; the signal that would end the
// process is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

} // namespace

TEST_P(DerivedFileFailure, NoTableRaisesBeforeAnythingIsCreated) {
    TempDir dir;
    CurrentDirScope currentDir(dir.Path());
    RecordingHost host;
    CDiagram diagram(&host);
    EXPECT_THROW(Make(diagram), InvalidArgumentError);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_TRUE(host.informations.empty());
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_P(DerivedFileFailure, DirectoryStandingAtTheNameIsReported) {
    LoadedDiagram loaded("run.txt", kData);
    std::filesystem::create_directory(loaded.Dir() / Output());
    WriteFile(loaded.Dir() / Output() / "inside.txt", kOldContent);
    Make(loaded.diagram);
    ExpectFailed(loaded, "Can not create a file \"" + Output() + "\".", {"run.txt", Output()});
    EXPECT_EQ(ReadFile(loaded.Dir() / Output() / "inside.txt"), kOldContent);
}

TEST_P(DerivedFileFailure, UnwritableDirectoryKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only directory";
    LoadedDiagram loaded("run.txt", kData);
    WriteFile(loaded.Dir() / Output(), kOldContent);
    std::filesystem::permissions(loaded.Dir(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    Make(loaded.diagram);
    std::filesystem::permissions(loaded.Dir(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ExpectFailed(loaded, "Can not create a file \"" + Output() + "\".", {"run.txt", Output()});
    EXPECT_EQ(ReadFile(loaded.Dir() / Output()), kOldContent);
}

TEST_P(DerivedFileFailure, WriteErrorIsReportedAndKeepsTheOldFile) {
    LoadedDiagram loaded("run.txt", kData);
    WriteFile(loaded.Dir() / Output(), kOldContent);
    {
        FileSizeLimit limit(8); // less than the header of either file
        Make(loaded.diagram);
    }
    ExpectFailed(loaded, "Can not write a file \"" + Output() + "\".", {"run.txt", Output()});
    EXPECT_EQ(ReadFile(loaded.Dir() / Output()), kOldContent);
}

// An error in the middle of writing (a column shorter than the X column, which
// a load never makes) ends the operation without a trace on disk.
TEST_P(DerivedFileFailure, ErrorWhileWritingLeavesNoFile) {
    LoadedDiagram loaded("run.txt", kData);
    WriteFile(loaded.Dir() / Output(), kOldContent);
    loaded.diagram.values[1].RemoveAll();
    EXPECT_THROW(Make(loaded.diagram), InvalidArgumentError);
    EXPECT_TRUE(loaded.host.warnings.empty());
    EXPECT_TRUE(loaded.host.informations.empty());
    EXPECT_EQ(loaded.host.waitDepth, 0);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"run.txt", Output()}));
    EXPECT_EQ(ReadFile(loaded.Dir() / Output()), kOldContent);
}

TEST_P(DerivedFileFailure, SuccessReplacesTheOldFileWhole) {
    LoadedDiagram loaded("run.txt", kData);
    WriteFile(loaded.Dir() / Output(), std::string(100000, 'x'));
    const int waitCallsBefore = loaded.host.waitCalls;
    Make(loaded.diagram);
    EXPECT_TRUE(loaded.host.warnings.empty());
    EXPECT_EQ(loaded.host.informations.size(), 1u);
    EXPECT_EQ(loaded.Output(Output()).rfind("Title", 0), 0u);
    EXPECT_EQ(loaded.Output(Output()).find('x'), std::string::npos);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"run.txt", Output()}));
    EXPECT_EQ(loaded.host.waitCalls, waitCallsBefore + 1);
    EXPECT_EQ(loaded.host.waitDepth, 0);
}

// On a full disk the first failed write ends the operation: the rest of a file
// of 10,000,000 points or 2000 x 2000 coefficients (seconds to minutes of
// work) is not computed for nothing.
TEST_P(DerivedFileFailure, FullDiskEndsTheOperationAtOnce) {
    std::string data = "Intervals=10000000\nTitle\nt";
    for (int c = 1; c <= 2000; ++c)
        data += ";c" + std::to_string(c);
    for (int r = 0; r < 20; ++r) {
        data += "\n" + std::to_string(r);
        for (int c = 1; c <= 2000; ++c)
            data += ";" + std::to_string((r * c) % 11);
    }
    LoadedDiagram loaded("run.txt", data + "\n");
    const std::string output = GetParam().make == &CDiagram::MakeCorrelationFile
                                   ? "run_Correlation.txt"
                                   : "run_Spline_10000000.txt";
    const auto start = std::chrono::steady_clock::now();
    {
        FileSizeLimit limit(1 << 16);
        Make(loaded.diagram);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ExpectFailed(loaded, "Can not write a file \"" + output + "\".", {"run.txt"});
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}

INSTANTIATE_TEST_SUITE_P(BothFiles, DerivedFileFailure, testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.label); });
