// kelvaro: the desktop viewer of measured-data tables.
#include "app/CKelvaroApp.h"

#include "KelvaroVersion.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr char kHelp[] =
    R"(Usage: kelvaro [OPTION]... [FILE]...
Show tables of measured data as curves: each data file opens in its own window
inside the main window, its columns drawn over a common X axis.

Each FILE opens as File > Open... opens it, in the order given, each in its
own window; a file that cannot be read is named in a message box and the
others still open. A plain CSV file (a header line naming the columns, then
rows of numbers) is read as such. While a viewer runs on this display, a new
start hands its files to that viewer, which opens them and comes to the
front, and the new start ends at once.

Files can also be opened with File > Open... (Ctrl+O), from the recent files
of the File menu, or by dropping them on the main window. Help > Help Topics
(F1) describes the file format, the mouse, the keys and every command.

The window needs a display (DISPLAY or WAYLAND_DISPLAY). The batch tool
kelvaro-cli draws and reports on data files without one.

Qt's own options, such as -platform NAME and -style NAME, are honoured. An
option Kelvaro does not know, or a folder, is named on stderr and left out.

Options:
  -h, --help        show this help and exit
      --version     show the version and exit
      --new-window  open the files in a main window of their own, even while
                    a viewer runs on this display
      --            end of the options: every later argument is a file

Exit status:
  0 when the viewer ran and was closed, or handed its files to the viewer
  that runs; 1 when it cannot start (no display, no platform plugin).

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

// Qt ends the process with a page of text when no platform plugin can show
// a window (on Wayland without qt6-wayland, say). While the application is
// made, its plugin notes are kept back, and that end is said in one line.
QString g_platformNote;

void PlatformMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "kelvaro: no Qt platform plugin could show the window%s\n",
                     g_platformNote.isEmpty()
                         ? ""
                         : qUtf8Printable(QStringLiteral(" (") + g_platformNote + u')'));
        std::_Exit(1);
    }
    if (context.category && std::string_view(context.category) == "qt.qpa.plugin") {
        g_platformNote = message;
        return;
    }
    std::fprintf(stderr, "%s\n", qUtf8Printable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerHelpOrVersion(argc, argv))
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    if (!HasDisplay()) {
        std::fprintf(stderr, "kelvaro: no display to show the window on (DISPLAY is not set)\n");
        return 1;
    }
    qInstallMessageHandler(PlatformMessage);
    CKelvaroApp app(argc, argv);
    qInstallMessageHandler(nullptr);
    if (!app.InitInstance())
        return 1;
    if (app.HandedOver())
        return 0;
    return app.exec();
}
