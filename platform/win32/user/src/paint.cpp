// Invalid areas and WM_PAINT. Update regions are real regions in client coordinates; the
// device contexts of BeginPaint and GetDC draw into the top-level window's surface, clipped to
// what of the window can be seen (and to the update region while painting).
#include "model.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

using pal::gdi::Region;

namespace pal::win {
namespace {

RECT clientBox(Window* w) {
    return RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
}

bool includesChildren(Window* w, ChildMode mode) {
    return mode == ChildMode::All || (mode == ChildMode::Default && !(w->style & WS_CLIPCHILDREN));
}

bool hasNonClientArea(Window* w) {
    return !EqualRect(&w->rect, &w->client);
}

// The DC BeginPaint hands out: the visible client area within the update region.
HDC paintDC(Window* w, const Region& update) {
    Region clip = update;
    const RECT origin = rectInRoot(w, true);
    clip.offset(origin.left, origin.top);
    clip.intersect(visibleRegion(w, true));
    return windowDC(w, true, clip);
}

void eraseNow(HWND hwnd) {
    HDC dc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || !w->erase)
            return;
        w->erase = false;
        dc = paintDC(w, w->update);
    }
    send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    pal::gdi::releaseWindowDC(dc);
}

// WM_NCPAINT when the frame is due; wParam 1 stands for the whole frame.
void paintFrameIfDue(HWND hwnd) {
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || !w->frameDirty)
            return;
        w->frameDirty = false;
        if (!hasNonClientArea(w) || !visibleInTree(w))
            return;
    }
    send(hwnd, WM_NCPAINT, 1, 0);
}

// The window and, where `mode` takes them, its descendants, parents first.
std::vector<HWND> paintOrder(HWND hwnd, ChildMode mode) {
    std::vector<HWND> out{hwnd};
    for (size_t i = 0; i < out.size(); ++i) {
        Window* w = find(out[i]);
        if (w && includesChildren(w, mode))
            out.insert(out.end(), w->children.begin(), w->children.end());
    }
    return out;
}

Region regionOrWhole(HRGN handle, const RECT* rect, bool& ok) {
    ok = true;
    Region area;
    if (handle) {
        ok = pal::gdi::regionOf(handle, area);
        return area;
    }
    return rect ? Region(*rect) : Region();
}

} // namespace

void setDirty(Window* w, bool dirty) {
    if (w->dirty == dirty)
        return;
    w->dirty = dirty;
    if (Queue* q = queueOf(w->thread)) {
        q->dirtyWindows += dirty ? 1 : -1;
        if (dirty)
            wake(*q, QS_PAINT);
    }
}

bool needsPaint(Window* w) {
    return w->dirty && visibleInTree(w);
}

void invalidate(Window* w, const Region* area, bool erase, ChildMode mode) {
    if (!visibleInTree(w))
        return;
    Region r(clientBox(w));
    if (area)
        r.intersect(*area);
    if (!r.empty()) {
        w->update.unite(r);
        w->erase = w->erase || erase;
        setDirty(w, true);
    }
    if (r.empty() || !includesChildren(w, mode))
        return;
    const ChildMode next = mode == ChildMode::All ? ChildMode::All : ChildMode::Default;
    for (HWND c : w->children) {
        Window* cw = find(c);
        if (!cw || !(cw->style & WS_VISIBLE))
            continue;
        Region cr = r;
        cr.offset(-cw->client.left, -cw->client.top);
        invalidate(cw, &cr, erase, next);
    }
}

void invalidate(Window* w, const RECT* rect, bool erase, ChildMode mode) {
    if (!rect) {
        invalidate(w, static_cast<const Region*>(nullptr), erase, mode);
        return;
    }
    const Region area(*rect);
    invalidate(w, &area, erase, mode);
}

void validate(Window* w, const Region* area, ChildMode mode) {
    if (area)
        w->update.subtract(*area);
    else
        w->update = Region();
    if (w->update.empty()) {
        w->erase = false;
        setDirty(w, w->internalPaint);
    }
    if (!includesChildren(w, mode))
        return;
    for (HWND c : w->children) {
        Window* cw = find(c);
        if (!cw)
            continue;
        const ChildMode next = mode == ChildMode::All ? ChildMode::All : ChildMode::Default;
        if (area) {
            Region cr = *area;
            cr.offset(-cw->client.left, -cw->client.top);
            validate(cw, &cr, next);
        } else {
            validate(cw, nullptr, next);
        }
    }
}

void invalidateFrame(Window* w) {
    if (!visibleInTree(w))
        return;
    if (hasNonClientArea(w)) {
        w->frameDirty = true;
        w->erase = true;
        setDirty(w, true);
    }
    for (HWND c : w->children) {
        if (Window* cw = find(c))
            invalidateFrame(cw);
    }
}

void paintNow(HWND hwnd) {
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || !needsPaint(w))
            return;
    }
    send(hwnd, WM_PAINT, 0, 0);
    finishPaint(hwnd);
}

namespace {

thread_local bool dispatchingPaint = false;

// A test's way to fault in the middle of a paint: DV_PAL_FAULT_IN_PAINT names a signal's number,
// raised once, by the first paint the main thread's loop dispatches, with the paint's device
// context taken.
// It is taken out of the environment as the library loads (one thread then), so that a copy the
// program starts after the fault runs without it.
const int faultInPaintSignal = [] {
    const char* value = std::getenv("DV_PAL_FAULT_IN_PAINT");
    const int signal = value != nullptr ? std::atoi(value) : 0;
    if (value != nullptr)
        ::unsetenv("DV_PAL_FAULT_IN_PAINT");
    return signal;
}();

void faultInPaintIfAsked() {
    static std::atomic<bool> raised{false};
    if (faultInPaintSignal > 0 && dispatchingPaint && ::gettid() == ::getpid() && !raised.exchange(true))
        std::raise(faultInPaintSignal);
}

} // namespace

void setDispatchingPaint(bool dispatching) {
    dispatchingPaint = dispatching;
}

void finishPaint(HWND hwnd) {
    {
        // A procedure that does not paint would otherwise be asked again forever.
        Lock lock = lockModel();
        if (Window* w = find(hwnd); w && w->dirty) {
            w->internalPaint = false;
            validate(w, nullptr, ChildMode::None);
        }
    }
    // Nor would its frame be painted without BeginPaint.
    paintFrameIfDue(hwnd);
}

} // namespace pal::win

using namespace pal::win;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (!paint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    {
        Lock lock = lockModel();
        if (!findOrFail(hwnd))
            return nullptr;
    }
    paintFrameIfDue(hwnd);
    Region update;
    bool erase = false;
    HDC dc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return nullptr;
        update = w->update;
        erase = w->erase;
        w->update = Region();
        w->erase = false;
        w->internalPaint = false;
        setDirty(w, false);
        dc = paintDC(w, update);
    }
    paint->hdc = dc;
    paint->rcPaint = update.box();
    faultInPaintIfAsked();
    if (erase)
        paint->fErase = send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (!paint)
        return FALSE;
    return pal::gdi::releaseWindowDC(paint->hdc) ? TRUE : FALSE;
}

HDC GetDC(HWND hwnd) {
    Lock lock = lockModel();
    if (!hwnd || isDesktop(hwnd))
        return windowDC(nullptr, true, Region()); // the screen
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    return windowDC(w, true, visibleRegion(w, true));
}

HDC GetWindowDC(HWND hwnd) {
    Lock lock = lockModel();
    if (!hwnd || isDesktop(hwnd))
        return windowDC(nullptr, false, Region()); // the screen
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    return windowDC(w, false, visibleRegion(w, false));
}

int ReleaseDC(HWND, HDC dc) {
    return pal::gdi::releaseWindowDC(dc) ? 1 : 0;
}

HWND WindowFromDC(HDC dc) {
    return pal::gdi::windowOfDC(dc);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Lock lock = lockModel();
    if (!hwnd || isDesktop(hwnd)) {
        for (HWND h : model().topLevel) {
            if (Window* w = find(h))
                invalidate(w, static_cast<const Region*>(nullptr), true, ChildMode::All);
        }
        return TRUE;
    }
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    invalidate(w, rect, erase, ChildMode::Default);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    bool ok = true;
    const Region area = regionOrWhole(region, nullptr, ok);
    if (!ok)
        return FALSE;
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    invalidate(w, region ? &area : nullptr, erase, ChildMode::Default);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Lock lock = lockModel();
    if (!hwnd)
        return TRUE;
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    const Region area = rect ? Region(*rect) : Region();
    validate(w, rect ? &area : nullptr, ChildMode::None);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    bool ok = true;
    const Region area = regionOrWhole(region, nullptr, ok);
    if (!ok)
        return FALSE;
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    validate(w, region ? &area : nullptr, ChildMode::None);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    RECT r{};
    bool pendingErase = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        if (w->dirty)
            r = w->update.box();
        pendingErase = w->erase;
    }
    if (rect)
        *rect = r;
    const bool any = !IsRectEmpty(&r);
    if (any && erase && pendingErase)
        eraseNow(hwnd);
    return any ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
    Region update;
    bool pendingErase = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return ERROR;
        if (w->dirty)
            update = w->update;
        pendingErase = w->erase;
    }
    if (!pal::gdi::setRegion(region, update))
        return ERROR;
    if (!update.empty() && erase && pendingErase)
        eraseNow(hwnd);
    return update.kind();
}

BOOL UpdateWindow(HWND hwnd) {
    {
        Lock lock = lockModel();
        if (!findOrFail(hwnd))
            return FALSE;
    }
    paintNow(hwnd);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN region, UINT flags) {
    const ChildMode mode = (flags & RDW_ALLCHILDREN)  ? ChildMode::All
                           : (flags & RDW_NOCHILDREN) ? ChildMode::None
                                                      : ChildMode::Default;
    bool ok = true;
    const Region given = regionOrWhole(region, update, ok);
    if (!ok)
        return FALSE;
    const Region* area = (region || update) ? &given : nullptr;
    std::vector<HWND> targets;
    {
        Lock lock = lockModel();
        if (!hwnd || isDesktop(hwnd)) {
            targets = model().topLevel;
        } else {
            if (!findOrFail(hwnd))
                return FALSE;
            targets.push_back(hwnd);
        }
        for (HWND h : targets) {
            Window* w = find(h);
            if (!w)
                continue;
            if (flags & RDW_INVALIDATE) {
                invalidate(w, area, (flags & RDW_ERASE) && !(flags & RDW_NOERASE), mode);
                if (flags & RDW_FRAME)
                    invalidateFrame(w);
            }
            if ((flags & RDW_INTERNALPAINT) && visibleInTree(w)) {
                w->internalPaint = true;
                setDirty(w, true);
            }
            if (flags & RDW_VALIDATE) {
                validate(w, area, mode);
                if (flags & RDW_NOFRAME)
                    w->frameDirty = false;
            }
            if (flags & RDW_NOINTERNALPAINT) {
                w->internalPaint = false;
                if (w->update.empty() && !w->frameDirty)
                    setDirty(w, false);
            }
        }
    }
    if (!(flags & (RDW_UPDATENOW | RDW_ERASENOW)))
        return TRUE;
    for (HWND h : targets) {
        std::vector<HWND> order;
        {
            Lock lock = lockModel();
            order = paintOrder(h, mode);
        }
        for (HWND p : order) {
            if (flags & RDW_UPDATENOW) {
                paintNow(p);
            } else {
                paintFrameIfDue(p);
                eraseNow(p);
            }
        }
    }
    return TRUE;
}
