#include "model.h"

#include "win/base.h"

#include <algorithm>

namespace pal::win {
namespace {

// Handle value: (generation << 16 | slot) << 2. It stays below 2^31 like the platform's, so
// a handle printed as 0x%08x is whole; slot 0 is the desktop. Freed slots are reused oldest
// first, so a stale handle is not soon repeated.
constexpr std::uintptr_t kSlotBits = 16;
constexpr std::uintptr_t kSlotMask = (std::uintptr_t{1} << kSlotBits) - 1;
constexpr std::uint32_t kGenerationMask = (1u << 13) - 1;

HWND encode(std::uint32_t slot, std::uint32_t generation) {
    return reinterpret_cast<HWND>(((static_cast<std::uintptr_t>(generation) << kSlotBits) | slot) << 2);
}

} // namespace

Lock lockModel() {
    static std::mutex& hub = pal::wait::hubMutex();
    return Lock(hub);
}

Model& model() {
    static Model* m = new Model; // never destroyed: windows may be touched from static destructors
    return *m;
}

HWND desktopHandle() {
    return encode(0, 1);
}
bool isDesktop(HWND hwnd) {
    return hwnd == desktopHandle();
}

Window* find(HWND hwnd) {
    const auto v = reinterpret_cast<std::uintptr_t>(hwnd);
    if ((v & 3) != 0 || v > 0x7FFFFFFF)
        return nullptr;
    const std::uintptr_t slot = (v >> 2) & kSlotMask;
    const std::uintptr_t generation = v >> (2 + kSlotBits);
    auto& slots = model().slots;
    if (slot == 0 || slot >= slots.size() || slots[slot].generation != generation || !slots[slot].window)
        return nullptr;
    return slots[slot].window.get();
}

Window* findOrFail(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window* findOwnedHere(HWND hwnd) {
    Window* w = findOrFail(hwnd);
    if (w && w->thread != currentThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return w;
}

HWND live(HWND hwnd) {
    return find(hwnd) ? hwnd : nullptr;
}

HWND allocate(std::shared_ptr<Window> window) {
    Model& m = model();
    if (m.slots.empty())
        m.slots.resize(1); // the desktop's
    std::uint32_t slot;
    if (m.freeSlots.size() > 1024 || (m.slots.size() > kSlotMask && !m.freeSlots.empty())) {
        slot = m.freeSlots.front();
        m.freeSlots.pop_front();
    } else if (m.slots.size() <= kSlotMask) {
        slot = static_cast<std::uint32_t>(m.slots.size());
        m.slots.emplace_back();
    } else {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return nullptr;
    }
    const HWND h = encode(slot, m.slots[slot].generation);
    window->handle = h;
    m.slots[slot].window = std::move(window);
    return h;
}

void release(HWND hwnd) {
    const auto v = reinterpret_cast<std::uintptr_t>(hwnd);
    const std::uint32_t slot = static_cast<std::uint32_t>((v >> 2) & kSlotMask);
    auto& s = model().slots[slot];
    s.window.reset();
    s.generation = (s.generation + 1) & kGenerationMask;
    if (s.generation == 0)
        s.generation = 1;
    model().freeSlots.push_back(slot);
}

int copyText(const std::wstring& text, LPWSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    std::copy_n(text.begin(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<int>(n);
}

// --- Queues ---

namespace {

[[gnu::tls_model("initial-exec")]] thread_local Queue* tQueue = nullptr;
[[gnu::tls_model("initial-exec")]] thread_local DWORD tThread = 0;

// Ends the thread's part of the model when the thread ends: its windows go (a thread that
// has ended answers nothing), and whoever waits for a reply from it is told it failed.
struct QueueHolder {
    std::shared_ptr<Queue> queue;
    ~QueueHolder() { end(); }
    void end() {
        if (!queue)
            return;
        {
            Lock lock = lockModel();
            queue->alive = false;
            for (auto& s : queue->sent) {
                s->done = true;
                s->failed = true;
            }
            queue->sent.clear();
            snapshotThreadWindows(queue->thread); // the program's end, for its main thread
            for (HWND h : treeOrder(queue->thread))
                removeSilently(h); // already gone when it was under an earlier one
            model().queues.erase(queue->thread);
        }
        queue.reset();
        tQueue = nullptr;
        pal::wait::notifyAll();
    }
};

// The holder's destructor ends the queue with its thread; the plain pointer and id above are
// what every call reads, without the holder's initialisation check.
thread_local QueueHolder tHolder;

} // namespace

DWORD currentThread() {
    if (!tThread)
        tThread = GetCurrentThreadId();
    return tThread;
}

void endCurrentQueue() {
    tHolder.end();
}

Queue& currentQueue() {
    if (!tQueue) {
        tHolder.queue = std::make_shared<Queue>();
        tHolder.queue->thread = currentThread();
        model().queues[tHolder.queue->thread] = tHolder.queue;
        tQueue = tHolder.queue.get();
    }
    return *tQueue;
}

Queue* queueOf(DWORD thread) {
    if (thread == currentThread())
        return &currentQueue();
    auto& qs = model().queues;
    auto it = qs.find(thread);
    return it == qs.end() || !it->second->alive ? nullptr : it->second.get();
}

void wake(Queue& q, UINT bits) {
    q.changed |= bits;
    if (q.waiting > 0)
        pal::wait::notifyAll();
}

// --- Tree ---

std::vector<HWND>& siblingsOf(Window* w) {
    if (w->parent) {
        if (Window* p = find(w->parent))
            return p->children;
    }
    return w->messageOnly ? model().messageOnly : model().topLevel;
}

HWND rootOf(Window* w) {
    while (w->parent) {
        Window* p = find(w->parent);
        if (!p)
            break;
        w = p;
    }
    return w->handle;
}

bool isDescendant(HWND ancestor, HWND hwnd) {
    Window* w = find(hwnd);
    while (w && w->parent) {
        if (w->parent == ancestor)
            return true;
        w = find(w->parent);
    }
    return false;
}

bool inTree(HWND root, HWND hwnd) {
    return hwnd && (hwnd == root || isDescendant(root, hwnd));
}

bool visibleInTree(Window* w) {
    for (; w; w = w->parent ? find(w->parent) : nullptr) {
        if (!(w->style & WS_VISIBLE))
            return false;
    }
    return true;
}

bool enabledInTree(Window* w) {
    return w && !(w->style & WS_DISABLED);
}

namespace {
void collect(HWND h, DWORD thread, std::vector<HWND>& out) {
    Window* w = find(h);
    if (!w)
        return;
    if (!thread || w->thread == thread)
        out.push_back(h);
    for (HWND c : w->children)
        collect(c, thread, out);
}
} // namespace

std::vector<HWND> treeOrder(DWORD thread) {
    std::vector<HWND> out;
    for (HWND h : model().topLevel)
        collect(h, thread, out);
    for (HWND h : model().messageOnly)
        collect(h, thread, out);
    return out;
}

std::vector<HWND> topLevelOf(DWORD thread) {
    std::vector<HWND> out;
    for (HWND h : model().topLevel) {
        Window* w = find(h);
        if (w && (!thread || w->thread == thread))
            out.push_back(h);
    }
    return out;
}

// --- Geometry ---

POINT clientOrigin(Window* w) {
    POINT base{0, 0};
    if (w->parent) {
        if (Window* p = find(w->parent))
            base = clientOrigin(p);
    }
    return POINT{base.x + w->client.left, base.y + w->client.top};
}

RECT screenRect(Window* w) {
    POINT base{0, 0};
    if (w->parent) {
        if (Window* p = find(w->parent))
            base = clientOrigin(p);
    }
    RECT r = w->rect;
    OffsetRect(&r, base.x, base.y);
    return r;
}

RECT nonClientInsets(DWORD style, DWORD exStyle, bool menuBar) {
    int edge = 0;
    if (style & WS_THICKFRAME)
        edge = GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        edge = GetSystemMetrics(SM_CXFIXEDFRAME);
    else if (style & WS_BORDER)
        edge = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE)
        edge += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE)
        edge += GetSystemMetrics(SM_CXBORDER);
    RECT in{edge, edge, edge, edge};
    if ((style & WS_CAPTION) == WS_CAPTION)
        in.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    if (menuBar)
        in.top += GetSystemMetrics(SM_CYMENU);
    if (style & WS_VSCROLL)
        in.right += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL)
        in.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return in;
}

LRESULT frameHitTest(DWORD style, const RECT& window, const RECT& client, POINT p) {
    if (!PtInRect(&window, p))
        return HTNOWHERE;
    if (PtInRect(&client, p))
        return HTCLIENT;
    if ((style & WS_CAPTION) == WS_CAPTION && p.y < client.top && p.x >= client.left && p.x < client.right)
        return HTCAPTION;
    if (style & WS_THICKFRAME) {
        const bool left = p.x < client.left, right = p.x >= client.right;
        const bool top = p.y < window.top + GetSystemMetrics(SM_CYSIZEFRAME), bottom = p.y >= client.bottom;
        if (top)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }
    if ((style & WS_VSCROLL) && p.x >= client.right && p.y >= client.top && p.y < client.bottom)
        return HTVSCROLL;
    if ((style & WS_HSCROLL) && p.y >= client.bottom && p.x >= client.left && p.x < client.right)
        return HTHSCROLL;
    return HTBORDER;
}

// --- Removal ---

void forget(Window* w) {
    Model& m = model();
    const HWND h = w->handle;
    if (m.foreground == h)
        m.foreground = nullptr;
    if (m.capture == h)
        m.capture = nullptr;
    if (m.leaveTracked == h)
        m.leaveTracked = nullptr;
    if (m.heldBar == h)
        m.heldBar = nullptr;
    if (Queue* q = queueOf(w->thread)) {
        if (q->active == h)
            q->active = nullptr;
        if (q->focus == h)
            q->focus = nullptr;
        std::erase_if(q->posted, [h](const MSG& msg) { return msg.hwnd == h; });
        std::erase_if(q->input, [h](const MSG& msg) { return msg.hwnd == h; });
        std::erase_if(q->timers, [h](const Timer& t) { return t.hwnd == h; });
    }
    if (w->dirty)
        setDirty(w, false);
    if (!w->parent)
        forgetNative(h);
    std::erase(siblingsOf(w), h);
    for (auto& [id, other] : m.queues) {
        (void)id;
        if (other->active == h)
            other->active = nullptr;
        if (other->focus == h)
            other->focus = nullptr;
    }
    // Owned windows outlive an owner only when it goes silently; they become unowned.
    for (HWND t : m.topLevel) {
        if (Window* o = find(t); o && o->owner == h)
            o->owner = nullptr;
    }
    if (w->cls)
        --w->cls->windows;
}

void removeSilently(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w)
        return;
    const auto children = w->children;
    for (HWND c : children)
        removeSilently(c);
    forget(w);
    release(hwnd);
}

} // namespace pal::win
