#include "app/KeyboardLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace {

Display* X11Display() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

} // namespace

bool KeyboardLocksReadable() {
    return X11Display() != nullptr;
}

KeyboardLocks ReadKeyboardLocks() {
    Display* display = X11Display();
    if (!display)
        return {};
    unsigned int lights = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &lights) != Success)
        return {};
    // The core keyboard's first three indicators are Caps, Num and Scroll Lock.
    return KeyboardLocks{(lights & 1u) != 0, (lights & 2u) != 0, (lights & 4u) != 0};
}
