// Creating and destroying windows, and the window tree: parents, owners, siblings, text,
// window longs and properties.
#include "atoms.h"
#include "model.h"

#include "pal/text.h"

#include <algorithm>
#include <cstring>

namespace pal::win {
namespace {

// Top-level windows enter the z-order at the top of their band: topmost ones above all,
// the others right below the topmost ones.
void insertTopLevel(HWND hwnd, bool topmost) {
    auto& list = model().topLevel;
    auto it = list.begin();
    if (!topmost) {
        while (it != list.end()) {
            Window* o = find(*it);
            if (!o || !(o->exStyle & WS_EX_TOPMOST))
                break;
            ++it;
        }
    }
    list.insert(it, hwnd);
}

void defaultPlacement(DWORD style, int& x, int& y, int& cx, int& cy) {
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    const RECT work = primaryWorkArea();
    if (x == CW_USEDEFAULT) {
        if (overlapped) {
            const int step = 26 * (model().cascade++ % 8);
            x = work.left + step;
            y = work.top + step;
        } else {
            x = y = 0;
        }
    }
    if (cx == CW_USEDEFAULT) {
        if (overlapped) {
            cx = (work.right - work.left) * 3 / 4;
            cy = (work.bottom - work.top) * 3 / 4;
        } else {
            cx = cy = 0;
        }
    }
}

// Destroyed windows are gone for good once their WM_NCDESTROY has run.
void freeTree(HWND hwnd) {
    std::vector<HWND> children;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        children = w->children;
    }
    for (HWND c : children)
        freeTree(c);
    send(hwnd, WM_NCDESTROY, 0, 0);
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        for (HWND late : std::vector<HWND>(w->children)) // created while their parent was going
            removeSilently(late);
        forget(w);
        release(hwnd);
    }
    pal::wait::notifyAll();
}

void sendDestroy(HWND hwnd) {
    send(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return;
        children = w->children;
        for (HWND c : children) {
            if (Window* cw = find(c))
                cw->life = Life::Destroying;
        }
    }
    for (HWND c : children)
        sendDestroy(c);
}

// A window's extra bytes, read or written as a T at `index`: ERROR_INVALID_INDEX, and 0 for the
// value, when they lie outside what its class asked for.
template <class T> bool extraFits(const Window* w, int index) {
    if (index >= 0 && static_cast<size_t>(index) + sizeof(T) <= w->extra.size())
        return true;
    SetLastError(ERROR_INVALID_INDEX);
    return false;
}

template <class T> T getExtra(const Window* w, int index) {
    T v{};
    if (extraFits<T>(w, index))
        std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
}

// Stores `value`; the value it replaced.
template <class T> T setExtra(Window* w, int index, T value) {
    T old{};
    if (extraFits<T>(w, index)) {
        std::memcpy(&old, w->extra.data() + index, sizeof old);
        std::memcpy(w->extra.data() + index, &value, sizeof value);
    }
    return old;
}

std::wstring propKey(LPCWSTR name) {
    return isIntAtom(name) ? L"#" + std::to_wstring(intAtom(name)) : pal::text::toLower(name);
}

} // namespace

void notifyParents(HWND hwnd, UINT event) {
    HWND child = hwnd;
    for (;;) {
        HWND parent;
        LONG_PTR id;
        {
            Lock lock = lockModel();
            Window* w = find(child);
            if (!w || !w->parent || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY))
                return;
            parent = w->parent;
            id = w->id;
        }
        send(parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(id)),
             reinterpret_cast<LPARAM>(hwnd));
        child = parent;
    }
}

} // namespace pal::win

using namespace pal::win;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    HWND hwnd = nullptr;
    CREATESTRUCTW cs{};
    {
        Lock lock = lockModel();
        auto cls = findClass(className);
        if (!cls) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        const bool messageOnly = parent == HWND_MESSAGE;
        HWND parentHandle = messageOnly || isDesktop(parent) ? nullptr : parent;
        Window* p = nullptr;
        if (parentHandle && !(p = findOrFail(parentHandle)))
            return nullptr;
        if ((style & WS_CHILD) && !p && !messageOnly) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        auto w = std::make_shared<Window>();
        w->thread = currentThread();
        w->cls = cls;
        w->proc = cls->proc;
        // Visibility and the minimised or maximised state are applied once the window exists.
        w->style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        w->exStyle = exStyle;
        w->instance = instance;
        w->extra.resize(static_cast<size_t>(cls->wndExtra));
        w->messageOnly = messageOnly;
        w->sizePending = !(style & (WS_CHILD | WS_POPUP)) && !messageOnly;
        if ((style & WS_CHILD) && p) {
            w->parent = parentHandle;
            w->id = reinterpret_cast<LONG_PTR>(menu);
        } else {
            w->owner = p ? rootOf(p) : nullptr;
            w->menu = menu;
        }
        defaultPlacement(style, x, y, width, height);
        w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        w->client = w->rect;
        w->normal = w->rect;
        hwnd = allocate(w);
        if (!hwnd)
            return nullptr;
        if (w->parent)
            p->children.push_back(hwnd); // new children go to the bottom: creation order is tab order
        else if (messageOnly)
            model().messageOnly.push_back(hwnd);
        else
            insertTopLevel(hwnd, exStyle & WS_EX_TOPMOST);
        ++cls->windows;
        currentQueue();
        cs = CREATESTRUCTW{
            param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
            windowName, className, exStyle};
    }

    if (!(style & WS_CHILD) && asksMinMax(style)) {
        MINMAXINFO mmi{};
        {
            Lock lock = lockModel();
            Window* w = find(hwnd);
            if (!w)
                return nullptr;
            mmi = defaultMinMax(w);
        }
        send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        Lock lock = lockModel();
        if (Window* w = find(hwnd)) {
            const LONG cx = std::clamp(w->rect.right - w->rect.left, mmi.ptMinTrackSize.x,
                                       std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
            const LONG cy = std::clamp(w->rect.bottom - w->rect.top, mmi.ptMinTrackSize.y,
                                       std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
            w->rect.right = w->rect.left + cx;
            w->rect.bottom = w->rect.top + cy;
            w->client = w->normal = w->rect;
            cs.cx = cx;
            cs.cy = cy;
        }
    }

    bool ok = false;
    if (!send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs), &ok) || !ok) {
        if (ok)
            freeTree(hwnd);
        return nullptr;
    }
    RECT r{};
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return nullptr;
        r = w->rect;
    }
    send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return nullptr;
        w->client = r;
    }
    if (send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    bool sizePending = false;
    {
        Lock lock = lockModel();
        Window* w = find(hwnd);
        if (!w)
            return nullptr;
        if (w->life == Life::Creating)
            w->life = Life::Alive;
        sizePending = w->sizePending;
    }
    if (!sizePending)
        sendSizeAndMove(hwnd);
    if (style & (WS_MAXIMIZE | WS_MINIMIZE))
        changeState(hwnd, (style & WS_MINIMIZE) ? SW_MINIMIZE : SW_MAXIMIZE, SWP_NOACTIVATE);
    // The parent hears of the child before anything shows it.
    notifyParents(hwnd, WM_CREATE);
    if (!IsWindow(hwnd))
        return nullptr;
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    Lock lock = lockModel();
    return live(hwnd);
}

BOOL DestroyWindow(HWND hwnd) {
    bool visible = false;
    bool child = false;
    HWND parent = nullptr;
    {
        Lock lock = lockModel();
        Window* w = findOwnedHere(hwnd);
        if (!w)
            return FALSE;
        if (w->life == Life::Destroying)
            return TRUE; // already on its way; the first call finishes the work
        w->life = Life::Destroying;
        visible = w->style & WS_VISIBLE;
        child = w->parent && (w->style & WS_CHILD);
        parent = w->parent;
    }
    if (visible)
        snapshotOnDestroy(hwnd); // the last picture it showed, when snapshots are asked for
    notifyParents(hwnd, WM_DESTROY);
    // A child is hidden as ShowWindow hides it, which hands its focus to the parent; a
    // top-level window just leaves the screen.
    if (visible && child)
        ShowWindow(hwnd, SW_HIDE);
    else if (visible)
        setWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bool wasActive = false;
    bool hadFocus = false;
    bool hadCapture = false;
    std::vector<HWND> owned;
    {
        Lock lock = lockModel();
        Queue& q = currentQueue();
        wasActive = q.active == hwnd;
        hadFocus = inTree(hwnd, q.focus);
        hadCapture = inTree(hwnd, model().capture);
        for (HWND t : model().topLevel) {
            if (Window* o = find(t); o && o->owner == hwnd)
                owned.push_back(t);
        }
    }
    if (wasActive)
        activate(nextToActivate(hwnd), WA_ACTIVE);
    if (hadFocus) {
        Lock lock = lockModel();
        Queue& q = currentQueue();
        hadFocus = inTree(hwnd, q.focus);
        if (child) {
            Window* p = find(parent);
            parent = p && p->life != Life::Destroying ? parent : nullptr;
        }
    }
    if (hadFocus)
        setFocus(child ? parent : nullptr);
    if (hadCapture)
        ReleaseCapture();
    for (HWND o : owned) {
        if (!DestroyWindow(o) && GetLastError() == ERROR_ACCESS_DENIED)
            runOnOwner(o, [o] { return static_cast<LRESULT>(DestroyWindow(o)); });
    }
    sendDestroy(hwnd);
    freeTree(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    Lock lock = lockModel();
    return isDesktop(hwnd) || find(hwnd) ? TRUE : FALSE;
}

HWND GetDesktopWindow() {
    return desktopHandle();
}

HWND GetParent(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    if (w->style & WS_CHILD)
        return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    HWND previous = nullptr;
    bool visible = false;
    bool wasActive = false;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(child);
        if (!w)
            return nullptr;
        if (isDesktop(newParent))
            newParent = nullptr;
        if (newParent && (!findOrFail(newParent) || inTree(child, newParent))) {
            if (find(newParent))
                SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        previous = w->parent ? w->parent : desktopHandle();
        wasActive = !w->parent && currentQueue().active == child && w->thread == currentThread();
        std::erase(siblingsOf(w), child);
        w->parent = newParent;
        w->messageOnly = false;
        if (newParent) {
            auto& kids = find(newParent)->children;
            kids.insert(kids.begin(), child);
            w->owner = nullptr;
        } else {
            insertTopLevel(child, w->exStyle & WS_EX_TOPMOST);
        }
        visible = visibleInTree(w);
        if (visible) {
            invalidate(w, static_cast<const RECT*>(nullptr), true, ChildMode::All);
            invalidateFrame(w);
        }
    }
    // An active window made a child is active no longer: its new top-level window takes over.
    if (wasActive && newParent)
        activate(nextToActivate(child), WA_ACTIVE);
    // It arrives on top of its new siblings, and hears of its new place as of any move.
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return previous;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    switch (relation) {
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        const auto& sib = siblingsOf(w);
        if (sib.empty())
            return nullptr;
        if (relation == GW_HWNDFIRST)
            return sib.front();
        if (relation == GW_HWNDLAST)
            return sib.back();
        auto it = std::find(sib.begin(), sib.end(), hwnd);
        if (it == sib.end())
            return nullptr;
        if (relation == GW_HWNDNEXT)
            return std::next(it) == sib.end() ? nullptr : *std::next(it);
        return it == sib.begin() ? nullptr : *std::prev(it);
    }
    case GW_OWNER:
        return w->owner;
    case GW_CHILD:
        return w->children.empty() ? nullptr : w->children.front();
    case GW_ENABLEDPOPUP:
        for (HWND t : model().topLevel) {
            Window* o = find(t);
            if (o && o->owner == hwnd && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
                return t;
        }
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent ? w->parent : desktopHandle();
    case GA_ROOT:
        return rootOf(w);
    case GA_ROOTOWNER: {
        Window* r = find(rootOf(w));
        while (r && r->owner && find(r->owner))
            r = find(r->owner);
        return r ? r->handle : nullptr;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    Lock lock = lockModel();
    if (!hwnd || isDesktop(hwnd))
        return model().topLevel.empty() ? nullptr : model().topLevel.front();
    Window* w = findOrFail(hwnd);
    return w && !w->children.empty() ? w->children.front() : nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Lock lock = lockModel();
    return isDescendant(parent, hwnd) ? TRUE : FALSE;
}

namespace {
// Calls `proc` for each window of a snapshot that still exists when its turn comes.
BOOL enumerate(const std::vector<HWND>& windows, WNDENUMPROC proc, LPARAM param) {
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (HWND h : windows) {
        {
            Lock lock = lockModel();
            if (!find(h))
                continue;
        }
        if (!proc(h, param))
            return FALSE;
    }
    return TRUE;
}
} // namespace

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
    std::vector<HWND> windows;
    {
        Lock lock = lockModel();
        windows = model().topLevel;
    }
    return enumerate(windows, proc, param);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
    if (!parent || isDesktop(parent))
        return EnumWindows(proc, param);
    std::vector<HWND> windows;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(parent);
        if (!w)
            return FALSE;
        std::vector<HWND> stack(w->children.rbegin(), w->children.rend());
        while (!stack.empty()) {
            const HWND h = stack.back();
            stack.pop_back();
            windows.push_back(h);
            if (Window* c = find(h))
                stack.insert(stack.end(), c->children.rbegin(), c->children.rend());
        }
    }
    enumerate(windows, proc, param);
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM param) {
    std::vector<HWND> windows;
    {
        Lock lock = lockModel();
        windows = topLevelOf(threadId ? threadId : currentThread());
    }
    return enumerate(windows, proc, param) && !windows.empty() ? TRUE : FALSE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return 0;
    if (processId)
        *processId = GetCurrentProcessId();
    return w->thread;
}

HWND GetDlgItem(HWND dialog, int id) {
    Lock lock = lockModel();
    Window* w = findOrFail(dialog);
    if (!w)
        return nullptr;
    for (HWND c : w->children) {
        if (Window* cw = find(c); cw && static_cast<int>(cw->id) == id)
            return c;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    return w ? static_cast<int>(w->id) : 0;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    bool ok = false;
    const LRESULT r = send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), &ok);
    return ok && r ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = L'\0';
    return static_cast<int>(
        send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int size) {
    std::wstring text;
    {
        Lock lock = lockModel();
        Window* w = findOrFail(hwnd);
        if (!w)
            return 0;
        text = w->text;
    }
    return copyText(text, buffer, size);
}

int GetWindowTextLengthW(HWND hwnd) {
    return static_cast<int>(send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID:
        return w->parent ? w->id : reinterpret_cast<LONG_PTR>(w->menu);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA:
        return w->userData;
    default:
        return getExtra<LONG_PTR>(w, index);
    }
}

LONG GetWindowLongW(HWND hwnd, int index) {
    if (index < 0)
        return static_cast<LONG>(GetWindowLongPtrW(hwnd, index));
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    return w ? getExtra<LONG>(w, index) : 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        STYLESTRUCT ss{};
        {
            Lock lock = lockModel();
            Window* w = findOrFail(hwnd);
            if (!w)
                return 0;
            ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
        }
        ss.styleNew = static_cast<DWORD>(value);
        send(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        {
            Lock lock = lockModel();
            Window* w = findOrFail(hwnd);
            if (!w)
                return 0;
            (index == GWL_STYLE ? w->style : w->exStyle) = ss.styleNew;
        }
        send(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        return static_cast<LONG_PTR>(static_cast<LONG>(ss.styleOld));
    }
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        if (!value) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    case GWLP_HWNDPARENT:
        if (w->parent) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<LONG_PTR>(w->owner);
        w->owner = reinterpret_cast<HWND>(value);
        return old;
    case GWLP_ID:
        if (w->parent) {
            old = w->id;
            w->id = value;
        } else {
            old = reinterpret_cast<LONG_PTR>(w->menu);
            w->menu = reinterpret_cast<HMENU>(value);
        }
        return old;
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        return old;
    default:
        return setExtra<LONG_PTR>(w, index, value);
    }
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    if (index < 0)
        return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value));
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    return w ? setExtra<LONG>(w, index, value) : 0;
}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return FALSE;
    w->props[propKey(name)] = data;
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    if (!name)
        return nullptr;
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    auto it = w->props.find(propKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    if (!name)
        return nullptr;
    Lock lock = lockModel();
    Window* w = findOrFail(hwnd);
    if (!w)
        return nullptr;
    auto it = w->props.find(propKey(name));
    if (it == w->props.end())
        return nullptr;
    HANDLE data = it->second;
    w->props.erase(it);
    return data;
}
