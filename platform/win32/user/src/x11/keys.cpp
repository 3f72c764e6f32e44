#include "keys.h"

#include "win/user.h"

#include <cstring>

#include <X11/keysym.h>

namespace pal::win::x11 {
namespace {

// The keyboard's main block by key code (the Linux input codes plus 8, as X servers number
// them): the same virtual keys whatever symbols the layout puts on the keys.
struct ByCode {
    unsigned first;
    const char* keys; // one virtual key per code from `first` on
};
constexpr ByCode kRows[] = {
    {10, "1234567890"},
    {24, "QWERTYUIOP"},
    {38, "ASDFGHJKL"},
    {52, "ZXCVBNM"},
};
struct Punctuation {
    unsigned code;
    int virtualKey;
};
constexpr Punctuation kPunctuation[] = {
    {20, VK_OEM_MINUS}, {21, VK_OEM_PLUS},   {34, VK_OEM_4}, {35, VK_OEM_6},
    {47, VK_OEM_1},     {48, VK_OEM_7},      {49, VK_OEM_3}, {51, VK_OEM_5},
    {59, VK_OEM_COMMA}, {60, VK_OEM_PERIOD}, {61, VK_OEM_2}, {94, VK_OEM_102},
};

struct BySymbol {
    KeySym symbol;
    int virtualKey;
    unsigned scan; // for keys whose code is not their scan code
    bool extended;
};
constexpr BySymbol kSymbols[] = {
    {XK_Escape, VK_ESCAPE, 0, false},
    {XK_BackSpace, VK_BACK, 0, false},
    {XK_Tab, VK_TAB, 0, false},
    {XK_ISO_Left_Tab, VK_TAB, 0, false},
    {XK_Return, VK_RETURN, 0, false},
    {XK_KP_Enter, VK_RETURN, 0x1C, true},
    {XK_space, VK_SPACE, 0, false},
    {XK_Shift_L, VK_SHIFT, 0, false},
    {XK_Shift_R, VK_SHIFT, 0, false},
    {XK_Control_L, VK_CONTROL, 0, false},
    {XK_Control_R, VK_CONTROL, 0x1D, true},
    {XK_Alt_L, VK_MENU, 0, false},
    {XK_Meta_L, VK_MENU, 0, false},
    {XK_Alt_R, VK_MENU, 0x38, true},
    {XK_ISO_Level3_Shift, VK_MENU, 0x38, true},
    {XK_Super_L, VK_LWIN, 0x5B, true},
    {XK_Super_R, VK_RWIN, 0x5C, true},
    {XK_Menu, VK_APPS, 0x5D, true},
    {XK_Caps_Lock, VK_CAPITAL, 0, false},
    {XK_Num_Lock, VK_NUMLOCK, 0x45, false},
    {XK_Scroll_Lock, VK_SCROLL, 0, false},
    {XK_Print, VK_SNAPSHOT, 0x37, true},
    {XK_Pause, VK_PAUSE, 0x45, false},
    {XK_Insert, VK_INSERT, 0x52, true},
    {XK_Delete, VK_DELETE, 0x53, true},
    {XK_Home, VK_HOME, 0x47, true},
    {XK_End, VK_END, 0x4F, true},
    {XK_Prior, VK_PRIOR, 0x49, true},
    {XK_Next, VK_NEXT, 0x51, true},
    {XK_Left, VK_LEFT, 0x4B, true},
    {XK_Up, VK_UP, 0x48, true},
    {XK_Right, VK_RIGHT, 0x4D, true},
    {XK_Down, VK_DOWN, 0x50, true},
    {XK_KP_Multiply, VK_MULTIPLY, 0, false},
    {XK_KP_Add, VK_ADD, 0, false},
    {XK_KP_Subtract, VK_SUBTRACT, 0, false},
    {XK_KP_Decimal, VK_DECIMAL, 0, false},
    {XK_KP_Delete, VK_DECIMAL, 0, false},
    {XK_KP_Divide, VK_DIVIDE, 0x35, true},
    {XK_KP_Insert, VK_NUMPAD0, 0, false},
    {XK_KP_End, VK_NUMPAD1, 0, false},
    {XK_KP_Down, VK_NUMPAD2, 0, false},
    {XK_KP_Next, VK_NUMPAD3, 0, false},
    {XK_KP_Left, VK_NUMPAD4, 0, false},
    {XK_KP_Begin, VK_NUMPAD5, 0, false},
    {XK_KP_Right, VK_NUMPAD6, 0, false},
    {XK_KP_Home, VK_NUMPAD7, 0, false},
    {XK_KP_Up, VK_NUMPAD8, 0, false},
    {XK_KP_Prior, VK_NUMPAD9, 0, false},
};

} // namespace

KeyInfo keyInfo(unsigned keycode, KeySym unshifted) {
    // Below the extended keys, a key's Linux input code is its scan code.
    KeyInfo info;
    info.scanCode = keycode >= 8 && keycode < 8 + 0x59 ? keycode - 8 : 0;
    for (const ByCode& row : kRows) {
        const unsigned n = static_cast<unsigned>(std::strlen(row.keys));
        if (keycode >= row.first && keycode < row.first + n) {
            info.virtualKey = row.keys[keycode - row.first];
            return info;
        }
    }
    for (const Punctuation& p : kPunctuation) {
        if (p.code == keycode) {
            info.virtualKey = p.virtualKey;
            return info;
        }
    }
    if (unshifted >= XK_F1 && unshifted <= XK_F24) {
        info.virtualKey = VK_F1 + static_cast<int>(unshifted - XK_F1);
        return info;
    }
    for (const BySymbol& s : kSymbols) {
        if (s.symbol == unshifted) {
            info.virtualKey = s.virtualKey;
            if (s.scan)
                info.scanCode = s.scan;
            info.extended = s.extended;
            return info;
        }
    }
    // A layout with letters elsewhere: the Latin letter on the key names it.
    if (unshifted >= XK_a && unshifted <= XK_z)
        info.virtualKey = static_cast<int>('A' + (unshifted - XK_a));
    return info;
}

} // namespace pal::win::x11
