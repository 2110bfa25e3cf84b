// What both programs say about themselves on the command line: the version
// the About box shows, and the viewer's help, which needs no display.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Runs program with no display in its environment.
ProcessResult RunWithoutDisplay(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-u", "DISPLAY",         "-u",   "WAYLAND_DISPLAY",
                                    "-u", "QT_QPA_PLATFORM", program};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess("/usr/bin/env", all);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Version, BothProgramsSayTheAboutBoxText) {
    for (const char* program : {KELVARO_VIEWER_PATH, KELVARO_CLI_PATH}) {
        SCOPED_TRACE(program);
        const ProcessResult r = RunWithoutDisplay(program, {"--version"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, "Kelvaro 1.5\n");
        EXPECT_EQ(r.err, "");
    }
}

TEST(ViewerCommandLine, HelpNeedsNoDisplayAndSaysHowFilesAreOpened) {
    for (const char* option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const ProcessResult r =
            RunWithoutDisplay(KELVARO_VIEWER_PATH, {"-style", "fusion", option});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Usage: kelvaro [OPTION]... [FILE]...\n", 0), 0u) << r.out;
        EXPECT_TRUE(Contains(r.out, "Each FILE opens as File > Open... opens it")) << r.out;
        EXPECT_TRUE(Contains(r.out, "a new\nstart hands its files to that viewer")) << r.out;
        EXPECT_TRUE(Contains(r.out, "by dropping them on the main window")) << r.out;
        EXPECT_TRUE(Contains(r.out, "\n      --version  ")) << r.out;
        EXPECT_TRUE(Contains(r.out, "\n      --new-window  ")) << r.out;
    }
}

// Anything else still starts the window, so it still needs a display.
TEST(ViewerCommandLine, OtherArgumentsStillNeedADisplay) {
    const ProcessResult r = RunWithoutDisplay(KELVARO_VIEWER_PATH, {"data.txt", "--helpful"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kelvaro: no display to show the window on (DISPLAY is not set)\n");
}

TEST(BatchToolCommandLine, HelpOfEveryCommandNamesItsOptions) {
    const ProcessResult r = RunProcess(KELVARO_CLI_PATH, {"--help-all"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* part : {"\ndump\n", "\ninfo\n", "\ninterpolate\n", "\ncorrelate\n",
                             "\nrender\n", "--output-dir DIR", "--x-range FROM TO"})
        EXPECT_TRUE(Contains(r.out, part)) << part;
}
