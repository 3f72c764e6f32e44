// What an X11 key is in the platform's terms: its virtual-key code, scan code and whether it is
// one of the extended keys.
#pragma once

#include <X11/Xlib.h>

namespace pal::win::x11 {

struct KeyInfo {
    int virtualKey = 0;
    unsigned scanCode = 0;
    bool extended = false;
};

// From the key's code (its place on the keyboard, for the letters, digits and punctuation, so
// that every layout gives the same codes) and its unshifted symbol (for the rest).
KeyInfo keyInfo(unsigned keycode, KeySym unshifted);

} // namespace pal::win::x11
