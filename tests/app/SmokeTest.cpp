// The real executable on the X11 platform: its main window must appear, so a
// plugin or library missing at run time fails here; and File > Exit must end
// it cleanly (under the sanitizers, with nothing freed twice or leaked).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(Executable, MainWindowAppearsUnderXvfbAndExitEndsTheProgram) {
    const std::string xvfbRun = "/usr/bin/xvfb-run";
    if (!std::filesystem::exists(xvfbRun) || std::system("command -v xdotool > /dev/null") != 0)
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";
    // Exit through the keyboard: Alt+F opens the File menu, x is Exit. The
    // program's own exit code is the script's (3: no window, 4: no exit).
    const std::string script =
        "env QT_QPA_PLATFORM=xcb \"$0\" & pid=$!; "
        "w=$(timeout 30 xdotool search --sync --onlyvisible --name '^Kelvaro$' | head -n 1); "
        "if [ -z \"$w\" ]; then kill $pid; wait $pid; exit 3; fi; "
        "for try in 1 2 3; do "
        "  xdotool windowfocus --sync \"$w\" key --window \"$w\" alt+f; sleep 1; xdotool key x; "
        "  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
        "  kill -0 $pid 2>/dev/null || break; "
        "done; "
        "if kill -0 $pid 2>/dev/null; then kill $pid; wait $pid; exit 4; fi; "
        "wait $pid";
    const ProcessResult result = RunProcess(
        xvfbRun, {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", script, KELVARO_VIEWER_PATH});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}
