#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/ZoomRequest.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::string_literals;

namespace {

class Loader : public ::testing::Test {
protected:
    bool Load(const std::string& content, const std::string& name = "data.txt") {
        path = dir.Write(name, content).string();
        return diagram.LoadFile(path);
    }
    std::vector<std::string> Column(int c) const {
        std::vector<std::string> texts;
        for (int r = 0; r < diagram.values[c].GetSize(); ++r)
            texts.emplace_back(diagram.values[c][r]);
        return texts;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int c = 0; c < diagram.columnCount; ++c)
            names.emplace_back(ColumnName(diagram.columns[c]));
        return names;
    }

    TempDir dir;
    RecordingHost host;
    CDiagram diagram{&host};
    std::string path;
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(Loader, ReadsCommandsTitleHeaderAndRows) {
    ASSERT_TRUE(Load("X=number\nXmin=0\nXdelta=0.5\nIntervals=200\nPump test 14\n"
                     "Time;Pressure;Flow\n0;1.25;10\n0.5;1.31;11\n"));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(diagram.title, "Pump test 14");
    EXPECT_TRUE(diagram.xIsNumber);
    EXPECT_FALSE(diagram.xIsDateTime);
    EXPECT_EQ(diagram.minorTicks, 0);
    EXPECT_EQ(diagram.intervals, 200);
    EXPECT_DOUBLE_EQ(diagram.fileXdelta, 0.5);
    EXPECT_EQ(diagram.columnCount, 4);
    EXPECT_EQ(Names(), (Strings{"Time", "Pressure", "Flow", "Spec. for Pressure"}));
    EXPECT_EQ(Column(0), (Strings{"0", "0.5"}));
    EXPECT_EQ(Column(1), (Strings{"1.25", "1.31"}));
    EXPECT_EQ(Column(2), (Strings{"10", "11"}));
    EXPECT_EQ(diagram.columns.GetSize(), 4);
    EXPECT_EQ(diagram.values.GetSize(), 4);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(Loader, TokensAreRunsBetweenSeparatorsAndKeepTheirSpaces) {
    ASSERT_TRUE(Load("T\n;X, A\tB;\n1;;3\t\t4,\n,,5,6;7\n a ;b\n"));
    EXPECT_EQ(Names(), (Strings{"X", " A", "B", "Spec. for  A"}));
    // An empty field does not hold its place: later values move left.
    EXPECT_EQ(Column(0), (Strings{"1", "5", " a "}));
    EXPECT_EQ(Column(1), (Strings{"3", "6", "b"}));
    EXPECT_EQ(Column(2), (Strings{"4", "7", ""})); // m-1 tokens: empty last cell
}

TEST_F(Loader, EmptyLinesVanishButBlankLinesAreTableLines) {
    ASSERT_TRUE(Load("\n\nTitle\n\nt;a\n\n1;2\n   \n;;\n\t\n3;4\n"));
    EXPECT_EQ(diagram.title, "Title");
    // The line of spaces is a row of one token; lines of separators vanish.
    EXPECT_EQ(Column(0), (Strings{"1", "   ", "3"}));
    EXPECT_EQ(Column(1), (Strings{"2", "", "4"}));
}

TEST_F(Loader, ALineOfSpacesCanBeTheTitle) {
    ASSERT_TRUE(Load("  \nt;a\n1;2\n"));
    EXPECT_EQ(diagram.title, "  ");
}

TEST_F(Loader, CommandKeysAreExactAndValuesTrimmed) {
    ASSERT_TRUE(Load(" X = DateTime \nTimer= 250 \nIntervals=-3x\nXmin=abc\nXdelta= 2e-1\n"
                     "X=NUMBER\nT\nt;a\n01/05/2004;1\n"));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_TRUE(diagram.xIsDateTime);
    EXPECT_TRUE(diagram.xIsNumber); // neither kind clears the other
    EXPECT_EQ(diagram.timerPeriod, 250);
    EXPECT_EQ(diagram.intervals, -3);
    EXPECT_DOUBLE_EQ(diagram.fileXmin, 0.0);
    EXPECT_DOUBLE_EQ(diagram.fileXdelta, 0.2);

    CDiagram other(&host);
    ASSERT_TRUE(
        other.LoadFile(dir.Write("empty-values.txt", "Timer=\nXdelta=\nT\nt;a\n").string()));
    EXPECT_EQ(other.timerPeriod, 0);
    EXPECT_DOUBLE_EQ(other.fileXdelta, 0.0);
}

TEST_F(Loader, EachUnknownCommandIsReportedAndLoadingGoesOn) {
    ASSERT_TRUE(Load("x=number\nTIMER=5\nxmin=1\nX=weird\nTitle = with equals\nT\nt;a\n"
                     "1;2\nrow=3\n=5;6\n"));
    const std::string file = std::filesystem::path(path).lexically_normal().string();
    ASSERT_EQ(host.warnings.size(), 6u);
    EXPECT_EQ(host.warnings[0], "Not known command:\n\nx=number\n\n" + file);
    EXPECT_EQ(host.warnings[3], "Not known command:\n\nX=weird\n\n" + file);
    EXPECT_EQ(host.warnings[4], "Not known command:\n\nTitle = with equals\n\n" + file);
    EXPECT_EQ(host.warnings[5], "Not known command:\n\nrow=3\n\n" + file);
    EXPECT_EQ(diagram.minorTicks, 0); // any X line switches minor ticks off
    EXPECT_FALSE(diagram.xIsNumber);
    EXPECT_EQ(diagram.title, "T");
    // A line starting with "=" is a table line.
    EXPECT_EQ(Column(0), (Strings{"1", "=5"}));
    EXPECT_EQ(diagram.minorTicks, 0);
}

TEST_F(Loader, MinorTicksStayWithoutAnXCommand) {
    ASSERT_TRUE(Load("T\nt;a\n1;2\n"));
    EXPECT_EQ(diagram.minorTicks, 5);
}

TEST_F(Loader, RowsKeepTheFirstMTokens) {
    ASSERT_TRUE(Load("T\nt;a;b\n1;2;3;4;5\n"));
    EXPECT_EQ(Column(2), (Strings{"3"}));
    EXPECT_EQ(Column(3), (Strings{"0.0"}));
}

TEST_F(Loader, ARowMissingTwoCellsEndsTheLoadWithAnInvalidArgument) {
    try {
        Load("T\nt;a;b\n1;2;3\n\n4\n5;6;7\n");
        FAIL() << "no error";
    } catch (const InvalidArgumentError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 5"), std::string::npos) << e.what();
    }
}

TEST_F(Loader, AHeaderOfOneTokenIsAFormatError) {
    EXPECT_FALSE(Load("Title\nonly\n1\n"));
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0], "Error: File has an incorrect format\n\n" +
                                    std::filesystem::path(path).lexically_normal().string());
    EXPECT_EQ(diagram.title, "");
    EXPECT_EQ(diagram.columnCount, 0);
}

TEST_F(Loader, AFileWithoutHeaderIsAnInvalidArgument) {
    for (const char* content : {"", "\n\n", "X=number\nTimer=5\n", "Only a title\n"}) {
        SCOPED_TRACE(content);
        EXPECT_THROW(Load(content), InvalidArgumentError);
        EXPECT_EQ(host.waitDepth, 0);
    }
}

TEST_F(Loader, AHeaderWithoutRowsLoads) {
    ASSERT_TRUE(Load("T\nt;a;b\n"));
    EXPECT_EQ(diagram.columnCount, 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(diagram.values[c].GetSize(), 0);
    EXPECT_EQ(ColumnName(diagram.columns[3]), "");
    EXPECT_EQ(diagram.spectrumSize, 1);
}

TEST_F(Loader, ColumnsTakePaletteColoursThenComputedOnes) {
    std::string header = "c0";
    for (int i = 1; i < 12; ++i)
        header += ";c" + std::to_string(i);
    ASSERT_TRUE(Load("T\n" + header + "\n"));
    EXPECT_EQ(diagram.columns[0].color, RGB(0, 0, 0));
    EXPECT_EQ(diagram.columns[1].color, RGB(0, 0, 255));
    EXPECT_EQ(diagram.columns[2].color, RGB(255, 0, 0));
    EXPECT_EQ(diagram.columns[7].color, RGB(200, 0, 0));
    EXPECT_EQ(diagram.columns[8].color, RGB(144, 111, 28));
    EXPECT_EQ(diagram.columns[9].color, RGB(194, 61, 25));
    EXPECT_EQ(diagram.columns[10].color, RGB(244, 11, 23));
    EXPECT_EQ(diagram.columns[11].color, RGB(38, 217, 21));
    for (int c = 0; c < diagram.columnCount; ++c) {
        EXPECT_EQ(diagram.columns[c].visible, 1);
        EXPECT_EQ(diagram.columns[c].markSize, 5);
    }
}

TEST_F(Loader, FiveThousandColumnsLoad) {
    std::string header = "t", row = "0";
    for (int i = 1; i < 5000; ++i) {
        header.append(";c").append(std::to_string(i));
        row.append(";").append(std::to_string(i));
    }
    ASSERT_TRUE(Load("T\n" + header + "\n" + row + "\n" + row + "\n"));
    EXPECT_EQ(diagram.columnCount, 5001);
    EXPECT_EQ(diagram.values[4999][1], "4999");
    EXPECT_EQ(diagram.columns[4999].color, RGB((50 * 4999) & 0xFF, (255 - 50 * 4999) & 0xFF, 0));
}

TEST_F(Loader, LongNamesAreCutTo99BytesWithoutSplittingACharacter) {
    const std::string ascii(300, 'n');
    std::string accented;
    for (int i = 0; i < 150; ++i)
        accented += "\xC3\xA9"; // é, two bytes each
    ASSERT_TRUE(Load("T\n" + ascii + ";" + accented + "\n"));
    EXPECT_EQ(ColumnName(diagram.columns[0]), std::string(99, 'n'));
    EXPECT_EQ(ColumnName(diagram.columns[1]).size(), 98u);
    EXPECT_EQ(ColumnName(diagram.columns[1]), accented.substr(0, 98));
}

TEST_F(Loader, FileNamesAndFullPath) {
    ASSERT_TRUE(Load("T\nt;a\n", "run.2.txt"));
    EXPECT_EQ(diagram.fileName, "run.2.txt");
    EXPECT_EQ(diagram.fileTitle, "run");
    EXPECT_EQ(diagram.filePath, (dir.Path() / "run.2.txt").lexically_normal().string());

    CurrentDirScope here(dir.Path());
    CDiagram relative(&host);
    ASSERT_TRUE(relative.LoadFile("run.2.txt"));
    EXPECT_TRUE(std::filesystem::path(relative.filePath).is_absolute());
    EXPECT_EQ(relative.filePath, diagram.filePath);
}

TEST_F(Loader, CarriageReturnBeforeLineFeedIsDropped) {
    ASSERT_TRUE(Load("X=number\r\nT\r\nt;a\r\n1;2\r\n3;4\r5\n6;7"));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(diagram.title, "T");
    EXPECT_EQ(Column(1), (Strings{"2", "4\r5", "7"})); // a lone CR stays; no final LF needed
}

TEST_F(Loader, ZoomKeepsTheRowsOfTheRangeEndsIncluded) {
    {
        ZoomOpenScope zoom(2.0, 4.0, 0.0, 0.0);
        ASSERT_TRUE(Load("X=number\nT\nt;a\n1;10\n2;20\n3;30\n4;40\nx;0\n4.5;45\n"));
    }
    EXPECT_FALSE(g_bZoomOpen);
    EXPECT_EQ(Column(0), (Strings{"2", "3", "4"}));
    EXPECT_EQ(Column(1), (Strings{"20", "30", "40"}));
    EXPECT_EQ(Column(2).size(), 3u);
}

TEST_F(Loader, DateTimeXBecomesDayNumbers) {
    ASSERT_TRUE(Load("T\nt;a\n01/05/2004 12:00;1\nX=datetime\n01/05/2004 12:00;3.5\n"
                     "2004-01-06;4\n12:30;5\n"));
    EXPECT_EQ(Column(0), (Strings{"01/05/2004 12:00", "37991.500000", "37992.000000", "0.520833"}));
    EXPECT_EQ(Column(1), (Strings{"1", "3.5", "4", "5"}));
}

TEST_F(Loader, ABadDateEndsTheLoadWithItsLine) {
    EXPECT_FALSE(Load("X=datetime\nT\nt;a\n01/05/2004;1\nabc;2\n"));
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0], "Error: Can not get DateTime value from:\n\nabc;2");
    EXPECT_EQ(diagram.values[0].GetSize(), 1);

    RecordingHost other;
    CDiagram separators(&other);
    EXPECT_FALSE(separators.LoadFile(dir.Write("seps.txt", "X=datetime\nT\nt;a\n;;\n").string()));
    ASSERT_EQ(other.warnings.size(), 1u);
    EXPECT_EQ(other.warnings[0], "Error: Can not get DateTime value from:\n\n;;");
}

TEST_F(Loader, FilesThatCannotBeReadAreReported) {
    EXPECT_FALSE(diagram.LoadFile((dir.Path() / "missing.txt").string()));
    EXPECT_FALSE(diagram.LoadFile(dir.Path().string()));
    ASSERT_EQ(host.warnings.size(), 2u);
    EXPECT_EQ(host.warnings[0],
              "Can not open a file \"" + (dir.Path() / "missing.txt").string() + "\".");
    EXPECT_EQ(host.warnings[1], "Can not open a file \"" + dir.Path().string() + "\".");
    EXPECT_EQ(diagram.title, "The diagram"); // nothing changed
    EXPECT_EQ(diagram.columnCount, 0);

    if (geteuid() != 0) { // root reads whatever the permissions say
        const auto locked = dir.Write("locked.txt", "T\nt;a\n");
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        EXPECT_FALSE(diagram.LoadFile(locked.string()));
        EXPECT_EQ(host.warnings.size(), 3u);
    }
}

TEST_F(Loader, BinaryBytesLoadAsOddTokens) {
    std::string content = "Ti\0tle\n"s;
    content += "a\0b;\xff\xfe;c\n"s;
    content += "1\0;\x80\x81;2\n"s;
    ASSERT_TRUE(Load(content));
    EXPECT_EQ(diagram.title, "Ti\0tle"s);
    EXPECT_EQ(diagram.columnCount, 4);
    EXPECT_EQ(Column(1), (Strings{"\x80\x81"}));
    EXPECT_EQ(ColumnName(diagram.columns[0]), "a"); // the name ends at the NUL byte
}

TEST_F(Loader, LinesOfSeveralMegabytesLoad) {
    const std::string hugeTitle(5'000'000, 'T');
    std::string wideRow = "1;" + std::string(3'000'000, '7');
    ASSERT_TRUE(Load(hugeTitle + "\nt;a\n" + wideRow + "\n2;3\n"));
    EXPECT_EQ(diagram.title.size(), hugeTitle.size());
    EXPECT_EQ(diagram.values[1][0].size(), 3'000'000u);
    EXPECT_EQ(diagram.values[1][1], "3");
}

TEST_F(Loader, ASecondLoadReplacesTheTableAndKeepsSettings) {
    ASSERT_TRUE(Load("X=number\nIntervals=7\nFirst\nt;a;b\n1;2;3\n"));
    diagram.showMarks = true;
    ASSERT_TRUE(Load("Second\nu;v\n5;6\n7;8\n"));
    EXPECT_EQ(diagram.title, "Second");
    EXPECT_FALSE(diagram.xIsNumber);
    EXPECT_EQ(diagram.intervals, 7);
    EXPECT_TRUE(diagram.showMarks);
    EXPECT_EQ(Names(), (Strings{"u", "v", "Spec. for v"}));
    EXPECT_EQ(Column(0), (Strings{"5", "7"}));
}

// The cells view the lines of the load's reader, which is gone once LoadFile
// returns: reading them afterwards would read freed memory.
TEST_F(Loader, CellsAndScratchAreEmptyHoweverTheLoadEnds) {
    const auto expectEmpty = [this](const char* how) {
        SCOPED_TRACE(how);
        std::size_t bytes = 0;
        for (std::string_view cell : diagram.cells)
            bytes += cell.size() + (cell.empty() ? 0 : static_cast<unsigned char>(cell[0]));
        EXPECT_EQ(bytes, 0u);
        EXPECT_TRUE(diagram.cells.IsEmpty());
        EXPECT_TRUE(diagram.scratch.empty());
    };
    ASSERT_TRUE(Load("X=datetime\nT\nt;a;b\n01/05/2004;1;2\n"));
    expectEmpty("loaded");
    EXPECT_FALSE(Load("X=datetime\nT\nt;a\n01/05/2004;1\nabc;2\n"));
    expectEmpty("refused");
    EXPECT_THROW(Load("T\nt;a;b\n1;2;3\n4\n"), InvalidArgumentError);
    expectEmpty("ended by an error");
}

namespace {

// A host that does something to the file while the load waits for its first
// message box, as a user (or another program) might.
class ActingHost : public RecordingHost {
public:
    void ShowWarning(const std::string& text) override {
        RecordingHost::ShowWarning(text);
        if (action)
            std::exchange(action, nullptr)();
    }
    std::function<void()> action;
};

// An unknown command first, then rows well beyond the reader's first block,
// so that most of the file is read after the first message box.
std::string FileWithABoxFirst() {
    std::string content = "Unknown=1\nT\nt;a\n";
    for (int i = 0; i < 200'000; ++i)
        content += std::to_string(i) + ";" + std::to_string(i % 7) + "\n";
    return content;
}

long long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// The rows of a load, X cells only.
std::vector<std::string> XCells(const CDiagram& diagram) {
    std::vector<std::string> cells;
    for (int r = 0; r < diagram.values[0].GetSize(); ++r)
        cells.emplace_back(diagram.values[0][r]);
    return cells;
}

} // namespace

// Growth is no change of what was read: the load takes the file as it was
// when the read began, and leaves what came since for the next read. A file
// replaced by a rename is read whole as the file that was opened.
TEST(LoaderHonesty, AFileThatGrowsOrIsReplacedWhileItIsReadLoadsAsItWas) {
    struct Case {
        const char* what;
        std::string before; // the file when the read begins
        std::function<void(const std::filesystem::path&)> change;
        int rows;        // the rows the load keeps
        bool appendable; // a refresh can go on from where the load stopped
    };
    const std::string whole = FileWithABoxFirst();
    const std::string cut = whole + "200000;"; // a writer in the middle of a row
    const auto append = [](const auto& p) { std::ofstream(p, std::ios::app) << "5\n7;8\n9;10\n"; };
    const Case cases[] = {
        {"grown", whole, append, 200'000, true},
        {"a last line completed", cut, append, 200'000, true},
        {"replaced", whole,
         [](const auto& p) {
             WriteFile(p.string() + ".new", "T\nt;a\n1;2\n");
             std::filesystem::rename(p.string() + ".new", p);
         },
         200'000, true},
        // Unchanged, a last line without its line feed is a row like any other.
        {"unchanged, no final line feed", cut, nullptr, 200'001, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto path = dir.Write("live.txt", c.before);
        ActingHost host;
        host.action = [&] {
            if (c.change)
                c.change(path);
        };
        CDiagram diagram(&host);
        ASSERT_TRUE(diagram.LoadFile(path.string()));
        EXPECT_EQ(host.warnings.size(), 1u); // the unknown command only
        EXPECT_EQ(diagram.values[0].GetSize(), c.rows);
        EXPECT_EQ(diagram.values[0][199'999], "199999");
        EXPECT_EQ(diagram.lastRead.stamp.size, static_cast<long long>(c.before.size()));
        EXPECT_EQ(diagram.lastRead.appendable, c.appendable);
    }
}

TEST(LoaderHonesty, AFileTruncatedOrRewrittenWhileItIsReadIsRefused) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> change;
    };
    const auto rewrite = [](const std::filesystem::path& p, std::string content) {
        WriteFile(p, content);
        const timespec later[2] = {{0, UTIME_OMIT}, {time(nullptr) + 10, 0}};
        utimensat(AT_FDCWD, p.c_str(), later, 0);
    };
    const Case cases[] = {
        {"truncated", [](const auto& p) { std::filesystem::resize_file(p, 100'000); }},
        {"rewritten, same size",
         [&](const auto& p) {
             std::string content = ReadFile(p);
             content.back() = ' ';
             rewrite(p, content);
         }},
        // The rows read after the rewrite are cut short: the change, not the
        // rows, is what the message names.
        {"rewritten with short rows",
         [&](const auto& p) {
             std::string content = ReadFile(p);
             for (std::size_t at = 0; (at = content.find(';', at)) != std::string::npos;)
                 content[at] = ' ';
             rewrite(p, content);
         }},
        {"rewritten and longer",
         [&](const auto& p) {
             std::string content = ReadFile(p);
             content.replace(content.size() - 7, 7, "1;2\n3;4\n5;6\n");
             rewrite(p, content);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto path = dir.Write("live.txt", FileWithABoxFirst());
        ActingHost host;
        host.action = [&] { c.change(path); };
        CDiagram diagram(&host);
        EXPECT_FALSE(diagram.LoadFile(path.string()));
        ASSERT_EQ(host.warnings.size(), 2u);
        EXPECT_EQ(host.warnings[1],
                  "Can not read a file \"" + path.string() + "\": it changed while it was read.");
    }
}

// A logger writing rows, sometimes half a row at a time, while a file large
// enough for two threads is read: the table is that of the file cut where
// the load began, whichever thread read a row.
TEST(LoaderHonesty, ALoggerAppendingDuringTheReadLeavesTheTableOfTheFileWhenItBegan) {
    TempDir dir;
    std::string content = "T\nt;a;b\n";
    for (int i = 0; content.size() < (12 << 20); ++i)
        content += std::to_string(i) + ";" + std::to_string(i % 97) + ";0." +
                   std::to_string(i % 1000) + "\n";
    const auto path = dir.Write("log.txt", content);
    std::atomic<bool> stop{false};
    std::thread logger([&] {
        std::ofstream out(path, std::ios::app);
        for (long long i = 0; !stop; ++i) {
            out << i << ";" << std::flush;
            out << i % 5 << ";1\n" << std::flush;
        }
    });
    RecordingHost host;
    CDiagram diagram(&host);
    const bool loaded = diagram.LoadFile(path.string());
    stop = true;
    logger.join();
    ASSERT_TRUE(loaded) << (host.warnings.empty() ? "" : host.warnings.back());

    const long long seen = diagram.lastRead.stamp.size;
    ASSERT_GE(seen, static_cast<long long>(content.size()));
    std::string cutAtTheStart = ReadFile(path).substr(0, static_cast<std::size_t>(seen));
    cutAtTheStart.erase(cutAtTheStart.rfind('\n') + 1); // a half row waits for its end
    RecordingHost otherHost;
    CDiagram reference(&otherHost);
    ASSERT_TRUE(reference.LoadFile(dir.Write("cut.txt", cutAtTheStart).string(),
                                   LoadLimits{.twoThreadsFrom = 1LL << 62}));
    EXPECT_EQ(XCells(diagram), XCells(reference));
    EXPECT_EQ(diagram.values[2].GetSize(), reference.values[2].GetSize());
    EXPECT_TRUE(diagram.lastRead.appendable);
    EXPECT_EQ(diagram.lastRead.end, static_cast<long long>(cutAtTheStart.size()));
}

// Reading a FIFO would wait for a writer, a device might never end: the
// viewer's loads refuse both at once, a batch tool may read them.
TEST(LoaderBounds, FifosSocketsAndDevicesAreRefusedAtOnce) {
    TempDir dir;
    const NonRegularFiles files(dir.Path());
    const std::string& fifo = files.fifo;
    const std::string& socketPath = files.socket;
    RecordingHost host;
    CDiagram diagram(&host);
    for (const std::string& path : {fifo, socketPath, std::string("/dev/zero")})
        EXPECT_FALSE(diagram.LoadFile(path));
    EXPECT_EQ(
        host.warnings,
        (Strings{"Can not read a file \"" + fifo + "\": it is not a regular file (a FIFO).",
                 "Can not read a file \"" + socketPath + "\": it is not a regular file (a socket).",
                 "Can not read a file \"/dev/zero\": it is not a regular file (a character "
                 "device)."}));
}

TEST(LoaderBounds, EndlessInputAndTooManyRowsStopWithAMessage) {
    RecordingHost host;
    CDiagram diagram(&host);
    EXPECT_FALSE(
        diagram.LoadFile("/dev/zero", LoadLimits{.maxBytes = 4 << 20, .onlyRegularFiles = false}));
    TempDir dir;
    const auto rows = dir.Write("rows.txt", "T\nt;a\n1;1\n2;2\n3;3\n4;4\n");
    EXPECT_FALSE(diagram.LoadFile(rows.string(), LoadLimits{.maxRows = 3}));
    EXPECT_TRUE(diagram.LoadFile(rows.string(), LoadLimits{.maxRows = 4}));
    EXPECT_EQ(host.warnings,
              (Strings{"Can not read a file \"/dev/zero\": it is longer than 4 MiB.",
                       "Can not read a file \"" + rows.string() + "\": it has more than 3 rows."}));
}

// The file says 100 GiB, but holds 12 KB of data and then nothing: the load
// must take memory for what it read, not for what the size promises.
TEST(LoaderBounds, ASparseFileCostsMemoryForItsDataNotItsSize) {
    TempDir dir;
    std::string header = "t", row = "0";
    for (int i = 1; i < 2000; ++i) {
        header += ";c" + std::to_string(i);
        row += ";1";
    }
    const auto path = dir.Write("sparse.txt", "T\n" + header + "\n" + row + "\n" + row + "\n");
    if (truncate(path.c_str(), 100LL << 30) != 0)
        GTEST_SKIP() << "the file system holds no sparse file of 100 GiB";
    RecordingHost host;
    CDiagram diagram(&host);
    const long long before = ResidentBytes();
    EXPECT_FALSE(diagram.LoadFile(path.string(), LoadLimits{.maxLineBytes = 1 << 20}));
    EXPECT_LT(ResidentBytes() - before, 64LL << 20);
    EXPECT_EQ(diagram.values[0].GetSize(), 2);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0],
              "Can not read a file \"" + path.string() + "\": line 5 is longer than 1 MiB.");
}

TEST_F(Loader, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
    ASSERT_TRUE(Load("\xEF\xBB\xBFX=number\nT\nt;a\n1;2\n"));
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_TRUE(diagram.xIsNumber);
    ASSERT_TRUE(Load("\xEF\xBB\xBFTitle\n\xEF\xBB\xBFt;a\n"));
    EXPECT_EQ(diagram.title, "Title");
    EXPECT_EQ(Names()[0], "\xEF\xBB\xBFt"); // only before the first line
}
