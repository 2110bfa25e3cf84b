#include "app/KeyboardLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

KeyboardLocks ReadKeyboardLocks() {
    // Only the X11 platform tells; the offscreen and other platforms do not.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return {};
    unsigned int lights = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &lights) != Success)
        return {};
    // The core keyboard's first three indicators are Caps, Num and Scroll Lock.
    return KeyboardLocks{(lights & 1u) != 0, (lights & 2u) != 0, (lights & 4u) != 0};
}
