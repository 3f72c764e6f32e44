// Invalid areas and WM_PAINT. The update region of a window is kept as its bounding
// rectangle; device contexts are handles that name their window until later layers draw.
#include "model.h"

#include <set>

namespace pal::win {
namespace {

struct DeviceContext {
    HWND window = nullptr;
    bool wholeWindow = false;
};

std::set<DeviceContext*>& contexts() {
    static auto* s = new std::set<DeviceContext*>;
    return *s;
}

HDC makeContext(HWND hwnd, bool wholeWindow) {
    auto* dc = new DeviceContext{hwnd, wholeWindow};
    contexts().insert(dc);
    return reinterpret_cast<HDC>(dc);
}

bool dropContext(HDC hdc) {
    auto* dc = reinterpret_cast<DeviceContext*>(hdc);
    if (!contexts().erase(dc))
        return false;
    delete dc;
    return true;
}

RECT clientBox(Window* w) {
    return RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
}

bool includesChildren(Window* w, ChildMode mode) {
    return mode == ChildMode::All || (mode == ChildMode::Default && !(w->style & WS_CLIPCHILDREN));
}

void eraseNow(HWND hwnd) {
    HDC dc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w || !w->erase)
            return;
        w->erase = false;
        dc = makeContext(hwnd, false);
    }
    send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Lock lock = lockModel();
    dropContext(dc);
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

void invalidate(Window* w, const RECT* rect, bool erase, ChildMode mode) {
    if (!visibleInTree(w))
        return;
    const RECT box = clientBox(w);
    RECT r = box;
    if (rect && !IntersectRect(&r, rect, &box))
        SetRectEmpty(&r);
    if (!IsRectEmpty(&r)) {
        UnionRect(&w->update, &w->update, &r);
        w->erase = w->erase || erase;
        setDirty(w, true);
    }
    if (IsRectEmpty(&r) || !includesChildren(w, mode))
        return;
    const ChildMode next = mode == ChildMode::All ? ChildMode::All : ChildMode::Default;
    for (HWND c : w->children) {
        Window* cw = find(c);
        if (!cw || !(cw->style & WS_VISIBLE))
            continue;
        RECT cr = r;
        OffsetRect(&cr, -cw->client.left, -cw->client.top);
        invalidate(cw, &cr, erase, next);
    }
}

void validate(Window* w, const RECT* rect, ChildMode mode) {
    // A bounding rectangle can only lose what a covering rectangle takes entirely.
    RECT covered{};
    if (!rect || (IntersectRect(&covered, rect, &w->update) && EqualRect(&covered, &w->update))) {
        SetRectEmpty(&w->update);
        w->erase = false;
        setDirty(w, w->internalPaint);
    }
    if (!includesChildren(w, mode))
        return;
    for (HWND c : w->children) {
        if (Window* cw = find(c))
            validate(cw, nullptr, mode == ChildMode::All ? ChildMode::All : ChildMode::Default);
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
    Lock lock = lockModel();
    if (Window* w = find(hwnd); w && w->dirty) {
        w->internalPaint = false;
        validate(w, nullptr, ChildMode::None);
    }
}

} // namespace pal::win

using namespace pal::win;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (!paint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    RECT update{};
    bool erase = false;
    HDC dc = nullptr;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return nullptr;
        update = w->update;
        erase = w->erase;
        SetRectEmpty(&w->update);
        w->erase = false;
        w->internalPaint = false;
        setDirty(w, false);
        dc = makeContext(hwnd, false);
    }
    paint->hdc = dc;
    paint->rcPaint = update;
    if (erase)
        paint->fErase = send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (!paint)
        return FALSE;
    Lock lock = lockModel();
    dropContext(paint->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    Lock lock = lockModel();
    if (hwnd && !findOrFail(hwnd))
        return nullptr;
    return makeContext(hwnd ? hwnd : desktopHandle(), false);
}

HDC GetWindowDC(HWND hwnd) {
    Lock lock = lockModel();
    if (hwnd && !findOrFail(hwnd))
        return nullptr;
    return makeContext(hwnd ? hwnd : desktopHandle(), true);
}

int ReleaseDC(HWND, HDC dc) {
    Lock lock = lockModel();
    return dropContext(dc) ? 1 : 0;
}

HWND WindowFromDC(HDC hdc) {
    Lock lock = lockModel();
    auto* dc = reinterpret_cast<DeviceContext*>(hdc);
    return contexts().count(dc) ? dc->window : nullptr;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Lock lock = lockModel();
    if (!hwnd || isDesktop(hwnd)) {
        for (HWND h : model().topLevel) {
            if (Window* w = find(h))
                invalidate(w, nullptr, true, ChildMode::All);
        }
        return TRUE;
    }
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    invalidate(w, rect, erase, ChildMode::Default);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Lock lock = lockModel();
    if (!hwnd)
        return TRUE;
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    validate(w, rect, ChildMode::None);
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
            r = w->update;
        pendingErase = w->erase;
    }
    if (rect)
        *rect = r;
    const bool any = !IsRectEmpty(&r);
    if (any && erase && pendingErase)
        eraseNow(hwnd);
    return any ? TRUE : FALSE;
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
    const RECT* area = region ? nullptr : update;
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
            if (flags & RDW_INVALIDATE)
                invalidate(w, area, (flags & RDW_ERASE) && !(flags & RDW_NOERASE), mode);
            if ((flags & RDW_INTERNALPAINT) && visibleInTree(w)) {
                w->internalPaint = true;
                setDirty(w, true);
            }
            if (flags & RDW_VALIDATE)
                validate(w, area, mode);
            if (flags & RDW_NOINTERNALPAINT) {
                w->internalPaint = false;
                if (IsRectEmpty(&w->update))
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
            if (flags & RDW_UPDATENOW)
                paintNow(p);
            else
                eraseNow(p);
        }
    }
    return TRUE;
}
