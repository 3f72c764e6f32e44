// "Static": text and pictures that take no input, except clicks reported with SS_NOTIFY.
#include "control.h"
#include "paint.h"

namespace pal::ctl {
namespace {

struct Static {
    HANDLE image = nullptr;
    HFONT font = nullptr;
};

DWORD kindOf(DWORD style) {
    return style & SS_TYPEMASK;
}

// Which image kind a style shows; the other kinds are refused by STM_SETIMAGE.
bool showsImage(DWORD kind, WPARAM imageKind) {
    return (kind == SS_ICON && (imageKind == IMAGE_ICON || imageKind == IMAGE_CURSOR)) ||
           (kind == SS_BITMAP && imageKind == IMAGE_BITMAP);
}

} // namespace

LRESULT staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Static* s = attachState<Static>(hwnd, message);
    if (!s)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    const DWORD kind = kindOf(style);
    switch (message) {
    case WM_NCHITTEST:
        // Without SS_NOTIFY the mouse passes through to the parent.
        return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_LBUTTONDOWN:
        if (style & SS_NOTIFY)
            notifyCommand(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (style & SS_NOTIFY)
            notifyCommand(hwnd, STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (style & SS_NOTIFY)
            notifyCommand(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case STM_SETICON:
        return staticProc(hwnd, STM_SETIMAGE, IMAGE_ICON, static_cast<LPARAM>(wParam));
    case STM_GETICON:
        return kind == SS_ICON ? reinterpret_cast<LRESULT>(s->image) : 0;
    case STM_SETIMAGE: {
        if (!showsImage(kind, wParam))
            return 0;
        const HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return showsImage(kind, wParam) ? reinterpret_cast<LRESULT>(s->image) : 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const StaticLook look{kind, style, s->image, s->font};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintStatic(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
