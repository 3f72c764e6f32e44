// Scroll bars: the range, page and position of a window's own bars and of "ScrollBar" controls,
// and the control's mouse and keys, which ask its parent to scroll (WM_HSCROLL / WM_VSCROLL) and
// leave moving the thumb to it.
#include "control.h"
#include "paint.h"

#include "pal/detail/scroll_thumb.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>

namespace pal::ctl {
namespace {

struct Bar {
    int min = 0, max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = 0;
    bool set = false;
};

// The most a position can be: the range less a page.
int maxPos(const Bar& b) {
    return b.page > 0 ? std::max(b.min, b.max - static_cast<int>(b.page) + 1) : b.max;
}

int apply(Bar& b, const SCROLLINFO& si) {
    if (si.fMask & SIF_RANGE) {
        b.min = si.nMin;
        b.max = std::max(si.nMin, si.nMax);
    }
    if (si.fMask & SIF_PAGE)
        b.page = si.nPage;
    const UINT span = static_cast<UINT>(b.max - b.min) + 1;
    if (b.page > span)
        b.page = span;
    if (si.fMask & SIF_POS)
        b.pos = si.nPos;
    b.pos = std::clamp(b.pos, b.min, maxPos(b));
    b.set = true;
    return b.pos;
}

BOOL read(const Bar& b, SCROLLINFO* si) {
    if (!si || !(si->fMask & SIF_ALL))
        return FALSE;
    if (si->fMask & SIF_RANGE) {
        si->nMin = b.min;
        si->nMax = b.max;
    }
    if (si->fMask & SIF_PAGE)
        si->nPage = b.page;
    if (si->fMask & SIF_POS)
        si->nPos = b.pos;
    if (si->fMask & SIF_TRACKPOS)
        si->nTrackPos = b.trackPos;
    return TRUE;
}

// The bars of windows that have WS_HSCROLL or WS_VSCROLL. A handle never names a later window,
// so the entries of windows that are gone are only forgotten lazily.
struct WindowBars {
    Bar horz, vert;
};
std::mutex barsMutex;
std::map<HWND, WindowBars>& windowBars() {
    static auto* bars = new std::map<HWND, WindowBars>;
    return *bars;
}

Bar* windowBar(HWND hwnd, int bar) {
    auto& all = windowBars();
    if (all.size() > 64)
        std::erase_if(all, [](const auto& entry) { return !IsWindow(entry.first); });
    WindowBars& bars = all[hwnd];
    return bar == SB_HORZ ? &bars.horz : &bars.vert;
}

bool needed(const Bar& b) {
    return b.page == 0 ? b.max > b.min : static_cast<int>(b.page) <= b.max - b.min;
}

DWORD styleBit(int bar) {
    return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

// The control ----------------------------------------------------------------------------------

enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct Control {
    Bar bar;
    Part held = Part::None;
    int grab = 0; // where on the thumb the mouse took it
    bool keyDown = false;
};

bool vertical(HWND hwnd) {
    return (styleOf(hwnd) & SBS_VERT) != 0;
}

struct Geometry {
    int length;  // along the bar
    int arrow;   // each arrow's length
    int thumbAt; // start of the thumb along the bar
    int thumb;   // thumb length (0 when there is no room or nothing to scroll)
};

// Where the thumb lies within a track: its start and its length (0 when nothing scrolls).
void thumbIn(const Bar& b, int track, int arrow, int* start, int* length) {
    *start = *length = 0;
    const int span = b.max - b.min + 1;
    if (track < 8 || span <= 0 || !needed(b))
        return;
    int thumb = b.page ? std::max(8, static_cast<int>(static_cast<long long>(track) * b.page / span)) : arrow;
    thumb = std::min(thumb, track);
    const int range = maxPos(b) - b.min;
    *start =
        range > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * (b.pos - b.min) / range) : 0;
    *length = thumb;
}

Geometry geometry(HWND hwnd, const Bar& b) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const bool v = vertical(hwnd);
    const int length = v ? r.bottom - r.top : r.right - r.left;
    const int thickness = v ? r.right - r.left : r.bottom - r.top;
    Geometry g{length, std::min(thickness, length / 2), 0, 0};
    int start = 0;
    thumbIn(b, length - 2 * g.arrow, g.arrow, &start, &g.thumb);
    g.thumbAt = g.arrow + start;
    return g;
}

Part partAt(HWND hwnd, const Bar& b, POINT p) {
    const Geometry g = geometry(hwnd, b);
    const int at = vertical(hwnd) ? p.y : p.x;
    if (at < g.arrow)
        return Part::LineUp;
    if (at >= g.length - g.arrow)
        return Part::LineDown;
    if (g.thumb == 0)
        return Part::None;
    if (at < g.thumbAt)
        return Part::PageUp;
    if (at < g.thumbAt + g.thumb)
        return Part::Thumb;
    return Part::PageDown;
}

int positionAt(HWND hwnd, const Bar& b, int thumbStart) {
    const Geometry g = geometry(hwnd, b);
    const int track = g.length - 2 * g.arrow - g.thumb;
    if (track <= 0)
        return b.min;
    const int offset = std::clamp(thumbStart - g.arrow, 0, track);
    return b.min + static_cast<int>(static_cast<long long>(maxPos(b) - b.min) * offset / track);
}

void tellParent(HWND hwnd, WORD code, int pos = 0) {
    const HWND parent = GetParent(hwnd);
    if (parent)
        SendMessageW(parent, vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
}

WORD codeOf(Part part) {
    switch (part) {
    case Part::LineUp:
        return SB_LINEUP;
    case Part::LineDown:
        return SB_LINEDOWN;
    case Part::PageUp:
        return SB_PAGEUP;
    case Part::PageDown:
        return SB_PAGEDOWN;
    default:
        return SB_ENDSCROLL;
    }
}

constexpr UINT_PTR kRepeatTimer = 1;

// The frame asks where the thumbs of a window's own bars lie.
bool windowThumb(HWND hwnd, bool isVertical, int track, int* start, int* length) {
    std::lock_guard lock(barsMutex);
    auto& all = windowBars();
    const auto it = all.find(hwnd);
    if (it == all.end())
        return false;
    const Bar& b = isVertical ? it->second.vert : it->second.horz;
    thumbIn(b, track, GetSystemMetrics(isVertical ? SM_CYVSCROLL : SM_CXHSCROLL), start, length);
    return *length > 0;
}

// A window's own bar, measured along its length from the client's edge: the arrows, the track
// and the thumb in it.
struct WindowBarGeometry {
    int arrow = 0, length = 0, start = 0, thumb = 0;
    int along(HWND hwnd, bool isVertical, POINT screen) const {
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        return isVertical ? screen.y - origin.y : screen.x - origin.x;
    }
};

WindowBarGeometry windowGeometry(HWND hwnd, bool isVertical) {
    RECT client{};
    GetClientRect(hwnd, &client);
    WindowBarGeometry g;
    g.arrow = GetSystemMetrics(isVertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    g.length = isVertical ? client.bottom : client.right;
    windowThumb(hwnd, isVertical, g.length - 2 * g.arrow, &g.start, &g.thumb);
    return g;
}

// What a press at `at` along the bar does: a line or a page either way, or SB_THUMBTRACK on the
// thumb; SB_ENDSCROLL where nothing scrolls.
WORD windowBarCode(const WindowBarGeometry& g, int at) {
    if (at < g.arrow)
        return SB_LINEUP;
    if (at >= g.length - g.arrow)
        return SB_LINEDOWN;
    if (g.thumb == 0)
        return SB_ENDSCROLL;
    if (at < g.arrow + g.start)
        return SB_PAGEUP;
    if (at >= g.arrow + g.start + g.thumb)
        return SB_PAGEDOWN;
    return SB_THUMBTRACK;
}

// The bar the left button holds (there is one mouse): what it does and, for the thumb, where on
// it the mouse took it.
struct HeldWindowBar {
    HWND hwnd = nullptr;
    bool vertical = false;
    WORD code = SB_ENDSCROLL;
    int grab = 0;
    POINT pointer{};
};
HeldWindowBar held;

constexpr UINT_PTR kWindowBarRepeat = 0xFEC1;
constexpr UINT kRepeatDelay = 400, kRepeatRate = 50;

void tellWindow(HWND hwnd, bool isVertical, WORD code, int pos = 0) {
    SendMessageW(hwnd, isVertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

// A held arrow or track goes on scrolling; a page stops once the thumb has reached the pointer.
void repeatWindowBar(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    if (held.hwnd != hwnd || held.code == SB_THUMBTRACK) {
        KillTimer(hwnd, id);
        return;
    }
    SetTimer(hwnd, id, kRepeatRate, &repeatWindowBar);
    const WindowBarGeometry g = windowGeometry(hwnd, held.vertical);
    if (windowBarCode(g, g.along(hwnd, held.vertical, held.pointer)) == held.code)
        tellWindow(hwnd, held.vertical, held.code);
}

// The thumb dragged so that its start lies at `thumbStart`: the position that puts it there.
int windowTrackPosition(HWND hwnd, bool isVertical, const WindowBarGeometry& g, int thumbStart) {
    std::lock_guard lock(barsMutex);
    Bar& b = *windowBar(hwnd, isVertical ? SB_VERT : SB_HORZ);
    const int track = g.length - 2 * g.arrow - g.thumb;
    const int offset = std::clamp(thumbStart - g.arrow, 0, std::max(0, track));
    b.trackPos = track > 0
                     ? b.min + static_cast<int>(static_cast<long long>(maxPos(b) - b.min) * offset / track)
                     : b.min;
    return b.trackPos;
}

// The mouse on a window's own bar: a press on an arrow scrolls a line, on the track a page, and
// holding it repeats; the thumb is dragged (SB_THUMBTRACK as it moves, SB_THUMBPOSITION where it
// is let go); every press ends with SB_ENDSCROLL.
void windowBarMouse(HWND hwnd, bool isVertical, UINT message, POINT screen) {
    const WindowBarGeometry g = windowGeometry(hwnd, isVertical);
    const int at = g.along(hwnd, isVertical, screen);
    if (message == WM_NCLBUTTONDOWN) {
        const WORD code = windowBarCode(g, at);
        if (code == SB_ENDSCROLL)
            return;
        held = HeldWindowBar{hwnd, isVertical, code, at - g.arrow - g.start, screen};
        if (code == SB_THUMBTRACK) {
            windowTrackPosition(hwnd, isVertical, g, g.arrow + g.start);
            return;
        }
        tellWindow(hwnd, isVertical, code);
        SetTimer(hwnd, kWindowBarRepeat, kRepeatDelay, &repeatWindowBar);
        return;
    }
    if (held.hwnd != hwnd)
        return;
    held.pointer = screen;
    if (message == WM_NCMOUSEMOVE) {
        if (held.code != SB_THUMBTRACK)
            return;
        int before = 0;
        {
            std::lock_guard lock(barsMutex);
            before = windowBar(hwnd, isVertical ? SB_VERT : SB_HORZ)->trackPos;
        }
        const int pos = windowTrackPosition(hwnd, isVertical, g, at - held.grab);
        if (pos != before)
            tellWindow(hwnd, isVertical, SB_THUMBTRACK, pos);
        return;
    }
    KillTimer(hwnd, kWindowBarRepeat);
    const HeldWindowBar was = held;
    held = HeldWindowBar{};
    if (was.code == SB_THUMBTRACK) {
        int pos = 0;
        {
            std::lock_guard lock(barsMutex);
            pos = windowBar(hwnd, isVertical ? SB_VERT : SB_HORZ)->trackPos;
        }
        tellWindow(hwnd, isVertical, SB_THUMBPOSITION, pos);
    }
    tellWindow(hwnd, isVertical, SB_ENDSCROLL);
}

const bool thumbsKnown = [] {
    pal::detail::setScrollThumbSource(&windowThumb);
    pal::detail::setScrollClickHandler(&windowBarMouse);
    return true;
}();

} // namespace

LRESULT scrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* c = attachState<Control>(hwnd, message);
    if (!c)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Bar& b = c->bar;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case SBM_SETSCROLLINFO: {
        const auto* si = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (!si)
            return b.pos;
        const int pos = apply(b, *si);
        if (wParam)
            InvalidateRect(hwnd, nullptr, FALSE);
        return pos;
    }
    case SBM_GETSCROLLINFO:
        return read(b, reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_SETPOS: {
        const int old = b.pos;
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
        apply(b, si);
        if (lParam)
            InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case SBM_GETPOS:
        return b.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        const int old = b.pos;
        SCROLLINFO si{sizeof si, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
        apply(b, si);
        if (message == SBM_SETRANGEREDRAW)
            InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = b.min;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = b.max;
        return 0;
    case SBM_ENABLE_ARROWS:
        b.disabledArrows = static_cast<UINT>(wParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        c->held = partAt(hwnd, b, p);
        if (c->held == Part::None)
            return 0;
        SetCapture(hwnd);
        if (c->held == Part::Thumb) {
            const Geometry g = geometry(hwnd, b);
            c->grab = (vertical(hwnd) ? p.y : p.x) - g.thumbAt;
            b.trackPos = b.pos;
            return 0;
        }
        tellParent(hwnd, codeOf(c->held));
        SetTimer(hwnd, kRepeatTimer, 400, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRepeatTimer && c->held != Part::None && c->held != Part::Thumb) {
            SetTimer(hwnd, kRepeatTimer, 50, nullptr);
            tellParent(hwnd, codeOf(c->held));
        }
        return 0;
    case WM_MOUSEMOVE:
        if (c->held == Part::Thumb && GetCapture() == hwnd) {
            const int at = vertical(hwnd) ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
            const int pos = positionAt(hwnd, b, at - c->grab);
            if (pos != b.trackPos) {
                b.trackPos = pos;
                tellParent(hwnd, SB_THUMBTRACK, pos);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (c->held == Part::None)
            return 0;
        KillTimer(hwnd, kRepeatTimer);
        if (c->held == Part::Thumb)
            tellParent(hwnd, SB_THUMBPOSITION, b.trackPos);
        c->held = Part::None;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        tellParent(hwnd, SB_ENDSCROLL);
        return 0;
    case WM_KEYDOWN: {
        WORD code = SB_ENDSCROLL;
        switch (wParam) {
        case VK_UP:
        case VK_LEFT:
            code = SB_LINEUP;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            code = SB_LINEDOWN;
            break;
        case VK_PRIOR:
            code = SB_PAGEUP;
            break;
        case VK_NEXT:
            code = SB_PAGEDOWN;
            break;
        case VK_HOME:
            code = SB_TOP;
            break;
        case VK_END:
            code = SB_BOTTOM;
            break;
        default:
            return 0;
        }
        c->keyDown = true;
        tellParent(hwnd, code);
        return 0;
    }
    case WM_KEYUP:
        if (c->keyDown) {
            c->keyDown = false;
            tellParent(hwnd, SB_ENDSCROLL);
        }
        return 0;
    case WM_MOUSEWHEEL: {
        // Three lines a notch, towards the start when the wheel turns away from the person.
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        for (int i = 0; i < 3 * std::abs(notches); ++i)
            tellParent(hwnd, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
        if (notches != 0)
            tellParent(hwnd, SB_ENDSCROLL);
        return 0;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const Geometry g = geometry(hwnd, b);
        const ScrollLook look{vertical(hwnd),  g.arrow, g.thumbAt, g.thumb, IsWindowEnabled(hwnd) != FALSE,
                              b.disabledArrows};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintScrollBar(dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl

using namespace pal::ctl;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (!info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int)) ||
        !IsWindow(hwnd)) {
        SetLastError(IsWindow(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (bar == SB_CTL)
        return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                             reinterpret_cast<LPARAM>(info)));
    if (bar != SB_HORZ && bar != SB_VERT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int pos = 0;
    bool show = false;
    bool keep = false;
    {
        std::lock_guard lock(barsMutex);
        Bar* b = windowBar(hwnd, bar);
        pos = apply(*b, *info);
        show = needed(*b);
        keep = (info->fMask & SIF_DISABLENOSCROLL) != 0;
    }
    // A bar that has nothing to scroll goes away, unless it is kept (disabled) on request.
    const bool shown = (styleOf(hwnd) & styleBit(bar)) != 0;
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
        if (show && !shown)
            ShowScrollBar(hwnd, bar, TRUE);
        else if (!show && shown && !keep)
            ShowScrollBar(hwnd, bar, FALSE);
    }
    if (redraw)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (!info || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL)
        return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
    if (bar != SB_HORZ && bar != SB_VERT)
        return FALSE;
    std::lock_guard lock(barsMutex);
    const Bar* b = windowBar(hwnd, bar);
    if (!b->set && !(styleOf(hwnd) & styleBit(bar)))
        return FALSE;
    return read(*b, info);
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    SCROLLINFO old{sizeof old, SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &old))
        old.nPos = 0;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old.nPos;
}

int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
    SetScrollInfo(hwnd, bar, &si, redraw);
    return IsWindow(hwnd);
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    const BOOL ok = GetScrollInfo(hwnd, bar, &si);
    if (minPos)
        *minPos = ok ? si.nMin : 0;
    if (maxPos)
        *maxPos = ok ? si.nMax : 0;
    return ok;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    if (!IsWindow(hwnd))
        return FALSE;
    if (bar == SB_CTL)
        return ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE), TRUE;
    const DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    const DWORD style = styleOf(hwnd);
    const DWORD wanted = show ? (style | bits) : (style & ~bits);
    if (wanted != style) {
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (!IsWindow(hwnd))
        return FALSE;
    if (bar == SB_CTL)
        return static_cast<BOOL>(SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    std::lock_guard lock(barsMutex);
    if (bar == SB_HORZ || bar == SB_BOTH)
        windowBar(hwnd, SB_HORZ)->disabledArrows = arrows;
    if (bar == SB_VERT || bar == SB_BOTH)
        windowBar(hwnd, SB_VERT)->disabledArrows = arrows;
    return TRUE;
}
