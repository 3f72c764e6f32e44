// "Button": push buttons (with the default button's frame), check boxes and radio buttons. A
// click, by mouse, by Space or by BM_CLICK, tells the parent BN_CLICKED.
#include "controls.h"

#include "paint.h"

namespace pal::controls {
namespace {

// Window extra bytes: the check state, and whether the button is pushed or has the focus.
constexpr int kCheck = 0;
constexpr int kState = sizeof(LONG_PTR);

LONG_PTR get(HWND hwnd, int slot) {
    return GetWindowLongPtrW(hwnd, slot);
}

void set(HWND hwnd, int slot, LONG_PTR value) {
    if (GetWindowLongPtrW(hwnd, slot) != value) {
        SetWindowLongPtrW(hwnd, slot, value);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

DWORD typeOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

void setPushed(HWND hwnd, bool pushed) {
    const LONG_PTR state = get(hwnd, kState);
    set(hwnd, kState, pushed ? (state | BST_PUSHED) : (state & ~LONG_PTR{BST_PUSHED}));
}

void click(HWND hwnd) {
    if (!IsWindowEnabled(hwnd))
        return;
    const DWORD type = typeOf(hwnd);
    const LONG_PTR check = get(hwnd, kCheck);
    if (type == BS_AUTOCHECKBOX)
        set(hwnd, kCheck, check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    else if (type == BS_AUTO3STATE)
        set(hwnd, kCheck, (check + 1) % 3);
    else if (type == BS_AUTORADIOBUTTON)
        set(hwnd, kCheck, BST_CHECKED);
    notifyParent(hwnd, BN_CLICKED);
}

} // namespace

LRESULT buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK:
        return get(hwnd, kCheck);
    case BM_SETCHECK:
        set(hwnd, kCheck, static_cast<LONG_PTR>(wParam) & 3);
        return 0;
    case BM_GETSTATE:
        return get(hwnd, kCheck) | get(hwnd, kState);
    case BM_SETSTATE:
        setPushed(hwnd, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        SetWindowLongW(
            hwnd, GWL_STYLE,
            static_cast<LONG>((style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK:
        // A click through the button's own press and release, so its own code runs.
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case WM_GETDLGCODE: {
        const DWORD type = typeOf(hwnd);
        if (type == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (type == BS_GROUPBOX)
            return DLGC_STATIC;
        return DLGC_BUTTON;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowEnabled(hwnd))
            return 0;
        SetCapture(hwnd);
        if (GetFocus() != hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
            SetFocus(hwnd);
        setPushed(hwnd, true);
        return 0;
    case WM_LBUTTONUP: {
        const bool pushed = (get(hwnd, kState) & BST_PUSHED) != 0;
        setPushed(hwnd, false);
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (!pushed)
            return 0;
        // A release away from the button is no click.
        RECT r{};
        GetClientRect(hwnd, &r);
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (PtInRect(&r, p))
            click(hwnd);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            setPushed(hwnd, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (get(hwnd, kState) & BST_PUSHED)) {
            setPushed(hwnd, false);
            click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        set(hwnd, kState, get(hwnd, kState) | BST_FOCUS);
        return 0;
    case WM_KILLFOCUS:
        set(hwnd, kState, get(hwnd, kState) & ~LONG_PTR{BST_FOCUS | BST_PUSHED});
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = BeginPaint(hwnd, &ps);
        paintButton(dc, hwnd, typeOf(hwnd), get(hwnd, kCheck) | get(hwnd, kState));
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace pal::controls
