#include "LoadedDiagram.h"

#include <gtest/gtest.h>

namespace {

const char kWorkedRows[] = "0;0\n1;10\n2;20\n3;15\n";

// Loads "Intervals=..." and the other command lines, the title Test, the
// columns t and a and the given rows from run.txt, and writes the file.
struct Interpolated {
    Interpolated(const std::string& commands, const std::string& rows)
        : loaded("run.txt", commands + "Test\nt;a\n" + rows) {
        loaded.diagram.MakeInterpolationFile();
    }
    std::string File(int intervals) const {
        return loaded.Output("run_Spline_" + std::to_string(intervals) + ".txt");
    }
    LoadedDiagram loaded;
};

} // namespace

TEST(InterpolationFile, WorkedExample) {
    Interpolated run("Intervals=6\n", kWorkedRows);
    ExpectMatchesGolden(run.File(6), "analysis/interpolation_worked_example.txt");
    const RecordingHost& host = run.loaded.host;
    EXPECT_TRUE(host.warnings.empty());
    ASSERT_EQ(host.informations.size(), 1u);
    EXPECT_EQ(host.informations[0], "Interpolation file was written to\n\n" +
                                        std::filesystem::current_path().string() +
                                        "\\run_Spline_6.txt\n\nIntervals = 6");
    EXPECT_EQ(host.waitDepth, 0);
}

TEST(InterpolationFile, RowOrderDoesNotMatter) {
    // Backwards (reversed) and shuffled (heap-sorted): the same file as ascending.
    for (const char* rows : {"3;15\n2;20\n1;10\n0;0\n", "2;20\n0;0\n3;15\n1;10\n"}) {
        SCOPED_TRACE(rows);
        Interpolated run("Intervals=6\n", rows);
        ExpectMatchesGolden(run.File(6), "analysis/interpolation_worked_example.txt");
    }
}

// The grid stays anchored at X[0] = 2; its first point is moved back to
// Xmin = 1 and valued by extending the first piece; the list ends at the
// first point beyond X = 6 and the remaining lines stay empty.
TEST(InterpolationFile, XdeltaWithXminBelowFirstX) {
    Interpolated run("Xmin=1\nXdelta=0.75\nIntervals=10\n", "2;1\n3;4\n4;2\n6;8\n");
    ExpectMatchesGolden(run.File(10), "analysis/interpolation_xdelta_xmin_below.txt");
}

// Grid points below Xmin = 3.2 stay empty lines; the first one not below it
// is written at 3.2 exactly, the later ones at X[0] + t * 0.5.
TEST(InterpolationFile, XdeltaWithXminAboveFirstX) {
    Interpolated run("Xmin=3.2\nXdelta=0.5\nIntervals=12\n", "2;1\n3;4\n4;2\n6;8\n");
    ExpectMatchesGolden(run.File(12), "analysis/interpolation_xdelta_xmin_above.txt");
}

// Xmin left at 0: the first line has X = 0.000 whatever X[0] is.
TEST(InterpolationFile, XdeltaWithDefaultXmin) {
    Interpolated run("Xdelta=1\nIntervals=5\n", "5;1\n7;5\n");
    ExpectMatchesGolden(run.File(5), "analysis/interpolation_xdelta_default_xmin.txt");
}

TEST(InterpolationFile, TwoRowsGiveOneStraightLine) {
    Interpolated run("Intervals=4\n", "1;2\n3;-2\n");
    ExpectMatchesGolden(run.File(4), "analysis/interpolation_two_rows.txt");
}

// One row has no piece: its value holds at every grid point (the bare table
// would write 0.000, which is wrong for 7.5).
TEST(InterpolationFile, OneRowWritesItsValueAtEveryPoint) {
    Interpolated run("Intervals=3\n", "4;7.5\n");
    ExpectMatchesGolden(run.File(3), "analysis/interpolation_one_row.txt");
    Interpolated explicitGrid("Xmin=4\nXdelta=1\nIntervals=3\n", "4;7.5\n");
    EXPECT_TRUE(explicitGrid.File(3).ends_with("t, a\n\n4.000, 7.500\n\n\n"));
}

// Without rows the grid has no start: the header blocks are followed by as
// many empty lines as the header announces points.
TEST(InterpolationFile, NoRowsGiveEmptyPointLines) {
    Interpolated run("Intervals=3\n", "");
    ExpectMatchesGolden(run.File(3), "analysis/interpolation_no_rows.txt");
    EXPECT_EQ(run.loaded.host.informations.size(), 1u);
}

TEST(InterpolationFile, ZeroIntervalsWriteOnlyTheHeader) {
    Interpolated run("Intervals=0\n", kWorkedRows);
    ExpectMatchesGolden(run.File(0), "analysis/interpolation_zero_intervals.txt");
    ASSERT_EQ(run.loaded.host.informations.size(), 1u);
    EXPECT_TRUE(run.loaded.host.informations[0].ends_with("\\run_Spline_0.txt\n\nIntervals = 0"));
}

// Rows with equal X: the zero-width piece between them takes slope 0, so a
// grid point on that X gets the value of the first of them reached from the
// left, and no inf or nan is written. Non-numeric cells read as 0.
TEST(InterpolationFile, EqualXValuesWriteFiniteNumbers) {
    Interpolated run("Intervals=4\n", "0;0\n1;10\n1;30\n2;abc\n");
    const std::string file = run.File(4);
    ExpectMatchesGolden(file, "analysis/interpolation_equal_x.txt");
    EXPECT_EQ(file.find("inf"), std::string::npos);
    EXPECT_EQ(file.find("nan"), std::string::npos);

    Interpolated allEqual("Intervals=2\n", "5;3\n5;3\n");
    EXPECT_TRUE(allEqual.File(2).ends_with("5.000, 3.000\n5.000, 3.000\n"));
}

// A negative count is refused with a message; no file is made.
TEST(InterpolationFile, NegativeIntervalsAreRefused) {
    Interpolated run("Intervals=-5\n", kWorkedRows);
    const RecordingHost& host = run.loaded.host;
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0], "Intervals = -5: the number of points can not be negative.\n\n"
                                "No interpolation file was written.");
    EXPECT_TRUE(host.informations.empty());
    EXPECT_EQ(run.loaded.Entries(), std::vector<std::string>{"run.txt"});
}

TEST(InterpolationFile, DiagramIsUnchanged) {
    LoadedDiagram loaded("run.txt", "Intervals=6\nTest\nt;a\n3;15\n0;0\n");
    loaded.diagram.MakeInterpolationFile();
    EXPECT_EQ(loaded.diagram.values[0][0], "3");
    EXPECT_EQ(loaded.diagram.values[1][0], "15");
    EXPECT_EQ(loaded.diagram.intervals, 6);
}
