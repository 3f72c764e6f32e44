// What a window does with a message its own procedure hands on.
#include "model.h"

#include "driver.h"

#include "pal/detail/scroll_thumb.h"

#include <algorithm>

namespace pal::win {
namespace {

struct Facts {
    bool exists = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool menuBar = false;
    HWND parent = nullptr;
    RECT rect{};
    RECT client{};
    POINT origin{};
    bool brush = false;
    HBRUSH background = nullptr;
    bool active = false;
    RECT local{}; // the window rectangle, in its parent's client coordinates
    std::vector<HWND> children;
};

Facts factsOf(HWND hwnd) {
    Lock lock = lockModel();
    Facts f;
    Window* w = find(hwnd);
    if (!w)
        return f;
    f.exists = true;
    f.style = w->style;
    f.exStyle = w->exStyle;
    f.menuBar = !w->parent && w->menu;
    f.parent = (w->style & WS_CHILD) ? w->parent : nullptr;
    f.rect = screenRect(w);
    f.client = w->client;
    f.origin = clientOrigin(w);
    f.brush = w->cls && w->cls->background;
    f.background = w->cls ? w->cls->background : nullptr;
    Window* root = w;
    while (root->parent)
        root = find(root->parent);
    const Queue* q = root ? queueOf(root->thread) : nullptr;
    f.active = q && q->active == root->handle;
    if ((w->style & WS_CHILD) && w->captionActive >= 0)
        f.active = f.active && w->captionActive != 0;
    f.local = w->rect;
    f.children = w->children;
    return f;
}

// The client area inside a window rectangle, for the window's styles.
RECT clientWithin(const Facts& f, RECT r) {
    if (f.style & WS_MINIMIZE)
        return RECT{r.left, r.top, r.left, r.top};
    const RECT in = nonClientInsets(f.style, f.exStyle, f.menuBar);
    r.left += in.left;
    r.top += in.top;
    r.right = std::max(r.left, r.right - in.right);
    r.bottom = std::max(r.top, r.bottom - in.bottom);
    return r;
}

LRESULT hitTest(const Facts& f, POINT p) {
    const RECT client{f.origin.x, f.origin.y, f.origin.x + (f.client.right - f.client.left),
                      f.origin.y + (f.client.bottom - f.client.top)};
    return frameHitTest(f.style, f.rect, client, p);
}

// The class brush over what the DC may draw on.
LRESULT eraseBackground(const Facts& f, HDC dc) {
    if (!f.background)
        return 0;
    RECT box{};
    if (GetClipBox(dc, &box) != ERROR)
        FillRect(dc, &box, f.background);
    return 1;
}

// WM_PRINT: the window and, as the flags ask, its frame, background, client area and
// children, drawn into the DC whose 0,0 is the window's top-left corner.
LRESULT print(HWND hwnd, HDC dc, LPARAM flags) {
    const Facts f = factsOf(hwnd);
    if (!f.exists || ((flags & PRF_CHECKVISIBLE) && !(f.style & WS_VISIBLE)))
        return 0;
    if (flags & PRF_NONCLIENT)
        paintFrame(hwnd, dc, f.active);
    const int saved = SaveDC(dc);
    if (flags & PRF_NONCLIENT)
        OffsetViewportOrgEx(dc, f.client.left - f.local.left, f.client.top - f.local.top, nullptr);
    IntersectClipRect(dc, 0, 0, f.client.right - f.client.left, f.client.bottom - f.client.top);
    if (flags & PRF_ERASEBKGND)
        send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (flags & PRF_CLIENT)
        send(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    if (flags & PRF_CHILDREN) {
        // Bottom of the sibling order first, so the upper children end on top.
        for (auto it = f.children.rbegin(); it != f.children.rend(); ++it) {
            const Facts c = factsOf(*it);
            if (!c.exists || !(c.style & WS_VISIBLE))
                continue;
            const int childSaved = SaveDC(dc);
            OffsetViewportOrgEx(dc, c.local.left, c.local.top, nullptr);
            IntersectClipRect(dc, 0, 0, c.local.right - c.local.left, c.local.bottom - c.local.top);
            send(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
            RestoreDC(dc, childSaved);
        }
    }
    RestoreDC(dc, saved);
    return 0;
}

void paintFrameNow(HWND hwnd, bool active) {
    if (HDC dc = GetWindowDC(hwnd)) {
        paintFrame(hwnd, dc, active);
        ReleaseDC(hwnd, dc);
    }
}

// A press on a top-level window's caption or sizing edge: the window manager moves or sizes
// the window, so its snapping and screen edges keep working.
void moveSizeByPointer(HWND hwnd, int hit, POINT screen) {
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || (w->style & WS_CHILD) || (w->style & WS_MINIMIZE))
            return;
        if (hit != HTCAPTION && !(w->style & WS_THICKFRAME))
            return;
    }
    if (GetCapture())
        ReleaseCapture();
    if (driver().moveSize(hwnd, hit, screen))
        native::buttonsReleased();
}

bool movesOrSizes(WPARAM hit) {
    return hit == static_cast<WPARAM>(HTCAPTION) ||
           (hit >= static_cast<WPARAM>(HTLEFT) && hit <= static_cast<WPARAM>(HTBOTTOMRIGHT));
}

// Child windows leave some messages to their parents.
LRESULT toParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Facts f = factsOf(hwnd);
    return f.parent ? send(f.parent, message, wParam, lParam) : 0;
}

} // namespace
} // namespace pal::win

using namespace pal::win;

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs && cs->lpszName && reinterpret_cast<ULONG_PTR>(cs->lpszName) >= 0x10000) {
            Lock lock = lockModel();
            if (Window* w = find(hwnd))
                w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        const Facts f = factsOf(hwnd);
        if (!f.exists || !lParam)
            return 0;
        if (wParam) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            p->rgrc[0] = clientWithin(f, p->rgrc[0]);
        } else {
            auto* r = reinterpret_cast<RECT*>(lParam);
            *r = clientWithin(f, *r);
        }
        return 0;
    }
    case WM_NCHITTEST:
        return hitTest(factsOf(hwnd), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCLBUTTONDOWN:
        if (movesOrSizes(wParam)) {
            moveSizeByPointer(hwnd, static_cast<int>(wParam),
                              POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        [[fallthrough]];
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
        if (wParam == static_cast<WPARAM>(HTVSCROLL) || wParam == static_cast<WPARAM>(HTHSCROLL))
            pal::detail::clickWindowScrollBar(hwnd, wParam == static_cast<WPARAM>(HTVSCROLL), message,
                                              POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_NCACTIVATE:
        // The caption shows the new state at once; nothing else is asked to paint.
        {
            Lock lock = lockModel();
            if (Window* w = find(hwnd); w && (w->style & WS_CHILD))
                w->captionActive = wParam != 0;
        }
        paintFrameNow(hwnd, wParam != 0);
        return TRUE;
    case WM_NCPAINT:
        paintFrameNow(hwnd, factsOf(hwnd).active);
        return 0;
    case WM_PRINT:
        return print(hwnd, reinterpret_cast<HDC>(wParam), lParam);
    case WM_PRINTCLIENT:
        return 0;
    case WM_SETTEXT: {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return FALSE;
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        w->text = text ? text : L"";
        return TRUE;
    }
    case WM_GETTEXT: {
        std::wstring text;
        {
            Lock lock = lockModel();
            Window* w = find(hwnd);
            if (!w)
                return 0;
            text = w->text;
        }
        return copyText(text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_GETTEXTLENGTH: {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_WINDOWPOSCHANGING:
        if (auto* wp = reinterpret_cast<WINDOWPOS*>(lParam))
            applySizeLimits(hwnd, *wp);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!wp)
            return 0;
        // A window made hidden and shown maximised or minimised hears its first size here,
        // once, in the order a new window hears it.
        if ((wp->flags & SWP_SHOWWINDOW) && (wp->flags & kStateChanged) && sendPendingSize(hwnd))
            return 0;
        const Facts f = factsOf(hwnd);
        if (!f.exists)
            return 0;
        if (!(wp->flags & kNoClientMove))
            send(hwnd, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(f.client.left), static_cast<WORD>(f.client.top)));
        if (!(wp->flags & kNoClientSize)) {
            const WPARAM kind = (f.style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                                : (f.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                          : SIZE_RESTORED;
            send(hwnd, WM_SIZE, kind,
                 MAKELPARAM(static_cast<WORD>(f.client.right - f.client.left),
                            static_cast<WORD>(f.client.bottom - f.client.top)));
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return eraseBackground(factsOf(hwnd), reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        if (BeginPaint(hwnd, &ps))
            EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ACTIVATE:
        // The window taking activation takes the focus, unless it already holds it in a child;
        // the control that held it when it left gets it back, so that keys go on where they went.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            const HWND focus = GetFocus();
            if (focus != hwnd && !IsChild(hwnd, focus))
                setFocus(focusOnActivation(hwnd));
        }
        return 0;
    case WM_MOUSEACTIVATE: {
        const LRESULT r = toParent(hwnd, message, wParam, lParam);
        return r ? r : MA_ACTIVATE;
    }
    case WM_RBUTTONUP: {
        // A right click asks for the context menu at the screen point.
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &p);
        send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
             MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        return 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
        // The menu key and Shift+F10 ask for it from the keyboard: the point is -1, -1.
        if ((message == WM_KEYUP && wParam == VK_APPS) ||
            (message == WM_SYSKEYDOWN && wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)))
            send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        return 0;
    case WM_SETCURSOR:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return toParent(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            send(hwnd, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(hwnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(hwnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(hwnd, SW_RESTORE);
            break;
        case SC_MOVE:
        case SC_SIZE: {
            // From the pointer: the low bits say which edge (WMSZ_LEFT .. WMSZ_BOTTOMRIGHT sit
            // nine below the hit-test codes), or HTCAPTION for a move.
            const int low = static_cast<int>(wParam & 0xF);
            const int hit = (wParam & 0xFFF0) == SC_MOVE ? (low ? HTCAPTION : 0) : (low ? low + 9 : 0);
            // The press's screen point, as the caption that asks gives it.
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!lParam)
                GetCursorPos(&at);
            if (hit)
                moveSizeByPointer(hwnd, hit, at);
            break;
        }
        default:
            break;
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SETICON: {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return 0;
        HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
        HICON old = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return 0;
        HICON icon = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
        if (!icon && wParam == ICON_SMALL2)
            icon = w->iconBig;
        return reinterpret_cast<LRESULT>(icon);
    }
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
        return TRUE;
    default:
        return 0;
    }
}
