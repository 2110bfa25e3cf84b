// Refreshing a loaded diagram from its file: appended lines parsed alone give
// the table a whole read gives, anything else is read whole, and a failed
// refresh leaves the table as it was.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "diagram/TableRefresh.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Kind = RefreshOutcome::Kind;

// The whole loaded table, spectrum included, as texts.
std::vector<std::vector<std::string>> Table(const CDiagram& d) {
    std::vector<std::vector<std::string>> table;
    table.push_back({d.title, std::to_string(d.columnCount), std::to_string(d.spectrumSize),
                     std::to_string(d.intervals), std::to_string(d.timerPeriod)});
    for (int c = 0; c < d.columnCount; ++c) {
        std::vector<std::string> column{std::string(ColumnName(d.columns[c]))};
        for (int r = 0; r < d.values[c].GetSize(); ++r)
            column.emplace_back(d.values[c][r]);
        table.push_back(column);
    }
    return table;
}

void Append(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// A file with what a logger may write: commands between rows, blank and
// separator-only lines, CR LF line ends, rows one value short.
std::string GeneratedFile(int rows) {
    std::string text = "Timer=500\nIntervals=20\nRig 7\nt;p;q\n";
    for (int r = 0; r < rows; ++r) {
        text += std::to_string(r) + ";" + std::to_string(r * 3 % 17) + "." + std::to_string(r % 10);
        if (r % 9 == 4)
            text += "\n";
        else
            text.append(";").append(std::to_string(100 - r)).append(r % 5 == 0 ? "\r\n" : "\n");
        if (r % 13 == 6)
            text += "\n;;\nIntervals=" + std::to_string(r) + "\n";
    }
    return text;
}

class Refresh : public testing::Test {
protected:
    void Open(const std::string& content) {
        path = dir.Write("live.txt", content);
        ASSERT_TRUE(diagram.LoadFile(path.string()));
    }
    // A whole read of the file as it is now, as a refresh reads it.
    std::vector<std::vector<std::string>> WholeRead() {
        RecordingHost other;
        CDiagram fresh(&other);
        fresh.xRange = diagram.xRange;
        EXPECT_TRUE(fresh.LoadFile(path.string(), {}, CDiagram::LoadMode::Refresh));
        fresh.ComputeSpectrum();
        return Table(fresh);
    }

    TempDir dir;
    std::filesystem::path path;
    RecordingHost host;
    CDiagram diagram{&host};
};

TEST_F(Refresh, AppendedLinesGiveTheTableOfAWholeReadAtEveryCut) {
    const std::string file = GeneratedFile(150);
    const std::size_t headerEnd = file.find("t;p;q\n") + 6;
    for (std::size_t cut = headerEnd; cut < file.size(); cut += 37) {
        SCOPED_TRACE("first read up to byte " + std::to_string(cut));
        host.warnings.clear();
        const std::size_t start = file.rfind('\n', cut) + 1;
        Open(file.substr(0, start));
        if (diagram.values[1].GetSize() > 0)
            diagram.values[1].NumberAt(0); // the numbers kept before the append
        for (std::size_t from = start; from < file.size(); from += 211) {
            const std::size_t to = std::min(from + 211, file.size());
            Append(path, file.substr(from, to - from));
            const RefreshOutcome outcome = RefreshTable(diagram);
            ASSERT_EQ(outcome.kind, Kind::Appended) << outcome.failure;
            ASSERT_EQ(Table(diagram), WholeRead()) << "after the append up to byte " << to;
        }
        for (int r = 0; r < diagram.values[1].GetSize(); ++r) {
            const CellText cell = diagram.values[1][r];
            ASSERT_EQ(diagram.values[1].NumberAt(r), AtoF(cell));
        }
        EXPECT_TRUE(host.warnings.empty());
    }
}

TEST_F(Refresh, AnUnterminatedLastLineWaitsForItsLineFeed) {
    Open("T\nx;a\n1;2\n");
    Append(path, "2;3");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::Appended);
    EXPECT_EQ(diagram.values[1].GetSize(), 1);
    Append(path, "5\n3;4\n");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::Appended);
    ASSERT_EQ(diagram.values[1].GetSize(), 3);
    EXPECT_EQ(diagram.values[1][1], "35");

    // Read whole, too, a refresh leaves the row being written; the open stores it.
    Open("T\nx;a\n1;2\n2;3");
    EXPECT_EQ(diagram.values[1].GetSize(), 2);
    std::filesystem::resize_file(path, 6); // "T\nx;a\n"
    Append(path, "7;8\n9;1");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(Table(diagram), WholeRead());
    EXPECT_EQ(diagram.values[1].GetSize(), 1);
}

TEST_F(Refresh, AnythingButGrowthIsReadWhole) {
    Open("T\nx;a;b\n1;2;3\n");
    // Same size, other bytes.
    WriteFile(path, "T\nx;a;b\n1;5;3\n");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(diagram.values[1][0], "5");
    // Longer, with the start changed: the fingerprint tells it from growth.
    WriteFile(path, "T\nx;a;b\n1;6;3\n2;7;4\n");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(Table(diagram), WholeRead());
    // Shorter.
    WriteFile(path, "T\nx;a;b\n");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(diagram.values[0].GetSize(), 0);
}

TEST_F(Refresh, KeepsTheWindowsStateAndDefaultsNewColumns) {
    Open("T\nx;a;b;c\n1;2;3;4\n2;3;4;5\n");
    diagram.columns[1].visible = 0;
    diagram.columns[3].visible = 0;
    diagram.spectrumColumn = 2;
    diagram.lineWidth = 3;
    diagram.markerX = 1.5;
    diagram.showSpectrum = true;
    WriteFile(path, "T\nx;c;d;a\n1;2;3;4\n2;3;4;5\n9;9;9;9\n");
    ASSERT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(diagram.columns[1].visible, 0); // c, hidden before
    EXPECT_EQ(diagram.columns[2].visible, 1); // d, new
    EXPECT_EQ(diagram.columns[3].visible, 0); // a, hidden before
    EXPECT_EQ(diagram.spectrumColumn, 2);
    EXPECT_EQ(diagram.lineWidth, 3);
    EXPECT_EQ(diagram.markerX, 1.5);
    EXPECT_TRUE(diagram.showSpectrum);
    // A table without the spectrum column chosen computes that of the first.
    WriteFile(path, "T\nx;a\n1;2\n2;3\n");
    ASSERT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
    EXPECT_EQ(diagram.spectrumColumn, 0);
    EXPECT_EQ(ColumnName(diagram.columns[2]), "Spec. for a");
}

TEST_F(Refresh, AZoomWindowKeepsOnlyItsRange) {
    diagram.xRange = XRange{2.0, 4.0};
    Open("T\nx;a\n1;1\n2;2\n3;3\n");
    Append(path, "4;4\n5;5\n");
    ASSERT_EQ(RefreshTable(diagram).kind, Kind::Appended);
    EXPECT_EQ(Table(diagram), WholeRead());
    ASSERT_EQ(diagram.values[0].GetSize(), 3);
    EXPECT_EQ(diagram.values[0][2], "4");
}

TEST_F(Refresh, AFailedRefreshLeavesTheTableAsItWas) {
    Open("X=datetime\nTimer=300\nT\nx;a;b\n01/05/2004;1;2\n");
    const auto before = Table(diagram);
    const struct {
        const char* name;
        std::string appended;
    } cases[] = {
        {"a row too short", "Timer=50\n01/06/2004;1;2\n01/07/2004\n"},
        {"no date", "Timer=50\n01/06/2004;1;2\nsoon;1;2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(path, "X=datetime\nTimer=300\nT\nx;a;b\n01/05/2004;1;2\n");
        ASSERT_EQ(RefreshTable(diagram).kind, Kind::ReadWhole);
        Append(path, c.appended);
        const RefreshOutcome outcome = RefreshTable(diagram);
        EXPECT_EQ(outcome.kind, Kind::Failed);
        EXPECT_FALSE(outcome.failure.empty());
        EXPECT_EQ(outcome.failure.find('\n'), std::string::npos);
        EXPECT_EQ(Table(diagram), before);
        EXPECT_TRUE(diagram.xIsDateTime);
        // The date a failed row left behind does not turn labels and readouts
        // into "Invalid DateTime".
        EXPECT_EQ(diagram.DateText(37991.5), "01/05/04");
    }
    WriteFile(path, "X=datetime\nT\nx;a;b\n01/05/2004;1;2\nlater;3;4\n");
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::Failed); // read whole
    EXPECT_EQ(Table(diagram), before);
    EXPECT_EQ(diagram.DateText(37991.5), "01/05/04");
    std::filesystem::remove(path);
    EXPECT_EQ(RefreshTable(diagram).kind, Kind::Failed);
    EXPECT_EQ(Table(diagram), before);
    EXPECT_TRUE(host.warnings.empty());
}

} // namespace

// The read runs while the window goes on: what the user changes meanwhile
// (hidden curves, the spectrum's column) is what the applied table shows.
TEST_F(Refresh, ChangesMadeWhileTheReadRunsAreKeptWhenItIsApplied) {
    Open(GeneratedFile(40));
    for (const bool grows : {true, false}) {
        SCOPED_TRACE(grows ? "appended" : "read whole");
        const RefreshSource source = RefreshSourceOf(diagram);
        if (grows) { // past 64 rows: the spectrum is made again
            std::string rows;
            for (int r = 0; r < 30; ++r)
                rows += std::to_string(900 + r) + ";" + std::to_string(r % 7) + ".5;2\n";
            Append(path, rows);
        } else
            WriteFile(path, GeneratedFile(70));
        RefreshRead read = ReadRefresh(source);
        diagram.columns[1].visible = 0;
        diagram.spectrumColumn = 1;
        diagram.ComputeSpectrum(); // as the Parameters dialog does
        ASSERT_EQ(ApplyRefresh(diagram, std::move(read)).kind,
                  grows ? Kind::Appended : Kind::ReadWhole);
        EXPECT_EQ(diagram.columns[1].visible, 0);
        EXPECT_EQ(diagram.spectrumColumn, 1);
        EXPECT_EQ(ColumnName(diagram.columns[3]), "Spec. for q");
        diagram.columns[1].visible = 1; // as a whole read shows it
        EXPECT_EQ(Table(diagram), [&] {
            RecordingHost other;
            CDiagram fresh(&other);
            fresh.spectrumColumn = 1;
            EXPECT_TRUE(fresh.LoadFile(path.string(), {}, CDiagram::LoadMode::Refresh));
            fresh.ComputeSpectrum();
            return Table(fresh);
        }());
        diagram.spectrumColumn = 0;
        diagram.ComputeSpectrum();
    }
}
