// Choosing the display driver, keeping native windows in step with the model, and the events a
// back-end reports that are not keyboard or mouse input.
#include "driver.h"

#include "model.h"

#include "pal/detail/user_control.h"
#include "pal/journal.h"
#include "pal/responder.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace pal::win {
namespace {

class NullDriver final : public DisplayDriver {
public:
    const char* name() const override { return "null"; }
    bool native() const override { return false; }
    void update(HWND, const NativeState&) override {}
    void destroy(HWND) override {}
    void present(HWND, const pal::gdi::Surface&, const RECT&, const RECT&) override {}
    void refreshMonitors() override {}
    void capture(HWND) override {}
    void cursor(HWND, const std::string&) override {}
    void warpPointer(POINT) override {}
    bool publishClipboard(const pal::detail::DesktopData&) override { return false; }
    std::optional<pal::detail::DesktopData> foreignClipboard(const std::vector<std::string>&) override {
        return std::nullopt;
    }
    bool ownsFocus() override { return false; }
    pal::detail::DragPlace dragPlace(POINT) override { return pal::detail::DragPlace::NoDesktop; }
    DWORD dragOutOver(POINT, const pal::detail::DesktopData&, DWORD, DWORD) override { return 0; }
    DWORD dragOutDrop() override { return 0; }
    void dragOutLeave() override {}
    bool moveSize(HWND, int, POINT) override { return false; }
    void requestGeometry(HWND) override {}
    void flush() override {}
    void shutdown() override {}
    bool lost() const override { return false; }
};

// The driver lives until the program ends: its reader thread may still report while the
// process winds down, so it is never destroyed at exit. A replaced one is kept as well.
std::atomic<DisplayDriver*> gDriver{nullptr};
std::mutex gSelectMutex;
// Set while this thread starts the driver: a driver asking for the monitors as it starts gets
// them as they stand.
thread_local bool tChoosing = false;

// The replaced drivers, kept where they can be found (by the leak checker too); guarded by
// gSelectMutex.
std::vector<DisplayDriver*>& replacedDrivers() {
    static auto* kept = new std::vector<DisplayDriver*>;
    return *kept;
}

std::unique_ptr<DisplayDriver> startFromEnvironment() {
    const char* forced = std::getenv("DV_PAL_DISPLAY");
    const std::string choice = forced ? forced : "";
    const char* display = std::getenv("DISPLAY");
    const bool wantX11 =
        choice == "x11" || (choice.empty() && !pal::effects::underTest() && display && *display);
    if (wantX11) {
        std::string error;
        bool silent = false;
        if (auto x = makeX11Driver("", error, silent))
            return x;
        // A display that cannot be reached is the usual case of a session without a screen; one
        // that kept the program waiting is told either way.
        if (choice == "x11" || silent)
            std::fprintf(stderr, "display: %s; running without a screen\n", error.c_str());
    }
    return makeNullDriver();
}

// SetCursor's shape goes to the native window under the pointer (or holding the capture).
void showCursor(const std::string& shape) {
    DisplayDriver& d = driver();
    if (!d.native())
        return;
    HWND root = nullptr;
    {
        Lock lock = lockModel();
        Window* w = find(model().capture);
        if (!w)
            w = find(windowAt(model().cursor));
        if (w)
            root = rootOf(w);
    }
    if (root)
        d.cursor(root, shape);
}

// What the native window of a top-level window last was told, and what of its surface has
// changed since it was last shown.
struct Shadow {
    NativeState state;
    bool known = false;
    RECT damage{};
};
std::map<HWND, Shadow>& shadows() {
    static auto* s = new std::map<HWND, Shadow>;
    return *s;
}

bool isPopup(const Window* w) {
    return (w->style & WS_CAPTION) != WS_CAPTION && !(w->style & WS_THICKFRAME);
}

// The native window's area, in screen coordinates.
RECT nativeRect(const Window* w) {
    return nativeShowsClientOnly(w) ? w->client : w->rect;
}

// The native window's area once a minimised window is restored: its normal rectangle, never the
// place a minimised window parks at.
RECT restoredNativeRect(const Window* w) {
    RECT r = w->normal;
    if (nativeShowsClientOnly(w)) {
        const RECT in =
            nonClientInsets(w->style & ~(WS_MINIMIZE | WS_MAXIMIZE), w->exStyle, w->menu != nullptr);
        r = RECT{r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
    }
    return r;
}

NativeState stateOf(Window* w, const Shadow& before) {
    NativeState s;
    s.title = w->text;
    s.className = w->cls ? w->cls->name : std::wstring();
    s.popup = isPopup(w);
    s.ownFrame = !s.popup && !nativeShowsClientOnly(w);
    s.minimiseBox = w->style & WS_MINIMIZEBOX;
    s.maximiseBox = w->style & WS_MAXIMIZEBOX;
    s.closeBox = w->style & WS_SYSMENU;
    s.layered = w->exStyle & WS_EX_LAYERED;
    s.topmost = w->exStyle & WS_EX_TOPMOST;
    s.minimised = w->style & WS_MINIMIZE;
    s.maximised = w->style & WS_MAXIMIZE;
    s.sizable = w->style & WS_THICKFRAME;
    s.visible = (w->style & WS_VISIBLE) && !s.minimised;
    // A minimised window parks off screen; its native window keeps its place, or, never shown
    // yet, takes the place it is restored to.
    if (!s.minimised)
        s.client = nativeRect(w);
    else if (before.known)
        s.client = before.state.client;
    else
        s.client = restoredNativeRect(w);
    s.restored = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? restoredNativeRect(w) : nativeRect(w);
    if (Window* o = find(w->owner))
        s.owner = rootOf(o);
    s.icon = w->iconBig ? w->iconBig : w->iconSmall;
    if (!s.icon && w->cls)
        s.icon = w->cls->icon ? w->cls->icon : w->cls->iconSmall;
    if (s.sizable) {
        const LONG fw = (w->rect.right - w->rect.left) - (w->client.right - w->client.left);
        const LONG fh = (w->rect.bottom - w->rect.top) - (w->client.bottom - w->client.top);
        s.minTrack = SIZE{std::max(LONG{1}, GetSystemMetrics(SM_CXMINTRACK) - fw),
                          std::max(LONG{1}, GetSystemMetrics(SM_CYMINTRACK) - fh)};
    }
    return s;
}

bool same(const NativeState& a, const NativeState& b) {
    return a.title == b.title && a.className == b.className && EqualRect(&a.client, &b.client) &&
           a.visible == b.visible && a.popup == b.popup && a.layered == b.layered && a.topmost == b.topmost &&
           a.minimised == b.minimised && a.maximised == b.maximised && a.sizable == b.sizable &&
           a.owner == b.owner && a.minTrack.cx == b.minTrack.cx && a.minTrack.cy == b.minTrack.cy &&
           a.icon == b.icon && EqualRect(&a.restored, &b.restored) && a.ownFrame == b.ownFrame &&
           a.minimiseBox == b.minimiseBox && a.maximiseBox == b.maximiseBox && a.closeBox == b.closeBox;
}

// Where the native window's area lies in the window's surface.
RECT shownInSurface(Window* w) {
    return rectInRoot(w, nativeShowsClientOnly(w));
}

} // namespace

bool nativeShowsClientOnly(const Window* w) {
    return (w->style & WS_CAPTION) == WS_CAPTION;
}

DisplayDriver& driver() {
    if (DisplayDriver* d = gDriver.load(std::memory_order_acquire))
        return *d;
    std::lock_guard lock(gSelectMutex);
    if (!gDriver.load()) {
        tChoosing = true;
        std::unique_ptr<DisplayDriver> chosen = startFromEnvironment();
        tChoosing = false;
        gDriver.store(chosen.release(), std::memory_order_release);
        pal::gdi::setCursorListener(&showCursor);
        // Prompts shown on a screen are a person's to answer.
        pal::responder::setDisplayShown(gDriver.load()->native());
    }
    return *gDriver.load();
}

void ensureDisplay() {
    if (!gDriver.load(std::memory_order_acquire) && !tChoosing)
        driver();
}

bool selectDriver(const std::string& backend) {
    std::unique_ptr<DisplayDriver> next;
    if (backend == "null") {
        next = makeNullDriver();
    } else if (backend.rfind("x11", 0) == 0) {
        std::string error;
        bool silent = false;
        next = makeX11Driver(backend.size() > 4 ? backend.substr(4) : std::string(), error, silent);
        if (!next) {
            std::fprintf(stderr, "display: %s\n", error.c_str());
            return false;
        }
    } else {
        return false;
    }
    DisplayDriver* old = nullptr;
    {
        // Native windows belong to the driver that made them; the next one starts afresh.
        Lock lock = lockModel();
        std::lock_guard select(gSelectMutex);
        old = gDriver.load();
        if (old) {
            replacedDrivers().push_back(old);
            for (auto& [h, s] : shadows()) {
                if (s.known)
                    old->destroy(h);
            }
        }
        shadows().clear();
        gDriver.store(next.release(), std::memory_order_release);
    }
    // Its reader may be reporting to the window layer: it is stopped without the model lock.
    if (old)
        old->shutdown();
    pal::gdi::setCursorListener(&showCursor);
    pal::detail::setMonitors({});
    driver().refreshMonitors();
    pal::responder::setDisplayShown(driver().native());
    return true;
}

void damage(Window* root, const RECT& area) {
    if (!driver().native())
        return;
    RECT& d = shadows()[root->handle].damage;
    UnionRect(&d, &d, &area);
}

void forgetNative(HWND hwnd) {
    auto it = shadows().find(hwnd);
    if (it == shadows().end())
        return;
    if (it->second.known)
        driver().destroy(hwnd);
    shadows().erase(it);
}

void syncNative() {
    DisplayDriver& d = driver();
    if (!d.native() || d.lost())
        return;
    bool sent = false;
    for (HWND h : topLevelOf(currentThread())) {
        Window* w = find(h);
        if (!w || w->messageOnly || w->life == Life::Destroying)
            continue;
        Shadow& s = shadows()[h];
        const NativeState next = stateOf(w, s);
        const bool shows = next.visible && !IsRectEmpty(&next.client);
        if (!s.known || !same(s.state, next)) {
            if (!shows && !s.known)
                continue; // nothing to show yet: no native window either
            const bool appears = shows && (!s.known || !s.state.visible);
            d.update(h, next);
            s.state = next;
            s.known = true;
            sent = true;
            if (appears)
                s.damage = rectInRoot(w, false);
        }
        if (!shows || IsRectEmpty(&s.damage))
            continue;
        const RECT shown = shownInSurface(w);
        RECT area{};
        if (IntersectRect(&area, &s.damage, &shown)) {
            // A window whose paint is still due is shown once it has painted.
            if (needsPaint(w))
                continue;
            d.present(h, surfaceOf(w), shown, area);
            sent = true;
        }
        s.damage = RECT{};
    }
    if (sent)
        d.flush();
}

namespace native {
namespace {

// Work for the thread that owns a top-level window, done the next time it looks at its queue.
void onOwner(HWND root, std::function<void()> work) {
    runOnOwnerLater(root, [work = std::move(work)] {
        work();
        return LRESULT{0};
    });
}

// The native window's area on screen and the window rectangle around it: a framed window's
// caption and edges lie outside the native window, drawn by the window manager.
RECT windowRectFor(Window* w, const RECT& shown) {
    if (!nativeShowsClientOnly(w))
        return shown;
    return RECT{shown.left - (w->client.left - w->rect.left), shown.top - (w->client.top - w->rect.top),
                shown.right + (w->rect.right - w->client.right),
                shown.bottom + (w->rect.bottom - w->client.bottom)};
}

} // namespace

void configured(HWND root, RECT client, bool maximised) {
    // A window manager can ask for anything; a surface cannot be larger than this.
    constexpr LONG kLargest = 16384;
    client.right = client.left + std::clamp(client.right - client.left, LONG{1}, kLargest);
    client.bottom = client.top + std::clamp(client.bottom - client.top, LONG{1}, kLargest);
    onOwner(root, [root, client, maximised] {
        RECT target{};
        {
            Lock lock = lockModel();
            Window* w = find(root);
            if (!w || (w->style & WS_MINIMIZE) || ((w->style & WS_MAXIMIZE) != 0) != maximised)
                return;
            Shadow& s = shadows()[root];
            // The window manager already shows this: the model follows without telling it back.
            s.state.client = client;
            target = windowRectFor(w, client);
            if (EqualRect(&target, &w->rect))
                return;
        }
        setWindowPos(root, nullptr, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

void stateChanged(HWND root, bool minimised, bool maximised) {
    onOwner(root, [root, minimised, maximised] {
        DWORD style = 0;
        {
            Lock lock = lockModel();
            Window* w = find(root);
            if (!w)
                return;
            style = w->style;
            // The window manager shows the state already: the model follows without telling it back.
            Shadow& s = shadows()[root];
            s.state.minimised = minimised;
            s.state.maximised = maximised && !minimised;
        }
        const bool wasMin = style & WS_MINIMIZE, wasMax = style & WS_MAXIMIZE;
        if (minimised && !wasMin)
            ShowWindow(root, SW_SHOWMINNOACTIVE);
        else if (!minimised && maximised && !wasMax)
            ShowWindow(root, SW_SHOWMAXIMIZED);
        else if (!minimised && !maximised && (wasMin || wasMax))
            ShowWindow(root, SW_RESTORE);
        else
            return;
        // The window manager chose the place and size: the model takes them from the native
        // window instead of sending its own.
        {
            Lock lock = lockModel();
            Window* w = find(root);
            if (!w)
                return;
            shadows()[root].state.client = stateOf(w, shadows()[root]).client;
        }
        if (!minimised)
            driver().requestGeometry(root);
    });
}

void exposed(HWND root, RECT area) {
    onOwner(root, [root, area] {
        Lock lock = lockModel();
        Window* w = find(root);
        if (!w)
            return;
        const RECT shown = shownInSurface(w);
        RECT r = area;
        OffsetRect(&r, shown.left, shown.top);
        damage(w, r);
    });
}

void closeRequested(HWND root) {
    PostMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void focusIn(HWND root) {
    onOwner(root, [root] {
        {
            Lock lock = lockModel();
            Window* w = find(root);
            if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED) || currentQueue().active == root)
                return;
            model().foreground = root;
        }
        activate(root, WA_ACTIVE);
    });
}

void focusOut(HWND root) {
    onOwner(root, [] {
        // By the time this runs the focus may have come back to another of the program's windows.
        {
            Lock lock = lockModel();
            if (!model().foreground)
                return;
        }
        if (driver().ownsFocus())
            return;
        {
            Lock lock = lockModel();
            model().foreground = nullptr;
        }
        activate(nullptr, WA_INACTIVE);
    });
}

namespace {
std::atomic<pal::detail::DesktopDrops*> gDrops{nullptr};
} // namespace

void dragOver(HWND root, POINT screen, DWORD allowed, std::function<std::string()> uris,
              std::function<void(DWORD)> answer) {
    onOwner(root, [=] {
        pal::detail::DesktopDrops* drops = gDrops.load();
        answer(drops ? drops->over(screen, uris(), allowed) : 0);
    });
}

void dragDrop(HWND root, POINT screen, DWORD allowed, std::function<std::string()> uris,
              std::function<void(DWORD)> answer) {
    onOwner(root, [=] {
        pal::detail::DesktopDrops* drops = gDrops.load();
        answer(drops ? drops->drop(screen, uris(), allowed) : 0);
    });
}

void dragLeave(HWND root) {
    onOwner(root, [] {
        if (pal::detail::DesktopDrops* drops = gDrops.load())
            drops->leave();
    });
}

void displayLost() {
    pal::responder::setDisplayLost();
    Lock lock = lockModel();
    for (auto& [id, q] : model().queues) {
        (void)id;
        if (!q->alive)
            continue;
        q->quit = true;
        q->quitCode = 1;
        wake(*q, QS_POSTMESSAGE);
    }
}

} // namespace native

std::unique_ptr<DisplayDriver> makeNullDriver() {
    return std::make_unique<NullDriver>();
}

} // namespace pal::win

namespace pal::detail {

bool useDisplay(const std::string& backend) {
    return pal::win::selectDriver(backend);
}

std::string displayName() {
    return pal::win::driver().name();
}

void setDesktopDrops(DesktopDrops* drops) {
    pal::win::native::gDrops = drops;
}

DesktopDrops* desktopDrops() {
    return pal::win::native::gDrops.load();
}

DragPlace desktopDragPlace(POINT screen) {
    return pal::win::driver().dragPlace(screen);
}

DWORD desktopDragOver(POINT screen, const DesktopData& offers, DWORD allowed, DWORD keys) {
    return pal::win::driver().dragOutOver(screen, offers, allowed, keys);
}

DWORD desktopDragDrop() {
    return pal::win::driver().dragOutDrop();
}

void desktopDragLeave() {
    pal::win::driver().dragOutLeave();
}

bool offerDesktopData(const DesktopData& offers) {
    return pal::win::driver().publishClipboard(offers);
}

std::optional<DesktopData> desktopData(const std::vector<std::string>& wanted) {
    return pal::win::driver().foreignClipboard(wanted);
}

} // namespace pal::detail
