// "msctls_progress32": a range, a position moved by steps, deltas or directly, and the marquee
// that runs on its own timer.
#include "control.h"
#include "paint.h"

#include <algorithm>

namespace pal::ctl {
namespace {

constexpr UINT_PTR kMarqueeTimer = 1;
constexpr COLORREF kDefaultColor = 0xFF000000;

struct Progress {
    int low = 0, high = 100, pos = 0, step = 10;
    bool marquee = false;
    int marqueeOffset = 0;
    COLORREF bar = kDefaultColor, background = kDefaultColor;
    int state = PBST_NORMAL;
};

LRESULT packedRange(const Progress& p) {
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p.low), static_cast<WORD>(p.high)));
}

// Moves to `pos` kept within the range; answers the position before.
LRESULT moveTo(HWND hwnd, Progress& p, int pos) {
    const int old = p.pos;
    p.pos = std::clamp(pos, std::min(p.low, p.high), std::max(p.low, p.high));
    if (p.pos != old)
        InvalidateRect(hwnd, nullptr, FALSE);
    return old;
}

LRESULT setRange(HWND hwnd, Progress& p, int low, int high) {
    const LRESULT old = packedRange(p);
    p.low = low;
    p.high = high;
    moveTo(hwnd, p, p.pos);
    InvalidateRect(hwnd, nullptr, FALSE);
    return old;
}

} // namespace

LRESULT progressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Progress* p = attachState<Progress>(hwnd, message);
    if (!p)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case PBM_SETRANGE:
        return setRange(hwnd, *p, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
        return setRange(hwnd, *p, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        if (lParam)
            *reinterpret_cast<PBRANGE*>(lParam) = PBRANGE{p->low, p->high};
        return wParam ? p->low : p->high;
    case PBM_SETPOS:
        return moveTo(hwnd, *p, static_cast<int>(wParam));
    case PBM_GETPOS:
        return p->pos;
    case PBM_DELTAPOS:
        return moveTo(hwnd, *p, p->pos + static_cast<int>(wParam));
    case PBM_SETSTEP: {
        const int old = p->step;
        p->step = static_cast<int>(wParam);
        return old;
    }
    case PBM_GETSTEP:
        return p->step;
    case PBM_STEPIT: {
        // Past the end the bar starts over from the beginning.
        const int old = p->pos;
        int next = p->pos + p->step;
        const int span = p->high - p->low;
        if (span > 0 && next > p->high)
            next = p->low + (next - p->high) % span;
        else if (span > 0 && next < p->low)
            next = p->high - (p->low - next) % span;
        moveTo(hwnd, *p, next);
        return old;
    }
    case PBM_SETMARQUEE:
        if (!(styleOf(hwnd) & PBS_MARQUEE))
            return FALSE;
        p->marquee = wParam != 0;
        if (p->marquee)
            SetTimer(hwnd, kMarqueeTimer, lParam ? static_cast<UINT>(lParam) : 30, nullptr);
        else
            KillTimer(hwnd, kMarqueeTimer);
        InvalidateRect(hwnd, nullptr, FALSE);
        return TRUE;
    case WM_TIMER:
        if (wParam == kMarqueeTimer && p->marquee) {
            p->marqueeOffset = (p->marqueeOffset + 5) % 1000;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case PBM_SETBARCOLOR: {
        const COLORREF old = p->bar;
        p->bar = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case PBM_GETBARCOLOR:
        return p->bar;
    case PBM_SETBKCOLOR: {
        const COLORREF old = p->background;
        p->background = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case PBM_GETBKCOLOR:
        return p->background;
    case PBM_SETSTATE: {
        if (wParam < PBST_NORMAL || wParam > PBST_PAUSED)
            return 0;
        const int old = p->state;
        p->state = static_cast<int>(wParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return old;
    }
    case PBM_GETSTATE:
        return p->state;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        const ProgressLook look{p->low,     p->high,          p->pos,
                                p->marquee, p->marqueeOffset, (styleOf(hwnd) & PBS_VERTICAL) != 0,
                                p->bar,     p->background};
        paintControl(hwnd, message, wParam, [&](HDC dc, const RECT& r) { paintProgress(hwnd, dc, r, look); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace pal::ctl
