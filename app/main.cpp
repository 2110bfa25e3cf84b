// kelvaro: the desktop viewer of measured-data tables.
#include "app/CKelvaroApp.h"

#include "KelvaroVersion.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr char kHelp[] =
    R"(Usage: kelvaro [OPTION]...
Show tables of measured data as curves: each data file opens in its own window
inside the main window, its columns drawn over a common X axis.

Files are opened with File > Open... (Ctrl+O) or by dropping them on the main
window; a file named on the command line is not opened. The File menu lists
the last files opened. Help > Help Topics (F1) describes the file format, the
mouse, the keys and every command.

The window needs a display (DISPLAY or WAYLAND_DISPLAY). The batch tool
kelvaro-cli draws and reports on data files without one.

Qt's own options, such as -platform NAME and -style NAME, are honoured; other
arguments are ignored.

Options:
  -h, --help     show this help and exit
      --version  show the version and exit

Files:
  $XDG_CONFIG_HOME/Tarnvik/Kelvaro.conf (~/.config/Tarnvik/Kelvaro.conf by
  default) keeps the settings and the list of recent files.
)";

// Help and version are answered before anything needs a display. The result
// is true when one was asked for and written.
bool AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kHelp, stdout);
            return true;
        }
        if (argument == "--version") {
            std::printf("%s\n", kKelvaroNameAndVersion);
            return true;
        }
    }
    return false;
}

// Without a display Qt would abort with a long message; say it in one line.
bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerHelpOrVersion(argc, argv))
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    if (!HasDisplay()) {
        std::fprintf(stderr, "kelvaro: no display to show the window on (DISPLAY is not set)\n");
        return 1;
    }
    CKelvaroApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
