// kelvaro-cli dump and info end to end: the built tool on real files.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>

namespace {

using Json = nlohmann::json;

ProcessResult Cli(const std::vector<std::string>& args, const std::filesystem::path& cwd = {}) {
    return RunProcess(KELVARO_CLI_PATH, args, cwd);
}

Json Parse(const ProcessResult& r) {
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return Json::parse(r.out);
}

} // namespace

TEST(CliDump, EveryExampleLoadsWithoutAWarning) {
    for (const char* name : {"pump_test.txt", "logger_datetime.txt", "word_labels.txt",
                             "sinusoid.txt", "plain_logger.csv"}) {
        SCOPED_TRACE(name);
        const ProcessResult r = Cli({"dump", ExamplePath(name).string()});
        EXPECT_EQ(r.err, "");
        const Json d = Parse(r);
        EXPECT_GE(d["columnCount"].get<int>(), 3);
        const auto rows = d["columns"][0]["cells"].size();
        EXPECT_GT(rows, 10u);
        for (const auto& column : d["columns"])
            EXPECT_EQ(column["cells"].size(), rows);
    }
}

TEST(CliDump, APlainCsvExampleIsNamedByItsHeader) {
    const Json d = Parse(Cli({"info", ExamplePath("plain_logger.csv").string()}));
    EXPECT_EQ(d["title"], "plain_logger.csv");
    EXPECT_TRUE(d["xIsDateTime"].get<bool>());
    ASSERT_EQ(d["columns"].size(), 5u);
    EXPECT_EQ(d["columns"][0]["name"], "timestamp");
    EXPECT_EQ(d["columns"][3]["name"], "pressure_hPa");
    EXPECT_EQ(d["rowCount"], 48);
}

TEST(CliDump, WritesEveryFieldOfTheDiagram) {
    TempDir dir;
    dir.Write("run.2.txt", "X=datetime\nTimer=500\nXmin=1.5\nLog\nt;a;b\n01/05/2004 12:00;1;2\n"
                           "01/05/2004 13:00;3;4\n");
    const Json d = Parse(Cli({"dump", "run.2.txt"}, dir.Path()));
    EXPECT_EQ(d["title"], "Log");
    EXPECT_EQ(d["xIsNumber"], false);
    EXPECT_EQ(d["xIsDateTime"], true);
    EXPECT_EQ(d["timerPeriod"], 500);
    EXPECT_EQ(d["intervals"], 100);
    EXPECT_EQ(d["fileXmin"], 1.5);
    EXPECT_EQ(d["fileXdelta"], 0.0);
    EXPECT_EQ(d["minorTicks"], 0);
    EXPECT_EQ(d["filePath"], (dir.Path() / "run.2.txt").string());
    EXPECT_EQ(d["fileTitle"], "run");
    EXPECT_EQ(d["fileName"], "run.2.txt");
    EXPECT_EQ(d["columnCount"], 4);
    EXPECT_EQ(d["spectrumSize"], 2);
    const Json& columns = d["columns"];
    EXPECT_EQ(columns[0]["cells"], Json({"37991.500000", "37991.541667"}));
    EXPECT_EQ(columns[1]["name"], "a");
    EXPECT_EQ(columns[1]["color"], "#0000FF");
    EXPECT_EQ(columns[1]["visible"], true);
    EXPECT_EQ(columns[1]["markSize"], 5);
    EXPECT_EQ(columns[2]["color"], "#FF0000");
    EXPECT_EQ(columns[3]["name"], "Spec. for a");
    EXPECT_EQ(columns[3]["color"], "#960096");
    EXPECT_EQ(columns[3]["cells"], Json({"2.000000", "0.0"}));
}

TEST(CliInfo, LeavesOutTheCellsAndCountsTheRows) {
    const Json d = Parse(Cli({"info", ExamplePath("word_labels.txt").string()}));
    EXPECT_EQ(d["rowCount"], 12);
    EXPECT_EQ(d["columnCount"], 5);
    EXPECT_FALSE(d["columns"][0].contains("cells"));
    EXPECT_EQ(d["columns"][0]["name"], "Month");
}

TEST(CliLoadOptions, XRangeAndSpectrumColumn) {
    const std::string pump = ExamplePath("pump_test.txt").string();
    const Json zoomed = Parse(Cli({"dump", pump, "--x-range", "2", "3.5"}));
    EXPECT_EQ(zoomed["columns"][0]["cells"], Json({"2", "2.5", "3", "3.5"}));

    const Json third = Parse(Cli({"info", pump, "--spectrum-column", "2"}));
    EXPECT_EQ(third["columns"][4]["name"], "Spec. for Level");

    const ProcessResult missing = Cli({"info", pump, "--spectrum-column", "3"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.rfind("warning: Invalid argument.", 0), 0u) << missing.err;
    EXPECT_EQ(missing.out, "");
}

TEST(CliErrors, BadInputGivesAMessageAndExitCodeOne) {
    TempDir dir;
    dir.Write("noheader.txt", "X=number\nOnly a title\n");
    dir.Write("short.txt", "T\nt;a;b\n1;2;3\n4\n");
    dir.Write("oneheader.txt", "T\nt\n1\n");
    dir.Write("baddate.txt", "X=datetime\nT\nt;a\nsoon;1\n");
    const struct {
        const char* file;
        const char* errorStart;
    } cases[] = {
        {"missing.txt", "warning: Can not open a file \""},
        {".", "warning: Can not open a file \""},
        {"noheader.txt", "warning: Invalid argument.\n\nThe file has no header line"},
        {"short.txt", "warning: Invalid argument.\n\nLine 4 has 1 value(s)"},
        {"oneheader.txt", "warning: Error: File has an incorrect format\n\n"},
        {"baddate.txt", "warning: Error: Can not get DateTime value from:\n\nsoon;1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const ProcessResult r = Cli({"dump", c.file}, dir.Path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.rfind(c.errorStart, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// A file the system cannot open: the loader's message, then the system's
// reason in parentheses, and exit code 1 with nothing on stdout. Every
// loading command says it alike.
TEST(CliErrors, OpenFailuresEndWithTheSystemsReason) {
    TempDir dir;
    const std::filesystem::path file = dir.Write("table.txt", "T\nt;a\n1;2\n");
    const struct {
        std::filesystem::path path;
        int error;
    } cases[] = {
        {dir.Path() / "missing.txt", ENOENT},
        {file / "x", ENOTDIR},
        {dir.Path(), EISDIR},
    };
    for (const auto& c : cases) {
        for (const char* command : {"info", "dump", "interpolate"}) {
            SCOPED_TRACE(c.path.string() + " " + command);
            const ProcessResult r = Cli({command, c.path.string()}, dir.Path());
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "warning: Can not open a file \"" + c.path.string() + "\". (" +
                                 std::strerror(c.error) + ")\n");
        }
    }
}

TEST(CliErrors, UnknownCommandLinesWarnButLoad) {
    TempDir dir;
    dir.Write("odd.txt", "Colour=red\nT\nt;a\n1;2\n");
    const ProcessResult r = Cli({"info", "odd.txt"}, dir.Path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "warning: Not known command:\n\nColour=red\n\n" +
                         (dir.Path() / "odd.txt").string() + "\n");
    EXPECT_EQ(Json::parse(r.out)["rowCount"], 1);
}

TEST(CliErrors, BinaryTextIsShownWithReplacementCharacters) {
    TempDir dir;
    dir.Write("bin.txt", std::string("T\n\xff\xfe;b\x00;c\n1;2;3\n", 16));
    const Json d = Parse(Cli({"dump", "bin.txt"}, dir.Path()));
    EXPECT_EQ(d["columns"][0]["name"], "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(d["columns"][1]["name"], "b");
}

TEST(CliErrors, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"dump"},
                                               {"frobnicate", "x"},
                                               {"info", "x", "--x-range", "1"},
                                               {"info", "x", "--spectrum-column", "two"}}) {
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]) << ": " << r.err;
    }
    EXPECT_EQ(Cli({"--help"}).exitCode, 0);
}

// dump writes its JSON as it goes; the layout stays exactly that of a whole
// document written with two spaces of indent, also for an empty cell array
// and text that is not UTF-8.
TEST(CliDump, StreamedLayoutIsThatOfTheWholeDocument) {
    TempDir dir;
    dir.Write("empty.txt", "T\nt;a\n");
    dir.Write("bin.txt", "T\"\\\n\xff;b\x01\n1;\xc3\n");
    std::vector<std::string> files = {"empty.txt", "bin.txt"};
    for (const char* name :
         {"pump_test.txt", "logger_datetime.txt", "word_labels.txt", "sinusoid.txt"})
        files.push_back(ExamplePath(name).string());
    for (const std::string& file : files) {
        for (const char* command : {"dump", "info"}) {
            SCOPED_TRACE(file + " " + command);
            const ProcessResult r = Cli({command, file}, dir.Path());
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(FirstDifference(nlohmann::ordered_json::parse(r.out).dump(2) + "\n", r.out),
                      "");
        }
    }
}

TEST(CliErrors, SpectrumColumnOutsideTheTableIsAMessage) {
    const std::string pump = ExamplePath("pump_test.txt").string();
    for (const char* column : {"2147483647", "-2147483648", "-1", "3"}) {
        SCOPED_TRACE(column);
        const ProcessResult r = Cli({"info", pump, "--spectrum-column", column});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, std::string("warning: Invalid argument.\n\n--spectrum-column ") + column +
                             ": the table has no data column " + column +
                             " (its data columns are 0 to 2)\n");
        EXPECT_EQ(r.out, "");
    }
}

// Control bytes of a file (an ESC would drive the terminal) are written as
// \xNN; line breaks and tabs stay as they are.
TEST(CliErrors, ControlBytesInMessagesAreEscaped) {
    TempDir dir;
    dir.Write("esc.txt", "Col\x1b[2J\r=\x7f\tred\nT\nt;a\n1;2\n");
    const ProcessResult r = Cli({"info", "esc.txt"}, dir.Path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "warning: Not known command:\n\nCol\\x1b[2J\\x0d=\\x7f\tred\n\n" +
                         (dir.Path() / "esc.txt").string() + "\n");
}

// Under a limit of its address space the tool cannot hold the table: it says
// what ran out and where, instead of the allocator's own word. (Sanitizers
// reserve more address space than any such limit allows.)
TEST(CliErrors, OutOfMemoryNamesTheFileAndHowFarTheLoadGot) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer cannot run under an address-space limit";
#else
    TempDir dir;
    std::string content = "X=number\nBig\nt;a;b;c;d\n";
    for (int i = 0; content.size() < 40'000'000; ++i)
        content += std::to_string(i) + ";" + std::to_string(i % 97) + ".5;" +
                   std::to_string(i % 13) + ";0.25;1\n";
    const std::string path = dir.Write("big.txt", content).string();
    const ProcessResult r = RunProcess(
        "/bin/sh", {"-c", "ulimit -v 120000 && exec \"$0\" info \"$1\"", KELVARO_CLI_PATH, path});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    const std::string start = "warning: Not enough memory to load \"" + path + "\" (";
    EXPECT_EQ(r.err.rfind(start, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(" MB read of 40 MB).\n"), std::string::npos) << r.err;
#endif
}
