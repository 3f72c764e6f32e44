// Activation, focus, the foreground window, enabling and mouse capture.
#include "model.h"

#include "driver.h"

#include "pal/format.h"
#include "pal/journal.h"
#include "pal/text.h"

namespace pal::win {

void activate(HWND hwnd, WORD how) {
    HWND old = nullptr;
    std::vector<HWND> threadWindows;
    {
        Lock lock = lockModel();
        Queue& q = currentQueue();
        if (hwnd) {
            Window* w = find(hwnd);
            if (!w || w->thread != q.thread)
                return;
            hwnd = rootOf(w);
        }
        old = live(q.active);
        if (old == hwnd)
            return;
        q.active = hwnd;
        Model& m = model();
        Window* fg = find(m.foreground);
        if (hwnd) {
            // A thread brings its window to the foreground when it holds the foreground or nobody does.
            if (!fg || fg->thread == q.thread)
                m.foreground = hwnd;
        } else if (fg && fg->thread == q.thread) {
            m.foreground = nullptr;
        }
        threadWindows = topLevelOf(q.thread);
    }
    if (old) {
        send(old, WM_NCACTIVATE, FALSE, 0);
        send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
             reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd)
        raiseOnActivation(hwnd);
    if (!old && hwnd) {
        for (HWND t : threadWindows)
            send(t, WM_ACTIVATEAPP, TRUE, 0);
    }
    if (hwnd) {
        send(hwnd, WM_NCACTIVATE, TRUE, 0);
        send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    } else {
        for (HWND t : threadWindows)
            send(t, WM_ACTIVATEAPP, FALSE, 0);
        setFocus(nullptr);
    }
}

HWND setFocus(HWND hwnd) {
    if (hwnd) {
        HWND top = nullptr;
        bool inactive = false;
        {
            Lock lock = lockModel();
            Window* w = findOwnedHere(hwnd);
            if (!w)
                return nullptr;
            top = rootOf(w);
            inactive = currentQueue().active != top;
        }
        if (inactive)
            activate(top, WA_ACTIVE);
    }
    HWND old = nullptr;
    {
        Lock lock = lockModel();
        Queue& q = currentQueue();
        old = live(q.focus);
        if (old == hwnd)
            return old;
        if (hwnd && !find(hwnd))
            return nullptr;
        q.focus = hwnd;
        // The focus leaves a top-level window: the control that held it is remembered there.
        if (Window* leaving = find(old)) {
            Window* top = find(rootOf(leaving));
            if (top && top != leaving && !inTree(top->handle, hwnd))
                top->lastFocus = old;
        }
    }
    if (old)
        send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd) {
        bool still = false;
        {
            Lock lock = lockModel();
            still = currentQueue().focus == hwnd && find(hwnd);
        }
        if (still)
            send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

HWND focusOnActivation(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = find(hwnd);
    Window* last = w ? find(w->lastFocus) : nullptr;
    if (!last || last == w || !isDescendant(hwnd, last->handle) || !visibleInTree(last) ||
        !enabledInTree(last) || last->life != Life::Alive)
        return hwnd;
    return last->handle;
}

HWND nextToActivate(HWND leaving) {
    Lock lock = lockModel();
    Window* w = find(leaving);
    const DWORD thread = w ? w->thread : currentThread();
    auto usable = [&](Window* o) {
        return o && o->handle != leaving && o->thread == thread && o->life != Life::Destroying &&
               (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED) && !(o->exStyle & WS_EX_NOACTIVATE) &&
               o->owner != leaving;
    };
    if (w && w->owner) {
        if (Window* o = find(w->owner); usable(o))
            return o->handle;
    }
    for (HWND h : model().topLevel) {
        if (Window* o = find(h); usable(o))
            return h;
    }
    return nullptr;
}

} // namespace pal::win

using namespace pal::win;

HWND GetFocus() {
    Lock lock = lockModel();
    return live(currentQueue().focus);
}

HWND SetFocus(HWND hwnd) {
    return setFocus(hwnd);
}

HWND GetActiveWindow() {
    Lock lock = lockModel();
    return live(currentQueue().active);
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old = nullptr;
    {
        Lock lock = lockModel();
        if (!findOwnedHere(hwnd))
            return nullptr;
        old = currentQueue().active;
    }
    activate(hwnd, WA_ACTIVE);
    return old;
}

HWND GetForegroundWindow() {
    Lock lock = lockModel();
    return live(model().foreground);
}

BOOL SetForegroundWindow(HWND hwnd) {
    HWND root = nullptr;
    std::string text, cls;
    bool here = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        root = rootOf(w);
        Window* r = find(root);
        text = pal::text::toUtf8(r->text);
        cls = pal::text::toUtf8(r->cls->name);
        here = r->thread == currentThread();
        model().foreground = root;
    }
    pal::journal::record(
        "foreground",
        {{"window", pal::format("0x%08x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(root)))},
         {"class", cls},
         {"text", text}});
    if (here)
        activate(root, WA_ACTIVE);
    else
        runOnOwnerLater(root, [root] {
            activate(root, WA_ACTIVE);
            return LRESULT{0};
        });
    return TRUE;
}

BOOL AllowSetForegroundWindow(DWORD) {
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool here = false;
    bool wasDisabled = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return FALSE;
        here = w->thread == currentThread();
        wasDisabled = w->style & WS_DISABLED;
    }
    if (!here) {
        LRESULT r = 0;
        runOnOwner(
            hwnd, [=] { return static_cast<LRESULT>(EnableWindow(hwnd, enable)); }, &r);
        return static_cast<BOOL>(r);
    }
    if (enable) {
        if (!wasDisabled)
            return FALSE;
        {
            Lock lock = lockModel();
            if (Window* w = find(hwnd))
                w->style &= ~WS_DISABLED;
        }
        send(hwnd, WM_ENABLE, TRUE, 0);
        return TRUE;
    }
    if (wasDisabled)
        return TRUE;
    send(hwnd, WM_CANCELMODE, 0, 0);
    bool focusInside = false;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return FALSE;
        w->style |= WS_DISABLED;
        const HWND focus = currentQueue().focus;
        focusInside = inTree(hwnd, focus);
    }
    if (focusInside)
        setFocus(nullptr);
    send(hwnd, WM_ENABLE, FALSE, 0);
    return FALSE;
}

HWND GetCapture() {
    Lock lock = lockModel();
    return live(model().capture);
}

HWND SetCapture(HWND hwnd) {
    HWND old = nullptr;
    {
        Lock lock = lockModel();
        if (!findOrFail(hwnd))
            return nullptr;
        old = live(model().capture);
        model().capture = hwnd;
        // The pointer follows the capture outside the program's windows too.
        driver().capture(rootOf(find(hwnd)));
    }
    if (old && old != hwnd)
        send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture() {
    HWND old = nullptr;
    {
        Lock lock = lockModel();
        old = live(model().capture);
        model().capture = nullptr;
        if (old)
            driver().capture(nullptr);
    }
    if (old)
        send(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
