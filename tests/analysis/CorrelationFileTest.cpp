#include "LoadedDiagram.h"

#include <gtest/gtest.h>

namespace {

// Loads the title T and the given header and rows from run.txt and writes
// the correlation file.
struct Correlated {
    explicit Correlated(const std::string& table) : loaded("run.txt", "T\n" + table) {
        loaded.diagram.MakeCorrelationFile();
    }
    std::string File() const { return loaded.Output("run_Correlation.txt"); }
    LoadedDiagram loaded;
};

} // namespace

// Q rises with P exactly, R falls with P with some noise: +1, a negative
// value and a symmetric matrix with +1 on the diagonal.
TEST(CorrelationFile, ThreeCurves) {
    Correlated run("x;P;Q;R\n0;1;3;9\n1;2;5;7.5\n2;4;9;6\n3;3;7;6.5\n4;6;13;2\n");
    ExpectMatchesGolden(run.File(), "analysis/correlation_three_curves.txt");
    const RecordingHost& host = run.loaded.host;
    EXPECT_TRUE(host.warnings.empty());
    ASSERT_EQ(host.informations.size(), 1u);
    EXPECT_EQ(host.informations[0], "Correlation file was written to\n\n\"" +
                                        std::filesystem::current_path().string() +
                                        "\\run_Correlation.txt\"\n\nCurves = 3");
    EXPECT_EQ(host.waitDepth, 0);
}

// One curve: the header line has no line end of its own, so the row follows
// it directly on the next line.
TEST(CorrelationFile, OneCurve) {
    Correlated run("x;P\n0;1\n1;2\n2;4\n");
    ExpectMatchesGolden(run.File(), "analysis/correlation_one_curve.txt");
}

// A column of zeros, one of texts and one of ten equal values whose mean as
// sum times 1/n is inexact: all give +0.000000 in their row and column, their
// own diagonal included.
TEST(CorrelationFile, ConstantColumnsGiveZero) {
    std::string table = "x;P;zero;text;tenth\n";
    for (int k = 0; k < 10; ++k)
        table += std::to_string(k) + ";" + std::to_string(k * k % 7) + ";0;abc;0.1\n";
    Correlated run(table);
    ExpectMatchesGolden(run.File(), "analysis/correlation_constant_columns.txt");
}

TEST(CorrelationFile, SingleRowGivesZeroEverywhere) {
    Correlated run("x;P;Q\n0;1;2\n");
    ExpectMatchesGolden(run.File(), "analysis/correlation_single_row.txt");
}

TEST(CorrelationFile, NoRowsGiveZeroEverywhere) {
    Correlated run("x;P;Q\n");
    ExpectMatchesGolden(run.File(), "analysis/correlation_no_rows.txt");
    EXPECT_EQ(run.loaded.host.informations.size(), 1u);
}
