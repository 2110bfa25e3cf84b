// Derived files have bounds: a file of too many points, too many curves or too
// many bytes is refused before anything is created, with a message that names
// the figure and the limit.
#include "LoadedDiagram.h"

#include <gtest/gtest.h>

namespace {

const char kOldContent[] = "an earlier, complete file\n";

// A header of curves data columns and one row of values.
std::string TableWithCurves(int curves) {
    std::string header = "Title\nt", row = "\n0";
    for (int i = 1; i <= curves; ++i) {
        header += ";c" + std::to_string(i);
        row += ";" + std::to_string(i % 7);
    }
    return header + row + "\n";
}

struct Refusal {
    const char* label;
    std::string data;
    void (CDiagram::*make)();
    const char* output;
    const char* warning;
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
    *os << refusal.label;
}

class RefusedDerivedFile : public testing::TestWithParam<Refusal> {};

const Refusal kRefusals[] = {
    {"TooManyPoints", "Intervals=10000001\nT\nt;a\n0;1\n1;2\n", &CDiagram::MakeInterpolationFile,
     "run_Spline_10000001.txt",
     "Intervals = 10000001: the interpolation file can have at most 10000000 points.\n\n"
     "No interpolation file was written."},
    {"HugeCount", "Intervals=2000000000\nXdelta=1e-300\nT\nt;a\n0;1\n1;2\n",
     &CDiagram::MakeInterpolationFile, "run_Spline_2000000000.txt",
     "Intervals = 2000000000: the interpolation file can have at most 10000000 points.\n\n"
     "No interpolation file was written."},
    // 10,000,000 lines of two numbers of about 300 digits each.
    {"TooManyBytes", "X=number\nIntervals=10000000\nT\nt;a\n-1e300;1e300\n1e300;-1e300\n",
     &CDiagram::MakeInterpolationFile, "run_Spline_10000000.txt",
     "The interpolation file would be about 6170000041 bytes long, more than the limit of "
     "1073741824 bytes (1 GiB).\n\nNo interpolation file was written."},
    {"TooManyCurves", TableWithCurves(2001), &CDiagram::MakeCorrelationFile, "run_Correlation.txt",
     "Curves = 2001: the correlation file can have at most 2000 curves.\n\n"
     "No correlation file was written."},
};

} // namespace

TEST_P(RefusedDerivedFile, IsRefusedWithItsFigureAndNothingIsWritten) {
    const Refusal& refusal = GetParam();
    LoadedDiagram loaded("run.txt", refusal.data);
    WriteFile(loaded.Dir() / refusal.output, kOldContent);
    (loaded.diagram.*refusal.make)();
    EXPECT_EQ(loaded.host.warnings, std::vector<std::string>{refusal.warning});
    EXPECT_TRUE(loaded.host.informations.empty());
    EXPECT_EQ(loaded.host.waitDepth, 0);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"run.txt", refusal.output}));
    EXPECT_EQ(loaded.Output(refusal.output), kOldContent);
}

INSTANTIATE_TEST_SUITE_P(Limits, RefusedDerivedFile, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.label); });

// The limits themselves are allowed: 2000 curves make a file.
TEST(BoundedOutput, CorrelationOfTwoThousandCurvesIsWritten) {
    LoadedDiagram loaded("run.txt", TableWithCurves(2000));
    loaded.diagram.MakeCorrelationFile();
    EXPECT_TRUE(loaded.host.warnings.empty());
    ASSERT_EQ(loaded.host.informations.size(), 1u);
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"run.txt", "run_Correlation.txt"}));
    const std::string file = loaded.Output("run_Correlation.txt");
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2000 + 5);
}
