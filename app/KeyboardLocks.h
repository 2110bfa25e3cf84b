// The state of the Caps Lock, Num Lock and Scroll Lock keys, as the keyboard's
// indicator lights show it; all off where the platform cannot tell.
#pragma once

struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

KeyboardLocks ReadKeyboardLocks();

// Whether this platform tells the lights at all: only X11 does (not Wayland,
// nor the offscreen platform).
bool KeyboardLocksReadable();
