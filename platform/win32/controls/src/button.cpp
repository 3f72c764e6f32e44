// "Button": its check state, the pushed look while the mouse or Space holds it, the click it
// reports, and what auto buttons do for themselves before they report it.
#include "control.h"
#include "paint.h"

namespace pal::ctl {
namespace {

struct Button {
    int check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool spaceDown = false;
    HANDLE image = nullptr;
    UINT imageKind = IMAGE_ICON;
    HFONT font = nullptr;
};

DWORD typeOf(DWORD style) {
    return style & BS_TYPEMASK;
}

bool isCheck(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}
bool isRadio(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Sent only to buttons that ask for them (BS_NOTIFY), as the platform does.
void notifyIfAsked(HWND hwnd, UINT code) {
    if (styleOf(hwnd) & BS_NOTIFY)
        notifyCommand(hwnd, code);
}

void setCheck(HWND hwnd, Button& b, WPARAM value) {
    const DWORD type = typeOf(styleOf(hwnd));
    if (!isCheck(type) && !isRadio(type))
        return;
    int check = static_cast<int>(value & 3);
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
        check = BST_CHECKED;
    if (check > BST_INDETERMINATE)
        check = BST_UNCHECKED;
    // A radio button is reached by Tab only while it is the checked one of its group.
    if (isRadio(type)) {
        const DWORD style = styleOf(hwnd);
        const DWORD wanted = check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (wanted != style)
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
    }
    if (b.check != check) {
        b.check = check;
        redraw(hwnd);
    }
}

// An auto radio button clears every other radio button of its group, automatic or not.
void clearGroup(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    for (HWND other = GetNextDlgGroupItem(parent, hwnd, FALSE); other && other != hwnd;
         other = GetNextDlgGroupItem(parent, other, FALSE)) {
        if (SendMessageW(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

// The click itself: auto buttons change their state first, then the parent hears BN_CLICKED.
void click(HWND hwnd, Button& b) {
    switch (typeOf(styleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
        setCheck(hwnd, b, b.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        setCheck(hwnd, b, static_cast<WPARAM>((b.check + 1) % 3));
        break;
    case BS_AUTORADIOBUTTON:
        setCheck(hwnd, b, BST_CHECKED);
        clearGroup(hwnd);
        break;
    default:
        break;
    }
    notifyCommand(hwnd, BN_CLICKED);
}

void setPushed(HWND hwnd, Button& b, bool pushed, bool notifyParent) {
    if (b.pushed == pushed)
        return;
    b.pushed = pushed;
    redraw(hwnd);
    if (notifyParent)
        notifyIfAsked(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
}

bool inside(HWND hwnd, LPARAM lParam) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

LRESULT dialogCode(DWORD type) {
    switch (type) {
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_PUSHBOX:
    case BS_USERBUTTON:
    case BS_OWNERDRAW:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

} // namespace

LRESULT buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Button* b = attachState<Button>(hwnd, message);
    if (!b)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    const DWORD type = typeOf(style);
    switch (message) {
    case WM_GETDLGCODE:
        return dialogCode(type);
    case WM_NCHITTEST:
        // A group box lets clicks through to what lies under it.
        if (type == BS_GROUPBOX)
            return HTTRANSPARENT;
        break;
    case WM_LBUTTONDBLCLK:
        if (type == BS_GROUPBOX)
            return 0;
        if (isRadio(type) || type == BS_OWNERDRAW || (style & BS_NOTIFY)) {
            notifyCommand(hwnd, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (type == BS_GROUPBOX)
            return 0;
        SetFocus(hwnd);
        SetCapture(hwnd);
        setPushed(hwnd, *b, true, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd)
            setPushed(hwnd, *b, inside(hwnd, lParam), true);
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() != hwnd)
            return 0;
        const bool wasPushed = b->pushed && inside(hwnd, lParam);
        ReleaseCapture();
        setPushed(hwnd, *b, false, true);
        if (wasPushed)
            click(hwnd, *b);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd && !b->spaceDown)
            setPushed(hwnd, *b, false, true);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && type != BS_GROUPBOX) {
            b->spaceDown = true;
            setPushed(hwnd, *b, true, true);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && b->spaceDown) {
            b->spaceDown = false;
            setPushed(hwnd, *b, false, true);
            click(hwnd, *b);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        b->focused = true;
        redraw(hwnd);
        notifyIfAsked(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        b->focused = false;
        b->spaceDown = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        setPushed(hwnd, *b, false, true);
        redraw(hwnd);
        notifyIfAsked(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        redraw(hwnd);
        if (!wParam)
            notifyIfAsked(hwnd, BN_DISABLE);
        return 0;
    case BM_GETCHECK:
        return isCheck(type) || isRadio(type) ? b->check : BST_UNCHECKED;
    case BM_SETCHECK:
        setCheck(hwnd, *b, wParam);
        return 0;
    case BM_GETSTATE:
        return b->check | (b->pushed ? BST_PUSHED : 0) | (b->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        setPushed(hwnd, *b, wParam != 0, false);
        return 0;
    case BM_SETSTYLE:
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~0xFFFFu) | (wParam & 0xFFFF)));
        if (lParam)
            redraw(hwnd);
        return 0;
    case BM_CLICK:
        if (!IsWindowEnabled(hwnd))
            return 0;
        SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_SETIMAGE: {
        if (wParam != IMAGE_ICON && wParam != IMAGE_BITMAP)
            return 0;
        const HANDLE old = b->image;
        b->image = reinterpret_cast<HANDLE>(lParam);
        b->imageKind = static_cast<UINT>(wParam);
        redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
        return wParam == b->imageKind ? reinterpret_cast<LRESULT>(b->image) : 0;
    case WM_SETFONT:
        b->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            redraw(hwnd);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(b->font);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        redraw(hwnd);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        ButtonLook look{type, style, b->check, b->pushed, b->focused, b->image, b->imageKind, b->font};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintButton(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
