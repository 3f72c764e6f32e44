// Showing, hiding, moving, sizing, minimising and maximising, with the messages each sends,
// and the coordinate conversions.
#include "model.h"

#include <algorithm>

namespace pal::win {
namespace {

LONG width(const RECT& r) {
    return r.right - r.left;
}
LONG height(const RECT& r) {
    return r.bottom - r.top;
}

void placeInZOrder(Window* w, HWND after) {
    auto& sib = siblingsOf(w);
    const HWND h = w->handle;
    std::erase(sib, h);
    const bool topLevel = !w->parent && !w->messageOnly;
    if (topLevel && after == HWND_TOPMOST)
        w->exStyle |= WS_EX_TOPMOST;
    else if (topLevel && after == HWND_NOTOPMOST)
        w->exStyle &= ~WS_EX_TOPMOST;
    // The top of the window's band: topmost windows stay above the others.
    auto bandTop = sib.begin();
    if (topLevel && !(w->exStyle & WS_EX_TOPMOST)) {
        while (bandTop != sib.end()) {
            Window* o = find(*bandTop);
            if (!o || !(o->exStyle & WS_EX_TOPMOST))
                break;
            ++bandTop;
        }
    }
    if (after == HWND_BOTTOM) {
        sib.push_back(h);
    } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        sib.insert(bandTop, h);
    } else if (auto it = std::find(sib.begin(), sib.end(), after); it != sib.end()) {
        sib.insert(std::next(it), h);
    } else {
        sib.insert(bandTop, h);
    }
}

// What a child uncovers needs painting: the parent's area there, and every sibling below the
// child that reaches into it, with its frame and its own children, for all of them show their
// own pixels again where the child was.
void exposeParent(Window* w, const RECT& area) {
    if (!w->parent)
        return;
    Window* p = find(w->parent);
    if (!p || !visibleInTree(p))
        return;
    invalidate(p, &area, true, ChildMode::None);
    const auto self = std::find(p->children.begin(), p->children.end(), w->handle);
    if (self == p->children.end())
        return;
    for (auto it = std::next(self); it != p->children.end(); ++it) {
        Window* below = find(*it);
        RECT overlap{};
        if (!below || !(below->style & WS_VISIBLE) || !IntersectRect(&overlap, &below->rect, &area))
            continue;
        OffsetRect(&overlap, -below->client.left, -below->client.top);
        invalidate(below, &overlap, true, ChildMode::All);
        invalidateFrame(below);
    }
}

void clampToTracking(const MINMAXINFO& mmi, int& cx, int& cy) {
    cx = std::clamp<int>(cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
    cy = std::clamp<int>(cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
}

// Runs `work` on the window's own thread: the platform sends the messages of another
// thread's window to that thread.
BOOL onOwner(HWND hwnd, const std::function<LRESULT()>& work) {
    bool here = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        here = w->thread == currentThread();
    }
    if (here)
        return static_cast<BOOL>(work());
    LRESULT r = 0;
    return runOnOwner(hwnd, work, &r) ? static_cast<BOOL>(r) : FALSE;
}

} // namespace

void raiseOnActivation(HWND hwnd) {
    WINDOWPOS wp{hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE};
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        wp.x = w->rect.left;
        wp.y = w->rect.top;
        wp.cx = width(w->rect);
        wp.cy = height(w->rect);
    }
    send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (wp.flags & SWP_NOZORDER)
        return;
    bool moved = false;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        const std::vector<HWND> before = siblingsOf(w);
        placeInZOrder(w, wp.hwndInsertAfter);
        moved = before != siblingsOf(w);
    }
    // A window already on top has nothing to report.
    if (moved) {
        wp.flags |= kNoClientMove | kNoClientSize;
        send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    }
}

void applySizeLimits(HWND hwnd, WINDOWPOS& wp) {
    if (wp.flags & SWP_NOSIZE)
        return;
    MINMAXINFO mmi{};
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        // A minimised or maximised window has its size from its state, not from the limits.
        if (!w || !asksMinMax(w->style) || (w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            return;
        mmi = defaultMinMax(w);
    }
    send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    clampToTracking(mmi, wp.cx, wp.cy);
}

bool sendPendingSize(HWND hwnd) {
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || !w->sizePending)
            return false;
        w->sizePending = false;
    }
    sendSizeAndMove(hwnd);
    return true;
}

void sendSizeAndMove(HWND hwnd) {
    RECT client{};
    WPARAM kind = SIZE_RESTORED;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        client = w->client;
        kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
               : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                          : SIZE_RESTORED;
    }
    send(hwnd, WM_SIZE, kind,
         MAKELPARAM(static_cast<WORD>(width(client)), static_cast<WORD>(height(client))));
    send(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
}

bool asksMinMax(DWORD style) {
    return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));
}

MINMAXINFO defaultMinMax(Window* w) {
    const RECT in = nonClientInsets(w->style, w->exStyle, !w->parent && w->menu);
    RECT area{};
    if (w->parent) {
        if (Window* p = find(w->parent))
            area = RECT{0, 0, width(p->client), height(p->client)};
    } else {
        area = workAreaNear(screenRect(w));
    }
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{width(area) + in.left + in.right, height(area) + in.top + in.bottom};
    mmi.ptMaxPosition = POINT{area.left - in.left, area.top - in.top};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    return mmi;
}

bool setWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags & ~(kNoClientSize | kNoClientMove | kStateChanged)};
    RECT oldRect{}, oldClient{};
    bool wasVisible = false;
    bool child = false;
    bool documentWindow = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return false;
        wasVisible = w->style & WS_VISIBLE;
        child = w->parent && (w->style & WS_CHILD);
        documentWindow = child && (w->exStyle & WS_EX_MDICHILD);
        oldRect = w->rect;
        oldClient = w->client;
        if ((wp.flags & SWP_SHOWWINDOW) && wasVisible)
            wp.flags &= ~SWP_SHOWWINDOW;
        if ((wp.flags & SWP_HIDEWINDOW) && !wasVisible)
            wp.flags &= ~SWP_HIDEWINDOW;
        // Only top-level windows are activated; a child's activation is its parent's business.
        if (w->parent || w->messageOnly || (w->exStyle & WS_EX_NOACTIVATE))
            wp.flags |= SWP_NOACTIVATE;
    }
    if (wp.flags & SWP_NOMOVE) {
        wp.x = oldRect.left;
        wp.y = oldRect.top;
    }
    if (wp.flags & SWP_NOSIZE) {
        wp.cx = width(oldRect);
        wp.cy = height(oldRect);
    }
    // A size the window already has is no resize: its procedure is not asked for limits.
    if (wp.cx == width(oldRect) && wp.cy == height(oldRect))
        wp.flags |= SWP_NOSIZE;
    if (!(wp.flags & SWP_NOSENDCHANGING))
        send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (wp.flags & SWP_NOMOVE) {
        wp.x = oldRect.left;
        wp.y = oldRect.top;
    }
    if (wp.flags & SWP_NOSIZE) {
        wp.cx = width(oldRect);
        wp.cy = height(oldRect);
    }
    const RECT newRect{wp.x, wp.y, wp.x + std::max(wp.cx, 0), wp.y + std::max(wp.cy, 0)};
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool sized = width(newRect) != width(oldRect) || height(newRect) != height(oldRect);
    RECT newClient = oldClient;
    if (sized || (wp.flags & SWP_FRAMECHANGED) || (flags & kStateChanged)) {
        NCCALCSIZE_PARAMS p{{newRect, oldRect, oldClient}, &wp};
        send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
        newClient = p.rgrc[0];
    } else if (moved) {
        OffsetRect(&newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
    }
    const bool showing = wp.flags & SWP_SHOWWINDOW;
    const bool hiding = wp.flags & SWP_HIDEWINDOW;
    // A child shown without SWP_NOACTIVATE is told it became the active child; a document
    // window is told whenever it is placed so, as that is what activates it among its siblings.
    const bool childActivates =
        child && (showing || (documentWindow && wasVisible && !hiding)) && !(flags & SWP_NOACTIVATE);
    bool visibleAfter = false;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return false;
        if (wasVisible && (hiding || moved || sized) && !(wp.flags & SWP_NOREDRAW))
            exposeParent(w, oldRect);
        w->rect = newRect;
        w->client = newClient;
        if (!(wp.flags & SWP_NOZORDER))
            placeInZOrder(w, wp.hwndInsertAfter);
        if (showing)
            w->style |= WS_VISIBLE;
        if (hiding) {
            w->style &= ~WS_VISIBLE;
            validate(w, nullptr, ChildMode::All); // a hidden window has nothing to paint
        }
        visibleAfter = visibleInTree(w);
        if (visibleAfter && !(wp.flags & SWP_NOREDRAW) &&
            (showing || sized || (wp.flags & SWP_FRAMECHANGED) || (flags & kStateChanged) ||
             (moved && w->parent))) {
            // A child that moves shows its pixels at the new place; a top-level window carries
            // its own surface with it.
            invalidate(w, static_cast<const RECT*>(nullptr), true, ChildMode::All);
            invalidateFrame(w);
        }
    }
    if (!(wp.flags & SWP_NOACTIVATE) && !hiding && (showing || wasVisible))
        activate(hwnd, WA_ACTIVE);
    if (childActivates)
        send(hwnd, WM_CHILDACTIVATE, 0, 0);
    const bool stateChanged = flags & kStateChanged;
    if (!stateChanged && newClient.left == oldClient.left && newClient.top == oldClient.top)
        wp.flags |= kNoClientMove;
    if (!stateChanged && width(newClient) == width(oldClient) && height(newClient) == height(oldClient))
        wp.flags |= kNoClientSize;
    if (stateChanged)
        wp.flags |= kStateChanged;
    send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    // A window made hidden that hides before it heard its first size hears it now, before the
    // activation passes on.
    if (hiding)
        sendPendingSize(hwnd);
    if (hiding) {
        bool wasActive = false;
        {
            Lock lock = lockModel();
            wasActive = currentQueue().active == hwnd;
        }
        if (wasActive)
            activate(nextToActivate(hwnd), WA_ACTIVE);
    }
    return true;
}

void changeState(HWND hwnd, int command, UINT extraFlags) {
    RECT target{};
    MINMAXINFO mmi{};
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        if (command == SW_MAXIMIZE)
            mmi = defaultMinMax(w);
    }
    if (command == SW_MAXIMIZE)
        send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            w->normal = w->rect;
        switch (command) {
        case SW_MINIMIZE: {
            w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            // Minimised top-level windows park off screen, as the platform does.
            const int cx = GetSystemMetrics(SM_CXMINTRACK) + 24;
            const int cy = GetSystemMetrics(SM_CYMINTRACK) - 11;
            if (w->parent) {
                const Window* p = find(w->parent);
                const LONG bottom = p ? height(p->client) : cy;
                target = RECT{0, bottom - cy, cx, bottom};
            } else {
                target = RECT{-32000, -32000, -32000 + cx, -32000 + cy};
            }
            break;
        }
        case SW_MAXIMIZE:
            w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            target = RECT{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                          mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
            break;
        default:
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            target = w->normal;
            break;
        }
    }
    setWindowPos(hwnd, nullptr, target.left, target.top, width(target), height(target),
                 SWP_NOZORDER | SWP_FRAMECHANGED | kStateChanged | extraFlags);
}

} // namespace pal::win

using namespace pal::win;

BOOL ShowWindow(HWND hwnd, int command) {
    bool here = false;
    bool wasVisible = false;
    bool child = false;
    DWORD style = 0;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        here = w->thread == currentThread();
        wasVisible = w->style & WS_VISIBLE;
        child = w->parent != nullptr;
        style = w->style;
    }
    if (!here) {
        LRESULT r = 0;
        runOnOwner(
            hwnd, [=] { return static_cast<LRESULT>(ShowWindow(hwnd, command)); }, &r);
        return static_cast<BOOL>(r);
    }
    if (command == SW_HIDE) {
        if (!wasVisible)
            return FALSE;
        send(hwnd, WM_SHOWWINDOW, FALSE, 0);
        setWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // Keys must not go on to a window nobody can see: the focus moves up to the parent.
        HWND parent = nullptr;
        {
            Lock lock = lockModel();
            if (Window* w = find(hwnd); w && child && inTree(hwnd, currentQueue().focus))
                parent = live(w->parent);
        }
        if (parent)
            setFocus(parent);
        return TRUE;
    }
    bool activates = false;
    int state = 0; // the state command, or 0 to keep the state
    switch (command) {
    case SW_SHOWMINIMIZED:
        activates = true;
        [[fallthrough]];
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        if (!(style & WS_MINIMIZE))
            state = SW_MINIMIZE;
        break;
    case SW_SHOWMAXIMIZED:
        activates = true;
        if (!(style & WS_MAXIMIZE))
            state = SW_MAXIMIZE;
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        activates = true;
        [[fallthrough]];
    case SW_SHOWNOACTIVATE:
        if (style & (WS_MINIMIZE | WS_MAXIMIZE))
            state = SW_RESTORE;
        break;
    case SW_SHOW:
        activates = true;
        break;
    case SW_SHOWNA:
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    activates = activates && !child;
    // A hidden window shown maximised is not told WM_SHOWWINDOW: the platform leaves it out.
    if (!wasVisible && command != SW_SHOWMAXIMIZED)
        send(hwnd, WM_SHOWWINDOW, TRUE, 0);
    const UINT show = wasVisible ? 0 : SWP_SHOWWINDOW;
    const UINT noActivate = activates ? 0 : SWP_NOACTIVATE;
    if (state) {
        bool wasActive = false;
        {
            Lock lock = lockModel();
            wasActive = currentQueue().active == hwnd;
        }
        changeState(hwnd, state, show | noActivate);
        if (state == SW_MINIMIZE && !activates && wasActive)
            activate(nextToActivate(hwnd), WA_ACTIVE);
    } else if (!wasVisible) {
        setWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     show | noActivate | SWP_NOSIZE | SWP_NOMOVE | (activates ? 0 : SWP_NOZORDER));
    } else if (activates) {
        activate(hwnd, WA_ACTIVE);
    }
    sendPendingSize(hwnd);
    return wasVisible ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return onOwner(
        hwnd, [=] { return static_cast<LRESULT>(setWindowPos(hwnd, insertAfter, x, y, cx, cy, flags)); });
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL IsWindowVisible(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = find(hwnd);
    return w && visibleInTree(w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = find(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = find(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = find(hwnd);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

namespace {
// The window's rectangle on the screen, or its client area from 0,0; the desktop's is the
// primary monitor.
BOOL rectOf(HWND hwnd, LPRECT rect, bool client) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (isDesktop(hwnd)) {
        const RECT r = primaryMonitorRect();
        *rect = client ? RECT{0, 0, width(r), height(r)} : r;
        return TRUE;
    }
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    *rect = client ? RECT{0, 0, width(w->client), height(w->client)} : screenRect(w);
    return TRUE;
}

// The screen position of a window's client origin; the desktop's (and null's) is 0,0.
bool originOf(HWND hwnd, POINT& origin) {
    if (!hwnd || isDesktop(hwnd)) {
        origin = POINT{0, 0};
        return true;
    }
    Window* w = findOrFail(hwnd);
    if (!w)
        return false;
    origin = clientOrigin(w);
    return true;
}

// Moves a point by the window's client origin: +1 from client to screen, -1 back.
BOOL shiftByOrigin(HWND hwnd, LPPOINT point, int sign) {
    Lock lock = lockModel();
    POINT o{};
    if (!point || !hwnd || !originOf(hwnd, o))
        return FALSE;
    point->x += sign * o.x;
    point->y += sign * o.y;
    return TRUE;
}
} // namespace

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    return rectOf(hwnd, rect, false);
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    return rectOf(hwnd, rect, true);
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Lock lock = lockModel();
    POINT a{}, b{};
    if (!originOf(from, a) || !originOf(to, b))
        return 0;
    const LONG dx = a.x - b.x;
    const LONG dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS); // a zero answer is then a zero offset, not a failure
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    return shiftByOrigin(hwnd, point, -1);
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    return shiftByOrigin(hwnd, point, 1);
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT in = nonClientInsets(style, exStyle, menu);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}
