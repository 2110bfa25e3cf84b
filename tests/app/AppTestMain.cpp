// The viewer's tests run in one main window of their own: --new-window keeps
// it off the session bus, so a viewer the user runs is never handed anything.
#include "AppTestSupport.h"

int main(int argc, char** argv) {
    return RunWithViewer(argc, argv, {"--new-window"});
}
