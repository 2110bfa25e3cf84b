// The real executable on the X11 platform: its main window must appear, so a
// plugin or library missing at run time fails here.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(Executable, MainWindowAppearsUnderXvfb) {
    const std::string xvfbRun = "/usr/bin/xvfb-run";
    if (!std::filesystem::exists(xvfbRun) || std::system("command -v xdotool > /dev/null") != 0)
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";
    const std::string script =
        "env QT_QPA_PLATFORM=xcb \"$0\" & pid=$!; "
        "timeout 20 xdotool search --sync --onlyvisible --name '^Kelvaro$' > /dev/null; "
        "found=$?; kill $pid 2>/dev/null; wait $pid 2>/dev/null; exit $found";
    const ProcessResult result = RunProcess(
        xvfbRun, {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script, KELVARO_VIEWER_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}
