// kelvaro: the desktop viewer of measured-data tables.
#include "app/CKelvaroApp.h"

#include <cstdio>
#include <cstdlib>

namespace {

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
    if (!HasDisplay()) {
        std::fprintf(stderr, "kelvaro: no display to show the window on (DISPLAY is not set)\n");
        return 1;
    }
    CKelvaroApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
