// kelvaro-cli in pipelines: "-" reads standard input, and render draws
// several files into a folder.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

ProcessResult Cli(const std::vector<std::string>& args, const fs::path& cwd = {}) {
    return RunProcess(KELVARO_CLI_PATH, args, cwd);
}

// Runs the tool with input on its standard input: through a pipe, as a file
// redirected to it, or with standard input closed.
enum class Feed { Pipe, Redirect, Closed };

ProcessResult CliReading(Feed feed, const fs::path& input, const std::vector<std::string>& args,
                         const fs::path& cwd = {}) {
    const char* script = feed == Feed::Pipe       ? "cat \"$0\" | \"$@\""
                         : feed == Feed::Redirect ? "\"$@\" < \"$0\""
                                                  : "\"$@\" <&-";
    std::vector<std::string> all = {"-c", script, input.string(), KELVARO_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess("/bin/sh", all, cwd);
}

Json Parse(const ProcessResult& r) {
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return Json::parse(r.out);
}

std::set<std::string> FileNames(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// The picture that render FILE -o writes.
std::string SingleRender(const std::string& file, const fs::path& dir) {
    const fs::path out = dir / "single.png";
    const ProcessResult r = Cli({"render", file, "-o", out.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string picture = ReadFile(out);
    fs::remove(out);
    return picture;
}

} // namespace

// The table read through a pipe or a redirection is the one read from the
// file; only the names differ. A table larger than a pipe's buffer arrives
// in many reads, with lines split between them.
TEST(CliStandardInput, DumpIsThatOfTheFile) {
    TempDir dir;
    std::string big = "X=number\nLarge\nt;a;b\n";
    for (int i = 0; big.size() < 300'000; ++i)
        big += std::to_string(i) + ";" + std::to_string(i % 89) + ".25;" + std::to_string(i % 7) +
               "\n";
    std::vector<fs::path> inputs = {dir.Write("large.txt", big)};
    for (const char* name :
         {"pump_test.txt", "logger_datetime.txt", "word_labels.txt", "sinusoid.txt"})
        inputs.push_back(ExamplePath(name));
    for (const fs::path& input : inputs) {
        Json fromFile = Parse(Cli({"dump", input.string()}));
        for (const Feed feed : {Feed::Pipe, Feed::Redirect}) {
            SCOPED_TRACE(input.filename().string() +
                         (feed == Feed::Pipe ? " piped" : " redirected"));
            Json fromInput = Parse(CliReading(feed, input, {"dump", "-"}));
            EXPECT_EQ(fromInput["filePath"], "/dev/stdin");
            EXPECT_EQ(fromInput["fileName"], "stdin");
            EXPECT_EQ(fromInput["fileTitle"], "stdin");
            for (const char* name : {"filePath", "fileName", "fileTitle"}) {
                fromInput.erase(name);
                fromFile.erase(name);
            }
            EXPECT_EQ(fromInput, fromFile);
        }
    }
}

// Messages name the file "standard input" where they would give its path.
TEST(CliStandardInput, MessagesNameIt) {
    TempDir dir;
    const fs::path odd = dir.Write("odd.txt", "Colour=red\nT\nt;a\n1;2\n");
    const fs::path empty = dir.Write("empty.txt", "");
    const struct {
        Feed feed;
        fs::path input;
        int exitCode;
        std::string err;
    } cases[] = {
        {Feed::Pipe, odd, 0, "warning: Not known command:\n\nColour=red\n\nstandard input\n"},
        {Feed::Closed, odd, 1,
         "warning: Can not open a file \"standard input\". (" + std::string(std::strerror(ENOENT)) +
             ")\n"},
        {Feed::Pipe, empty, 1,
         "warning: Invalid argument.\n\nThe file has no header line naming its columns.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const ProcessResult r = CliReading(c.feed, c.input, {"info", "-"});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.err, c.err);
    }
}

// One bad file among good ones: the good pictures are written, exactly as
// render FILE -o draws them, each failure is named, and the exit code is 1.
TEST(CliRenderSeveral, GoodFilesAreDrawnAndEachFailureIsNamed) {
    TempDir dir;
    fs::create_directory(dir.Path() / "pictures");
    dir.Write("noheader.txt", "X=number\nOnly a title\n");
    const std::string pump = ExamplePath("pump_test.txt").string();
    const std::string sinusoid = ExamplePath("sinusoid.txt").string();
    const ProcessResult r =
        Cli({"render", pump, "missing.txt", "noheader.txt", sinusoid, "--output-dir", "pictures"},
            dir.Path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "warning: Can not open a file \"" + (dir.Path() / "missing.txt").string() +
                         "\". (" + std::strerror(ENOENT) +
                         ")\n"
                         "error: missing.txt: no picture written\n"
                         "warning: Invalid argument.\n\nThe file has no header line naming its "
                         "columns.\n"
                         "error: noheader.txt: no picture written\n");
    EXPECT_EQ(FileNames(dir.Path() / "pictures"),
              (std::set<std::string>{"pump_test.png", "sinusoid.png"}));
    EXPECT_EQ(ReadFile(dir.Path() / "pictures" / "pump_test.png"), SingleRender(pump, dir.Path()));
    EXPECT_EQ(ReadFile(dir.Path() / "pictures" / "sinusoid.png"),
              SingleRender(sinusoid, dir.Path()));
}

TEST(CliRenderSeveral, FormatOptionAndStandardInput) {
    TempDir dir;
    const fs::path pictures = dir.Path() / "pictures";
    fs::create_directory(pictures);
    const fs::path labels = ExamplePath("word_labels.txt");
    ProcessResult r = CliReading(Feed::Pipe, labels,
                                 {"render", ExamplePath("pump_test.txt").string(), "-",
                                  "--output-dir", pictures.string(), "--format", "SVG"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FileNames(pictures), (std::set<std::string>{"pump_test.svg", "stdin.svg"}));
    EXPECT_NE(ReadFile(pictures / "stdin.svg").find("<svg"), std::string::npos);

    fs::remove_all(pictures);
    fs::create_directory(pictures);
    r = CliReading(Feed::Pipe, labels, {"render", "-", "--output-dir", pictures.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FileNames(pictures), std::set<std::string>{"stdin.png"});
    EXPECT_EQ(ReadFile(pictures / "stdin.png"), SingleRender(labels.string(), dir.Path()));
}

TEST(CliRenderSeveral, UsageErrorsDrawNothing) {
    TempDir dir;
    fs::create_directory(dir.Path() / "pictures");
    const std::string pump = ExamplePath("pump_test.txt").string();
    const std::string sinusoid = ExamplePath("sinusoid.txt").string();
    const std::vector<std::vector<std::string>> cases = {
        {pump, sinusoid, "-o", "one.png"},                   // several files, one picture
        {pump},                                              // no picture named
        {pump, "-o", "one.png", "--output-dir", "pictures"}, // both
        {pump, "--output-dir", "absent"},                    // no such folder
        {pump, "--output-dir", "pictures", "--format", "gif"},
        {pump, "-o", "one.png", "--format", "svg"},              // not the file's format
        {pump, "--output-dir", "pictures", "--trace"},           // traces would run together
        {pump, "sub/pump_test.txt", "--output-dir", "pictures"}, // two pump_test.png
        {"-", "-", "--output-dir", "pictures"},
        {"folder/", "--output-dir", "pictures"}, // no name for the picture
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        std::vector<std::string> all = {"render"};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult r = Cli(all, dir.Path());
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(FileNames(dir.Path()), std::set<std::string>{"pictures"});
    EXPECT_TRUE(fs::is_empty(dir.Path() / "pictures"));
}
