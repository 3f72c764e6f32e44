// The X11 display: each top-level window becomes an X11 window showing its surface, and the
// server's events come back as input and window changes. One connection, shared by the
// threads that present (under Xlib's own locking) and a reader thread that waits for events.
// Lock order: the model lock may be held while calling into Xlib; the reader never holds this
// driver's mutex while it reports to the window layer.
#include "../driver.h"

#include "drag_source.h"
#include "keys.h"

#include "pal/detail/user_control.h"
#include "pal/text.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pal::win {
namespace {

// Xlib's default handlers end the process; a driver reports instead.
int onProtocolError(Display*, XErrorEvent*) {
    return 0;
}
int onConnectionError(Display*) {
    return 0;
}

class X11Driver;
std::atomic<X11Driver*> gLostWatch{nullptr};

// The program's own name (its file's), for the window manager's class of its windows.
std::string programName() {
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string name = n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("program");
    name = name.substr(name.find_last_of('/') + 1);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

std::string hostName() {
    char name[256] = {};
    return gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

struct NativeWindow {
    ::Window xid = 0;
    GC gc = nullptr;
    XIC ic = nullptr;
    bool argb = false;
    bool mapped = false;
    NativeState state;
    // The window manager's frame around the window when it was last neither maximised nor
    // minimised: left, right, top, bottom.
    long frame[4] = {};
    // The sequence number of this connection's last request that changed the window's state.
    // The server stamps each event with the last request of this connection it had carried out,
    // so an event stamped before it was made before the window manager even heard of the
    // change: its news (a state report, a new place and size) is older than what the program
    // asked for since, and would undo it. A state report is read from the property as it is when
    // read, not as it was when made, so one made later is believed whatever it says: the manager
    // has acted since, and, the program's answer read late, it may show a state past it already
    // (a person restoring the window from a task bar).
    unsigned long stateRequest = 0;
};

struct Click {
    ::Window window = 0;
    unsigned button = 0;
    Time time = 0;
    int x = 0, y = 0;
};

class X11Driver final : public DisplayDriver {
public:
    explicit X11Driver(Display* dpy) : dpy_(dpy) {
        screen_ = DefaultScreen(dpy_);
        root_ = RootWindow(dpy_, screen_);
        const char* names[] = {"WM_PROTOCOLS",
                               "WM_DELETE_WINDOW",
                               "WM_TAKE_FOCUS",
                               "_NET_WM_NAME",
                               "UTF8_STRING",
                               "_NET_WM_STATE",
                               "_NET_WM_STATE_MAXIMIZED_VERT",
                               "_NET_WM_STATE_MAXIMIZED_HORZ",
                               "_NET_WM_STATE_ABOVE",
                               "_NET_WORKAREA",
                               "_NET_WM_PID",
                               "_NET_WM_WINDOW_TYPE",
                               "_NET_WM_WINDOW_TYPE_NORMAL",
                               "_NET_WM_WINDOW_TYPE_DIALOG",
                               "CLIPBOARD",
                               "TARGETS",
                               "DV_CLIPBOARD",
                               "_NET_WM_ICON",
                               "_NET_WM_STATE_HIDDEN",
                               "_MOTIF_WM_HINTS",
                               "_NET_WM_MOVERESIZE",
                               "_NET_FRAME_EXTENTS",
                               "_NET_ACTIVE_WINDOW",
                               "INCR",
                               "XdndAware",
                               "XdndEnter",
                               "XdndPosition",
                               "XdndStatus",
                               "XdndDrop",
                               "XdndLeave",
                               "XdndFinished",
                               "XdndSelection",
                               "XdndTypeList",
                               "text/uri-list"};
        static_assert(std::size(names) == kAtoms);
        XInternAtoms(dpy_, const_cast<char**>(names), kAtoms, False, atoms_);
        XVisualInfo vi{};
        if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &vi)) {
            argbVisual_ = vi.visual;
            argbColormap_ = XCreateColormap(dpy_, root_, argbVisual_, AllocNone);
        }
        if (XSupportsLocale()) {
            XSetLocaleModifiers("");
            im_ = XOpenIM(dpy_, nullptr, nullptr, nullptr);
        }
        // The clipboard is served from a window of its own, never shown.
        selectionWindow_ = XCreateSimpleWindow(dpy_, root_, -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(dpy_, selectionWindow_, PropertyChangeMask);
        // It is the source of drags out of this program too.
        dragSource_ = std::make_unique<x11::DragSource>(
            dpy_, selectionWindow_, [this](::Window w) { return windowOf(w) != nullptr; });
        XSetIOErrorExitHandler(dpy_, &X11Driver::onDisplayLost, this);
        if (pipe(wakePipe_) != 0)
            wakePipe_[0] = wakePipe_[1] = -1;
        reader_ = std::thread([this] { readEvents(); });
    }

    ~X11Driver() override { shutdown(); }

    void shutdown() override {
        if (stopping_.exchange(true))
            return;
        if (wakePipe_[1] >= 0) {
            const char c = 0;
            (void)!write(wakePipe_[1], &c, 1);
        }
        if (reader_.joinable() && reader_.get_id() != std::this_thread::get_id())
            reader_.join();
        // A display already gone is not spoken to again; later calls do nothing either way.
        if (!lost_.exchange(true))
            XCloseDisplay(dpy_);
    }

    const char* name() const override { return "x11"; }
    bool native() const override { return true; }
    bool lost() const override { return lost_; }

    void update(HWND hwnd, const NativeState& s) override {
        if (lost_)
            return;
        std::lock_guard lock(mutex_);
        NativeWindow& n = windows_[hwnd];
        if (!n.xid)
            create(hwnd, n, s);
        const NativeState& was = n.state;
        if (s.title != was.title || !n.mapped)
            setTitle(n.xid, s.title);
        const bool normal = !s.maximised && !s.minimised, wasNormal = !was.maximised && !was.minimised;
        const LONG width = s.client.right - s.client.left, height = s.client.bottom - s.client.top;
        // The size hints carry the normal place; a maximised or minimised window keeps the
        // window manager's.
        if ((normal || !n.mapped) &&
            (!EqualRect(&s.restored, &was.restored) || s.sizable != was.sizable || !wasNormal ||
             s.minTrack.cx != was.minTrack.cx || s.minTrack.cy != was.minTrack.cy))
            setSizeHints(n.xid, s);
        if (s.icon != was.icon)
            setIcon(n.xid, s.icon);
        if (s.owner != was.owner || !n.mapped) {
            auto o = windows_.find(s.owner);
            if (o != windows_.end() && o->second.xid)
                XSetTransientForHint(dpy_, n.xid, o->second.xid);
        }
        if (!n.mapped || s.ownFrame != was.ownFrame || s.sizable != was.sizable ||
            s.minimiseBox != was.minimiseBox || s.maximiseBox != was.maximiseBox ||
            s.closeBox != was.closeBox)
            setFrameHints(n.xid, s);
        // The state changes first; the window manager places a maximised window itself, and the
        // model's place for a minimised one (far off screen) is never sent.
        // The display's lock keeps another thread's request from taking the number noted.
        XLockDisplay(dpy_);
        if ((s.maximised != was.maximised || s.minimised != was.minimised) && n.mapped)
            n.stateRequest = NextRequest(dpy_);
        if (s.maximised != was.maximised && n.mapped)
            sendState(n.xid, s.maximised, atoms_[kMaxVert], atoms_[kMaxHorz]);
        if (s.topmost != was.topmost && n.mapped)
            sendState(n.xid, s.topmost, atoms_[kAbove], 0);
        if (s.minimised && !was.minimised && n.mapped)
            XIconifyWindow(dpy_, n.xid, screen_);
        if (!s.minimised && was.minimised && n.mapped) {
            XMapRaised(dpy_, n.xid);
            askActive(n.xid);
        }
        XUnlockDisplay(dpy_);
        if (normal && width > 0 && height > 0 && (!EqualRect(&s.client, &was.client) || !wasNormal)) {
            // Back from maximised or minimised, the window returns to its normal rectangle, on
            // the work area with whatever frame the window manager gives it.
            const RECT r = wasNormal || !n.mapped ? s.client : onWorkArea(n.frame, s.client);
            XMoveResizeWindow(dpy_, n.xid, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                              static_cast<unsigned>(r.bottom - r.top));
        }
        const bool show = s.visible && width > 0 && height > 0;
        if (show && !n.mapped) {
            setInitialState(n.xid, s);
            XMapRaised(dpy_, n.xid);
            n.mapped = true;
        } else if (!show && n.mapped && !s.minimised) {
            XWithdrawWindow(dpy_, n.xid, screen_);
            n.mapped = false;
        }
        n.state = s;
    }

    void destroy(HWND hwnd) override {
        std::lock_guard lock(mutex_);
        auto it = windows_.find(hwnd);
        if (it == windows_.end())
            return;
        if (!lost_) {
            if (it->second.ic)
                XDestroyIC(it->second.ic);
            XDestroyWindow(dpy_, it->second.xid);
        }
        // The GC is the client's memory as much as the server's: on a display gone, Xlib drops
        // the request and still frees it, so it is freed either way.
        if (it->second.gc)
            XFreeGC(dpy_, it->second.gc);
        if (!lost_)
            XFlush(dpy_);
        byXid_.erase(it->second.xid);
        windows_.erase(it);
    }

    void present(HWND hwnd, const pal::gdi::Surface& surface, const RECT& shown, const RECT& area) override {
        if (lost_ || !surface)
            return;
        ::Window xid = 0;
        GC gc = nullptr;
        bool argb = false;
        {
            std::lock_guard lock(mutex_);
            auto it = windows_.find(hwnd);
            if (it == windows_.end() || !it->second.mapped)
                return;
            xid = it->second.xid;
            gc = it->second.gc;
            argb = it->second.argb;
        }
        cairo_surface_t* cs = surface.get();
        cairo_surface_flush(cs);
        // Cairo's 32-bit pixels are the X server's on a little-endian 24- or 32-bit TrueColor
        // visual: the image points at them without a copy.
        const int depth = argb ? 32 : DefaultDepth(dpy_, screen_);
        Visual* visual = argb ? argbVisual_ : DefaultVisual(dpy_, screen_);
        XImage* image = XCreateImage(
            dpy_, visual, static_cast<unsigned>(depth), ZPixmap, 0,
            reinterpret_cast<char*>(cairo_image_surface_get_data(cs)), static_cast<unsigned>(surface.width()),
            static_cast<unsigned>(surface.height()), 32, cairo_image_surface_get_stride(cs));
        if (!image)
            return;
        XPutImage(dpy_, xid, gc, image, area.left, area.top, area.left - shown.left, area.top - shown.top,
                  static_cast<unsigned>(area.right - area.left),
                  static_cast<unsigned>(area.bottom - area.top));
        image->data = nullptr; // the surface keeps its pixels
        XDestroyImage(image);
    }

    void refreshMonitors() override {
        if (lost_)
            return;
        std::vector<pal::detail::MonitorSpec> list;
        int count = 0;
        if (XRRMonitorInfo* m = XRRGetMonitors(dpy_, root_, True, &count)) {
            for (int i = 0; i < count; ++i) {
                pal::detail::MonitorSpec monitor;
                monitor.rect = RECT{m[i].x, m[i].y, m[i].x + m[i].width, m[i].y + m[i].height};
                monitor.work = monitor.rect;
                monitor.dpi = dpi();
                // The primary monitor comes first.
                if (m[i].primary)
                    list.insert(list.begin(), monitor);
                else
                    list.push_back(monitor);
            }
            XRRFreeMonitors(m);
        }
        if (list.empty()) {
            const RECT r{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
            list.push_back(pal::detail::MonitorSpec{r, r, dpi()});
        }
        applyWorkArea(list);
        pal::detail::setMonitors(list);
    }

    void capture(HWND hwnd) override {
        if (lost_)
            return;
        std::lock_guard lock(mutex_);
        auto it = hwnd ? windows_.find(hwnd) : windows_.end();
        ::Window on = it != windows_.end() && it->second.mapped ? it->second.xid : 0;
        // A window with no native window of its own (a drag's tracker) holds the pointer
        // through the window the button was pressed in.
        if (hwnd && !on && byXid_.count(pressed_))
            on = pressed_;
        if (on)
            XGrabPointer(dpy_, on, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        else
            XUngrabPointer(dpy_, CurrentTime);
        XFlush(dpy_);
    }

    void warpPointer(POINT screen) override {
        if (lost_)
            return;
        std::lock_guard lock(mutex_);
        XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, screen.x, screen.y);
        XFlush(dpy_);
    }

    void cursor(HWND hwnd, const std::string& shape) override {
        if (lost_)
            return;
        struct Shape {
            const char* name;
            unsigned font;
        };
        static constexpr Shape kShapes[] = {
            {"arrow", XC_left_ptr},
            {"ibeam", XC_xterm},
            {"wait", XC_watch},
            {"appstarting", XC_watch},
            {"cross", XC_crosshair},
            {"uparrow", XC_sb_up_arrow},
            {"sizenwse", XC_bottom_right_corner},
            {"sizenesw", XC_bottom_left_corner},
            {"sizewe", XC_sb_h_double_arrow},
            {"sizens", XC_sb_v_double_arrow},
            {"size", XC_fleur},
            {"sizeall", XC_fleur},
            {"no", XC_X_cursor},
            {"hand", XC_hand2},
            {"help", XC_question_arrow},
        };
        std::lock_guard lock(mutex_);
        auto it = windows_.find(hwnd);
        if (it == windows_.end())
            return;
        auto c = cursors_.find(shape);
        if (c == cursors_.end()) {
            Cursor made = None;
            if (shape == "none") {
                // No cursor: a one-pixel cursor with nothing drawn.
                const char bits = 0;
                Pixmap blank = XCreateBitmapFromData(dpy_, root_, &bits, 1, 1);
                XColor black{};
                made = XCreatePixmapCursor(dpy_, blank, blank, &black, &black, 0, 0);
                XFreePixmap(dpy_, blank);
            } else {
                unsigned font = XC_left_ptr;
                for (const Shape& s : kShapes) {
                    if (shape == s.name)
                        font = s.font;
                }
                made = XCreateFontCursor(dpy_, font);
            }
            c = cursors_.emplace(shape, made).first;
        }
        XDefineCursor(dpy_, it->second.xid, c->second);
        XFlush(dpy_);
    }

    // Data go to the desktop's CLIPBOARD: this program owns it and answers requests for each
    // target it offers (text also as STRING) until another program takes it.
    bool publishClipboard(const pal::detail::DesktopData& offers) override {
        if (lost_)
            return false;
        std::map<Atom, std::shared_ptr<const std::string>> next;
        for (const auto& [name, bytes] : offers)
            next[XInternAtom(dpy_, name.c_str(), False)] = std::make_shared<const std::string>(bytes);
        {
            std::lock_guard lock(clipMutex_);
            offered_ = std::move(next);
        }
        XSetSelectionOwner(dpy_, atoms_[kClipboard], selectionWindow_, CurrentTime);
        XFlush(dpy_);
        return XGetSelectionOwner(dpy_, atoms_[kClipboard]) == selectionWindow_;
    }

    std::optional<pal::detail::DesktopData>
    foreignClipboard(const std::vector<std::string>& wanted) override {
        if (lost_)
            return std::nullopt;
        const ::Window owner = XGetSelectionOwner(dpy_, atoms_[kClipboard]);
        if (owner == None || owner == selectionWindow_)
            return std::nullopt;
        std::lock_guard asking(askMutex_);
        Atom type = None;
        const std::optional<std::string> targets = convert(atoms_[kTargets], &type);
        // An owner that does not list its targets is asked for each one wanted.
        const bool listed = targets && type == XA_ATOM;
        const auto* offered = listed ? reinterpret_cast<const long*>(targets->data()) : nullptr;
        const size_t count = listed ? targets->size() / sizeof(long) : 0;
        pal::detail::DesktopData out;
        for (const std::string& name : wanted) {
            const auto atom = static_cast<long>(XInternAtom(dpy_, name.c_str(), False));
            if (listed && std::find(offered, offered + count, atom) == offered + count)
                continue;
            if (std::optional<std::string> bytes = convert(static_cast<Atom>(atom)))
                out[name] = std::move(*bytes);
        }
        return out;
    }

    pal::detail::DragPlace dragPlace(POINT screen) override {
        return lost_ ? pal::detail::DragPlace::NoDesktop : dragSource_->place(screen);
    }

    DWORD dragOutOver(POINT screen, const pal::detail::DesktopData& offers, DWORD allowed,
                      DWORD keys) override {
        return lost_ ? 0 : dragSource_->over(screen, offers, allowed, keys);
    }

    DWORD dragOutDrop() override { return lost_ ? 0 : dragSource_->drop(); }

    void dragOutLeave() override {
        if (!lost_)
            dragSource_->leave();
    }

    void requestGeometry(HWND hwnd) override {
        if (lost_)
            return;
        ::Window xid = 0;
        {
            std::lock_guard lock(mutex_);
            auto it = windows_.find(hwnd);
            if (it == windows_.end())
                return;
            xid = it->second.xid;
        }
        XWindowAttributes a{};
        int x = 0, y = 0;
        ::Window child = 0;
        if (!XGetWindowAttributes(dpy_, xid, &a) ||
            !XTranslateCoordinates(dpy_, xid, root_, 0, 0, &x, &y, &child))
            return;
        reportPlace(hwnd, RECT{x, y, x + a.width, y + a.height});
    }

    bool moveSize(HWND hwnd, int hitTest, POINT screen) override {
        // The window manager's directions, by the hit-test code that asks for them.
        static constexpr struct {
            int hit;
            long direction;
        } kWays[] = {{HTTOPLEFT, 0}, {HTTOP, 1},        {HTTOPRIGHT, 2}, {HTRIGHT, 3},  {HTBOTTOMRIGHT, 4},
                     {HTBOTTOM, 5},  {HTBOTTOMLEFT, 6}, {HTLEFT, 7},     {HTCAPTION, 8}};
        if (lost_)
            return false;
        const auto way =
            std::find_if(std::begin(kWays), std::end(kWays), [&](const auto& w) { return w.hit == hitTest; });
        if (way == std::end(kWays))
            return false;
        ::Window xid = 0;
        {
            std::lock_guard lock(mutex_);
            auto it = windows_.find(hwnd);
            if (it == windows_.end() || !it->second.mapped)
                return false;
            xid = it->second.xid;
        }
        // The press gave this program the pointer; the window manager takes it from here.
        XUngrabPointer(dpy_, CurrentTime);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = xid;
        e.xclient.message_type = atoms_[kMoveResize];
        e.xclient.format = 32;
        e.xclient.data.l[0] = screen.x;
        e.xclient.data.l[1] = screen.y;
        e.xclient.data.l[2] = way->direction;
        e.xclient.data.l[3] = Button1;
        e.xclient.data.l[4] = 1; // an application
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(dpy_);
        return true;
    }

    bool ownsFocus() override {
        if (lost_)
            return false;
        ::Window now = 0;
        int revert = 0;
        XGetInputFocus(dpy_, &now, &revert);
        return windowOf(now) != nullptr;
    }

    void flush() override {
        if (!lost_)
            XFlush(dpy_);
    }

private:
    enum Atom_ {
        kProtocols,
        kDelete,
        kTakeFocus,
        kNetName,
        kUtf8,
        kState,
        kMaxVert,
        kMaxHorz,
        kAbove,
        kWorkArea,
        kPid,
        kType,
        kTypeNormal,
        kTypeDialog,
        kClipboard,
        kTargets,
        kTransfer,
        kIcon,
        kHidden,
        kMotifHints,
        kMoveResize,
        kFrameExtents,
        kActive,
        kIncr,
        kDndAware,
        kDndEnter,
        kDndPosition,
        kDndStatus,
        kDndDrop,
        kDndLeave,
        kDndFinished,
        kDndSelection,
        kDndTypeList,
        kUriList,
        kAtoms
    };

    // Xlib would end the process here; returning leaves the connection dead and every later call
    // a no-op, so the program's loops can end in order.
    static void onDisplayLost(Display* dpy, void* self) {
        // Xlib gives the thread that met the error the display's user lock, expecting the
        // process to end; as it goes on, the lock is given back, or every other thread that
        // calls into Xlib (the reader among them) would wait for it for ever.
        XUnlockDisplay(dpy);
        auto* d = static_cast<X11Driver*>(self);
        if (!d->lost_.exchange(true) && !d->stopping_)
            std::fprintf(stderr, "display: the X display went away; the program ends\n");
    }

    UINT dpi() {
        // The desktop's font resolution, as the person set it; 96 when nobody did.
        if (const char* db = XResourceManagerString(dpy_)) {
            if (const char* at = std::strstr(db, "Xft.dpi:")) {
                const long v = std::strtol(at + 8, nullptr, 10);
                if (v >= 48 && v <= 480)
                    return static_cast<UINT>(v);
            }
        }
        return 96;
    }

    void applyWorkArea(std::vector<pal::detail::MonitorSpec>& list) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, root_, atoms_[kWorkArea], 0, 4, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) != Success ||
            !data)
            return;
        if (format == 32 && count >= 4) {
            const long* v = reinterpret_cast<const long*>(data);
            const RECT work{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]),
                            static_cast<LONG>(v[1] + v[3])};
            // The desktop's work area spans all monitors; each keeps its own part of it.
            for (auto& m : list) {
                RECT r{};
                if (IntersectRect(&r, &m.rect, &work))
                    m.work = r;
            }
        }
        XFree(data);
    }

    void create(HWND hwnd, NativeWindow& n, const NativeState& s) {
        n.argb = s.layered && argbVisual_;
        XSetWindowAttributes a{};
        unsigned long mask = CWEventMask | CWBackPixmap | CWBorderPixel | CWBitGravity;
        a.background_pixmap = None; // the surface paints every pixel: no flash of a background
        a.border_pixel = 0;
        a.bit_gravity = NorthWestGravity;
        a.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                       ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                       FocusChangeMask | PropertyChangeMask;
        if (s.popup) {
            a.override_redirect = True;
            mask |= CWOverrideRedirect;
        }
        if (n.argb) {
            a.colormap = argbColormap_;
            mask |= CWColormap;
        }
        // A window shown maximised is made at its normal place, where the window manager
        // restores it to.
        const RECT& at = s.restored;
        const unsigned width = static_cast<unsigned>(std::max(LONG{1}, at.right - at.left));
        const unsigned height = static_cast<unsigned>(std::max(LONG{1}, at.bottom - at.top));
        n.xid = XCreateWindow(dpy_, root_, at.left, at.top, width, height, 0, n.argb ? 32 : CopyFromParent,
                              InputOutput, n.argb ? argbVisual_ : CopyFromParent, mask, &a);
        n.gc = XCreateGC(dpy_, n.xid, 0, nullptr);
        byXid_[n.xid] = hwnd;
        Atom protocols[] = {atoms_[kDelete], atoms_[kTakeFocus]};
        XSetWMProtocols(dpy_, n.xid, protocols, 2);
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = NormalState;
        XSetWMHints(dpy_, n.xid, &hints);
        // Task bars show and group the program by its class; the instance names the kind of
        // window.
        const std::string instance =
            pal::text::toUtf8(s.className.empty() ? std::wstring(L"window") : s.className);
        XClassHint classHint{const_cast<char*>(instance.c_str()), const_cast<char*>(programName_.c_str())};
        XSetClassHint(dpy_, n.xid, &classHint);
        if (!hostName_.empty()) {
            XTextProperty host{};
            char* list[] = {hostName_.data()};
            if (XStringListToTextProperty(list, 1, &host)) {
                XSetWMClientMachine(dpy_, n.xid, &host);
                XFree(host.value);
            }
        }
        if (!s.popup) {
            // Files dragged from other programs may be dropped here (drag-and-drop protocol 5).
            const long version = 5;
            XChangeProperty(dpy_, n.xid, atoms_[kDndAware], XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&version), 1);
        }
        const long pid = getpid();
        XChangeProperty(dpy_, n.xid, atoms_[kPid], XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
        const Atom type = s.owner ? atoms_[kTypeDialog] : atoms_[kTypeNormal];
        XChangeProperty(dpy_, n.xid, atoms_[kType], XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&type), 1);
        if (im_)
            n.ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, n.xid,
                             XNFocusWindow, n.xid, nullptr);
    }

    void setTitle(::Window xid, const std::wstring& title) {
        const std::string t = pal::text::toUtf8(title);
        XChangeProperty(dpy_, xid, atoms_[kNetName], atoms_[kUtf8], 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(t.data()), static_cast<int>(t.size()));
        XTextProperty text{};
        char* list[] = {const_cast<char*>(t.c_str())};
        if (Xutf8TextListToTextProperty(dpy_, list, 1, XStdICCTextStyle, &text) >= Success) {
            XSetWMName(dpy_, xid, &text);
            XFree(text.value);
        }
    }

    // The icon at the sizes window managers ask for most, as _NET_WM_ICON's rows of
    // non-premultiplied ARGB.
    void setIcon(::Window xid, HICON icon) {
        if (!icon) {
            XDeleteProperty(dpy_, xid, atoms_[kIcon]);
            return;
        }
        std::vector<long> data;
        for (int size : {16, 32, 48}) {
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = size;
            bi.bmiHeader.biHeight = -size;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            HDC dc = CreateCompatibleDC(nullptr);
            HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (dib && bits) {
                HGDIOBJ old = SelectObject(dc, dib);
                DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
                GdiFlush();
                data.push_back(size);
                data.push_back(size);
                const auto* p = static_cast<const std::uint32_t*>(bits);
                // An icon drawn without alpha of its own is opaque.
                const bool anyAlpha =
                    std::any_of(p, p + size * size, [](std::uint32_t v) { return v >> 24; });
                for (int i = 0; i < size * size; ++i) {
                    const std::uint32_t v = anyAlpha ? p[i] : p[i] | 0xFF000000u;
                    const unsigned a = v >> 24;
                    auto straight = [a](unsigned c) { return a ? std::min(255u, c * 255 / a) : 0u; };
                    data.push_back(static_cast<long>((std::uint32_t(a) << 24) |
                                                     (straight((v >> 16) & 0xFF) << 16) |
                                                     (straight((v >> 8) & 0xFF) << 8) | straight(v & 0xFF)));
                }
                SelectObject(dc, old);
            }
            if (dib)
                DeleteObject(dib);
            DeleteDC(dc);
        }
        XChangeProperty(dpy_, xid, atoms_[kIcon], XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    }

    void setSizeHints(::Window xid, const NativeState& s) {
        XSizeHints* h = XAllocSizeHints();
        // The window says where it goes; static gravity places its client area there, whatever
        // frame the window manager adds.
        h->flags = USPosition | PPosition | PSize | PWinGravity | PMinSize;
        h->x = s.restored.left;
        h->y = s.restored.top;
        h->width = static_cast<int>(s.restored.right - s.restored.left);
        h->height = static_cast<int>(s.restored.bottom - s.restored.top);
        h->win_gravity = StaticGravity;
        if (s.sizable) {
            h->min_width = static_cast<int>(s.minTrack.cx);
            h->min_height = static_cast<int>(s.minTrack.cy);
        } else {
            h->flags |= PMaxSize;
            h->min_width = h->max_width = h->width;
            h->min_height = h->max_height = h->height;
        }
        XSetWMNormalHints(dpy_, xid, h);
        XFree(h);
    }

    void setInitialState(::Window xid, const NativeState& s) {
        std::vector<Atom> state;
        if (s.maximised) {
            state.push_back(atoms_[kMaxVert]);
            state.push_back(atoms_[kMaxHorz]);
        }
        if (s.topmost)
            state.push_back(atoms_[kAbove]);
        XChangeProperty(dpy_, xid, atoms_[kState], XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(state.data()), static_cast<int>(state.size()));
    }

    // What the window manager offers: no frame of its own for a window that draws its caption,
    // and only the buttons and actions the window's styles have.
    void setFrameHints(::Window xid, const NativeState& s) {
        enum : long {
            kFunctions = 1,
            kDecorations = 2,
            kFuncResize = 2,
            kFuncMove = 4,
            kFuncMinimise = 8,
            kFuncMaximise = 16,
            kFuncClose = 32,
            kDecorBorder = 2,
            kDecorResize = 4,
            kDecorTitle = 8,
            kDecorMenu = 16,
            kDecorMinimise = 32,
            kDecorMaximise = 64,
        };
        long functions = kFuncMove;
        long decorations = kDecorBorder | kDecorTitle;
        const auto offer = [&](bool has, long function, long decoration) {
            if (has) {
                functions |= function;
                decorations |= decoration;
            }
        };
        offer(s.sizable, kFuncResize, kDecorResize);
        offer(s.minimiseBox, kFuncMinimise, kDecorMinimise);
        offer(s.maximiseBox && s.sizable, kFuncMaximise, kDecorMaximise);
        offer(s.closeBox, kFuncClose, kDecorMenu);
        if (s.ownFrame)
            decorations = 0;
        const long hints[5] = {kFunctions | kDecorations, functions, decorations, 0, 0};
        XChangeProperty(dpy_, xid, atoms_[kMotifHints], atoms_[kMotifHints], 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(hints), 5);
    }

    // A 32-bit property of four values (the work area, a frame's extents); false without one.
    bool fourValues(::Window xid, Atom name, long (&v)[4]) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool ok = XGetWindowProperty(dpy_, xid, name, 0, 4, False, XA_CARDINAL, &type, &format, &count,
                                           &after, &data) == Success &&
                        data && format == 32 && count >= 4;
        if (ok)
            std::copy_n(reinterpret_cast<const long*>(data), 4, v);
        if (data)
            XFree(data);
        return ok;
    }

    // The client area moved, as little as it takes, so that it and the window manager's frame
    // around it lie on the desktop's work area.
    RECT onWorkArea(const long (&frame)[4], RECT r) {
        long area[4] = {}; // x, y, width, height
        if (!fourValues(root_, atoms_[kWorkArea], area))
            return r;
        const auto shift = [](LONG& low, LONG& high, long lowEdge, long highEdge, long before, long after) {
            LONG by = 0;
            if (high + after > highEdge)
                by = static_cast<LONG>(highEdge - (high + after));
            if (low + by - before < lowEdge)
                by = static_cast<LONG>(lowEdge - (low - before));
            low += by;
            high += by;
        };
        shift(r.left, r.right, area[0], area[0] + area[2], frame[0], frame[1]);
        shift(r.top, r.bottom, area[1], area[1] + area[3], frame[2], frame[3]);
        return r;
    }

    // Asks the window manager to activate a window this program brought back.
    void askActive(::Window xid) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = xid;
        e.xclient.message_type = atoms_[kActive];
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1; // an application
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    }

    // A mapped window asks the window manager to change its state.
    void sendState(::Window xid, bool add, Atom first, Atom second) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = xid;
        e.xclient.message_type = atoms_[kState];
        e.xclient.format = 32;
        e.xclient.data.l[0] = add ? 1 : 0;
        e.xclient.data.l[1] = static_cast<long>(first);
        e.xclient.data.l[2] = static_cast<long>(second);
        e.xclient.data.l[3] = 1;
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    }

    // The native window's place as the server has it goes to the window layer, and is what this
    // driver knows the window to have: the window layer taking it is no change to send back,
    // which, a step of the window manager's caught halfway, would make that step final.
    void reportPlace(HWND h, const RECT& client) {
        bool max = false;
        {
            std::lock_guard lock(mutex_);
            auto it = windows_.find(h);
            if (it == windows_.end())
                return;
            it->second.state.client = client;
            max = it->second.state.maximised;
        }
        native::configured(h, client, max);
    }

    // Whether an event of this type for this window waits in the queue, which is left as it is.
    bool laterQueued(::Window xid, int type) {
        struct Look {
            ::Window xid;
            int type;
            bool found;
        } look{xid, type, false};
        XEvent unused{};
        XCheckIfEvent(
            dpy_, &unused,
            [](Display*, XEvent* e, XPointer arg) -> Bool {
                auto* l = reinterpret_cast<Look*>(arg);
                l->found = l->found || (e->type == l->type && e->xany.window == l->xid);
                return False; // taken from the queue: none
            },
            reinterpret_cast<XPointer>(&look));
        return look.found;
    }

    // Whether an event was made before the server carried out the window's last state request.
    bool before(HWND h, unsigned long serial) {
        std::lock_guard lock(mutex_);
        auto it = windows_.find(h);
        return it != windows_.end() && serial < it->second.stateRequest;
    }

    HWND windowOf(::Window xid, XIC* ic = nullptr) {
        std::lock_guard lock(mutex_);
        auto it = byXid_.find(xid);
        if (it == byXid_.end())
            return nullptr;
        if (ic)
            *ic = windows_[it->second].ic;
        return it->second;
    }

    void readEvents() {
        pollfd fds[2] = {{ConnectionNumber(dpy_), POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        while (!stopping_ && !lost_) {
            // Events another thread's call already read sit in Xlib's queue: look now and then.
            if (XEventsQueued(dpy_, QueuedAlready) == 0)
                poll(fds, wakePipe_[0] >= 0 ? 2 : 1, 50);
            if (stopping_)
                break;
            while (!lost_ && XPending(dpy_) > 0) {
                XEvent e{};
                XNextEvent(dpy_, &e);
                if (XFilterEvent(&e, None))
                    continue; // the input method took it (a dead key, say)
                handle(e);
            }
        }
        if (lost_ && !stopping_)
            native::displayLost();
    }

    void handle(XEvent& e) {
        if (e.xany.window == selectionWindow_) {
            onSelection(e);
            return;
        }
        if (e.type == PropertyNotify && sendNextStep(e.xproperty))
            return;
        XIC ic = nullptr;
        const HWND h = windowOf(e.xany.window, &ic);
        if (e.type == MappingNotify) {
            XRefreshKeyboardMapping(&e.xmapping);
            return;
        }
        if (!h)
            return;
        switch (e.type) {
        case Expose:
            native::exposed(h, RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                    e.xexpose.y + e.xexpose.height});
            break;
        case ConfigureNotify: {
            // A window manager moves and sizes a window in steps, and this reader may come to
            // them late: only the last one queued is taken, as the place of a real event is
            // asked for now and belongs with the newest size, not with one from before.
            if (laterQueued(e.xconfigure.window, ConfigureNotify))
                break;
            // A real event under a reparenting window manager is relative to its frame; a
            // synthetic one is in root coordinates already.
            int x = e.xconfigure.x, y = e.xconfigure.y;
            if (!e.xconfigure.send_event) {
                ::Window child = 0;
                XTranslateCoordinates(dpy_, e.xconfigure.window, root_, 0, 0, &x, &y, &child);
            }
            if (before(h, e.xconfigure.serial))
                break;
            reportPlace(h, RECT{x, y, x + e.xconfigure.width, y + e.xconfigure.height});
            break;
        }
        case PropertyNotify:
            if (e.xproperty.atom == atoms_[kState])
                onState(h, e.xproperty.window, e.xproperty.serial);
            else if (e.xproperty.atom == atoms_[kFrameExtents])
                onFrameExtents(h, e.xproperty.window);
            break;
        case ClientMessage:
            if (onDrag(h, e.xclient))
                break;
            if (e.xclient.message_type == atoms_[kProtocols]) {
                const Atom what = static_cast<Atom>(e.xclient.data.l[0]);
                if (what == atoms_[kDelete]) {
                    native::closeRequested(h);
                } else if (what == atoms_[kTakeFocus]) {
                    XSetInputFocus(dpy_, e.xclient.window, RevertToParent,
                                   static_cast<Time>(e.xclient.data.l[1]));
                }
            }
            break;
        case FocusIn:
        case FocusOut:
            if (e.xfocus.detail == NotifyInferior || e.xfocus.detail == NotifyPointer ||
                e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab)
                break;
            if (e.type == FocusIn) {
                if (ic)
                    XSetICFocus(ic);
                native::focusIn(h);
            } else {
                if (ic)
                    XUnsetICFocus(ic);
                // Focus moving to another of this program's windows is that window's FocusIn.
                if (!ownsFocus())
                    native::focusOut(h);
            }
            break;
        case ButtonPress:
        case ButtonRelease:
            onButton(h, e.xbutton);
            break;
        case MotionNotify:
            native::motion(h, POINT{e.xmotion.x, e.xmotion.y});
            break;
        case LeaveNotify:
            if (e.xcrossing.mode == NotifyNormal)
                native::leave(h);
            break;
        case KeyPress:
        case KeyRelease:
            onKey(e.xkey, ic);
            break;
        default:
            break;
        }
    }

    // The drag-and-drop protocol's messages from a drag source over one of this program's
    // windows. Only file lists (text/uri-list) are taken; the drop target's choice goes back.
    bool onDrag(HWND h, const XClientMessageEvent& m) {
        const Atom type = m.message_type;
        if (type != atoms_[kDndEnter] && type != atoms_[kDndPosition] && type != atoms_[kDndDrop] &&
            type != atoms_[kDndLeave])
            return false;
        const auto source = static_cast<::Window>(m.data.l[0]);
        const ::Window target = m.window;
        if (type == atoms_[kDndEnter]) {
            bool files = false;
            if (m.data.l[1] & 1) {
                Atom t = 0;
                std::string list;
                int format = 0;
                unsigned long count = 0, after = 0;
                unsigned char* data = nullptr;
                if (XGetWindowProperty(dpy_, source, atoms_[kDndTypeList], 0, 64, False, XA_ATOM, &t, &format,
                                       &count, &after, &data) == Success &&
                    data) {
                    const auto* types = reinterpret_cast<const long*>(data);
                    files =
                        std::find(types, types + count, static_cast<long>(atoms_[kUriList])) != types + count;
                }
                if (data)
                    XFree(data);
            } else {
                for (int i = 2; i <= 4; ++i)
                    files = files || static_cast<Atom>(m.data.l[i]) == atoms_[kUriList];
            }
            std::lock_guard lock(dragMutex_);
            drag_ = Drag{};
            drag_.source = source;
            drag_.files = files;
            return true;
        }
        if (type == atoms_[kDndLeave]) {
            native::dragLeave(h);
            return true;
        }
        bool files = false;
        {
            std::lock_guard lock(dragMutex_);
            files = drag_.source == source && drag_.files;
        }
        const long time = type == atoms_[kDndPosition] ? m.data.l[3] : m.data.l[2];
        // The files are fetched on the window's thread, once a drag, from the source.
        auto uris = [this, time] {
            {
                std::lock_guard lock(dragMutex_);
                if (drag_.fetched)
                    return drag_.uris;
            }
            std::string list;
            {
                std::lock_guard asking(askMutex_);
                list = convertFrom(atoms_[kDndSelection], atoms_[kUriList], static_cast<Time>(time))
                           .value_or("");
            }
            std::lock_guard lock(dragMutex_);
            drag_.uris = list;
            drag_.fetched = true;
            return list;
        };
        if (type == atoms_[kDndPosition]) {
            const POINT at{static_cast<LONG>((m.data.l[2] >> 16) & 0xFFFF),
                           static_cast<LONG>(m.data.l[2] & 0xFFFF)};
            const DWORD allowed = dragSource_->effectOf(static_cast<Atom>(m.data.l[4]));
            {
                std::lock_guard lock(dragMutex_);
                drag_.at = at;
                drag_.allowed = allowed;
            }
            if (!files) {
                reply(source, target, atoms_[kDndStatus], 0, None);
                return true;
            }
            native::dragOver(h, at, allowed, uris, [this, source, target](DWORD effect) {
                reply(source, target, atoms_[kDndStatus], effect ? 1 : 0, dragSource_->actionOf(effect));
            });
            return true;
        }
        // Dropped: the position last sent is where.
        if (!files) {
            reply(source, target, atoms_[kDndFinished], 0, None);
            return true;
        }
        POINT at{};
        DWORD allowed = 1;
        {
            std::lock_guard lock(dragMutex_);
            at = drag_.at;
            allowed = drag_.allowed;
        }
        native::dragDrop(h, at, allowed, uris, [this, source, target](DWORD effect) {
            reply(source, target, atoms_[kDndFinished], effect ? 1 : 0, dragSource_->actionOf(effect));
        });
        return true;
    }

    // XdndStatus (accepted, action) or XdndFinished (accepted, action) to the drag's source.
    void reply(::Window source, ::Window target, Atom type, long accepted, Atom action) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = source;
        e.xclient.message_type = type;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(target);
        e.xclient.data.l[1] = accepted;
        if (type == atoms_[kDndStatus]) {
            e.xclient.data.l[1] = accepted | 2; // positions are wanted all over the window
            e.xclient.data.l[4] = static_cast<long>(action);
        } else {
            e.xclient.data.l[2] = static_cast<long>(action);
        }
        XSendEvent(dpy_, source, False, NoEventMask, &e);
        XFlush(dpy_);
    }

    // Asks the clipboard's owner for `target` and waits for the whole answer, taken in steps
    // (INCR) when the owner sends it so; nothing when it refuses or stops answering for a second.
    std::optional<std::string> convert(Atom target, Atom* type = nullptr) {
        return convertFrom(atoms_[kClipboard], target, CurrentTime, type);
    }

    std::optional<std::string> convertFrom(Atom selection, Atom target, Time time, Atom* type = nullptr) {
        std::unique_lock lock(clipMutex_);
        in_ = Incoming{};
        in_.active = true;
        lock.unlock();
        XDeleteProperty(dpy_, selectionWindow_, atoms_[kTransfer]);
        XConvertSelection(dpy_, selection, target, atoms_[kTransfer], selectionWindow_, time);
        XFlush(dpy_);
        lock.lock();
        std::uint64_t seen = 0;
        while (!in_.done && !lost_) {
            if (!clipReady_.wait_for(lock, std::chrono::seconds(1),
                                     [&] { return in_.done || lost_ || in_.progress != seen; }))
                break;
            seen = in_.progress;
        }
        in_.active = false;
        if (!in_.done || in_.failed || lost_)
            return std::nullopt;
        if (type)
            *type = in_.type;
        return std::move(in_.data);
    }

    // The property's whole value, deleted once read; format 32 comes as longs, as Xlib gives it.
    bool takeProperty(::Window w, Atom property, Atom& type, std::string& bytes) {
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, w, property, 0, 1 << 28, True, AnyPropertyType, &type, &format, &count,
                               &after, &data) != Success)
            return false;
        const size_t unit = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
        bytes.assign(reinterpret_cast<const char*>(data), data ? count * unit : 0);
        if (data)
            XFree(data);
        return true;
    }

    void onSelection(XEvent& e) {
        if (e.type == ClientMessage) {
            dragSource_->onMessage(e.xclient);
        } else if (e.type == SelectionRequest) {
            serve(e.xselectionrequest);
        } else if (e.type == SelectionClear && e.xselectionclear.selection == atoms_[kDndSelection]) {
            dragSource_->selectionLost();
        } else if (e.type == SelectionClear) {
            std::lock_guard lock(clipMutex_);
            offered_.clear();
        } else if (e.type == SelectionNotify) {
            Atom type = 0;
            std::string bytes;
            const bool read = e.xselection.property != None &&
                              takeProperty(selectionWindow_, e.xselection.property, type, bytes);
            std::lock_guard lock(clipMutex_);
            if (!in_.active)
                return;
            if (read && type == atoms_[kIncr]) {
                in_.incr = true; // deleting the property asked for the first step
                ++in_.progress;
            } else {
                in_.failed = !read || type == None;
                in_.type = type;
                in_.data = std::move(bytes);
                in_.done = true;
            }
            clipReady_.notify_all();
        } else if (e.type == PropertyNotify && e.xproperty.atom == atoms_[kTransfer] &&
                   e.xproperty.state == PropertyNewValue) {
            {
                std::lock_guard lock(clipMutex_);
                if (!in_.active || !in_.incr)
                    return;
            }
            Atom type = 0;
            std::string bytes;
            const bool read = takeProperty(selectionWindow_, atoms_[kTransfer], type, bytes);
            std::lock_guard lock(clipMutex_);
            if (!read || bytes.empty())
                in_.done = true; // an empty step ends the transfer
            else
                in_.data += bytes;
            in_.failed = !read;
            ++in_.progress;
            clipReady_.notify_all();
        }
    }

    // Answers another program's request for the clipboard: the targets offered, or one of them,
    // in steps when it is large.
    void serve(const XSelectionRequestEvent& r) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = r.requestor;
        reply.xselection.selection = r.selection;
        reply.xselection.target = r.target;
        reply.xselection.time = r.time;
        reply.xselection.property = None;
        const Atom property = r.property == None ? r.target : r.property;
        // The clipboard's data, or a drag's for the program it is dropped on.
        const bool dragged = r.selection == atoms_[kDndSelection];
        std::map<Atom, std::shared_ptr<const std::string>> offered;
        if (dragged) {
            offered = dragSource_->offers();
            dragSource_->served();
        } else {
            std::lock_guard lock(clipMutex_);
            offered = offered_;
        }
        // STRING is what older programs ask for: they get the UTF-8 text.
        auto found = offered.find(r.target == XA_STRING ? atoms_[kUtf8] : r.target);
        if (r.target == atoms_[kTargets]) {
            std::vector<Atom> targets{atoms_[kTargets]};
            for (const auto& [atom, bytes] : offered) {
                targets.push_back(atom);
                if (atom == atoms_[kUtf8])
                    targets.push_back(XA_STRING);
            }
            XChangeProperty(dpy_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets.data()),
                            static_cast<int>(targets.size()));
            reply.xselection.property = property;
        } else if (found != offered.end() && found->second->size() > kIncrAbove) {
            // The requestor deletes each step it has read; the next follows (see sendNextStep).
            XSelectInput(dpy_, r.requestor, PropertyChangeMask);
            const long size = static_cast<long>(found->second->size());
            XChangeProperty(dpy_, r.requestor, property, atoms_[kIncr], 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&size), 1);
            outgoing_.push_back(Outgoing{r.requestor, property, r.target, found->second, 0});
            reply.xselection.property = property;
        } else if (found != offered.end()) {
            XChangeProperty(dpy_, r.requestor, property, r.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(found->second->data()),
                            static_cast<int>(found->second->size()));
            reply.xselection.property = property;
        }
        XSendEvent(dpy_, r.requestor, False, NoEventMask, &reply);
        XFlush(dpy_);
    }

    // A requestor deleted a step of a large answer: the next step, or an empty one to end it.
    bool sendNextStep(const XPropertyEvent& p) {
        if (p.state != PropertyDelete)
            return false;
        auto it = std::find_if(outgoing_.begin(), outgoing_.end(), [&](const Outgoing& o) {
            return o.requestor == p.window && o.property == p.atom;
        });
        if (it == outgoing_.end())
            return false;
        const size_t n = std::min(kIncrStep, it->data->size() - it->at);
        XChangeProperty(dpy_, it->requestor, it->property, it->type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(it->data->data() + it->at),
                        static_cast<int>(n));
        it->at += n;
        if (n == 0) {
            XSelectInput(dpy_, it->requestor, NoEventMask);
            outgoing_.erase(it);
        }
        XFlush(dpy_);
        return true;
    }

    // A maximised window's frame is no guide to where a restored one may go: only a normal
    // window's is kept.
    void onFrameExtents(HWND h, ::Window xid) {
        long frame[4] = {};
        if (!fourValues(xid, atoms_[kFrameExtents], frame))
            return;
        std::lock_guard lock(mutex_);
        auto it = windows_.find(h);
        if (it != windows_.end() && !it->second.state.maximised && !it->second.state.minimised)
            std::copy_n(frame, 4, it->second.frame);
    }

    // The window manager's view of the window's state, as it wrote it.
    void onState(HWND h, ::Window xid, unsigned long serial) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy_, xid, atoms_[kState], 0, 64, False, XA_ATOM, &type, &format, &count,
                               &after, &data) != Success)
            return;
        bool hidden = false, vert = false, horz = false;
        for (unsigned long i = 0; data && i < count; ++i) {
            const Atom a = reinterpret_cast<const Atom*>(data)[i];
            hidden = hidden || a == atoms_[kHidden];
            vert = vert || a == atoms_[kMaxVert];
            horz = horz || a == atoms_[kMaxHorz];
        }
        if (data)
            XFree(data);
        {
            // What this driver set itself before mapping is no news.
            std::lock_guard lock(mutex_);
            auto it = windows_.find(h);
            if (it == windows_.end() || !it->second.mapped)
                return;
            NativeWindow& n = it->second;
            if (serial < n.stateRequest)
                return;
            if (n.state.minimised == hidden && n.state.maximised == (vert && horz))
                return;
            it->second.state.minimised = hidden;
            it->second.state.maximised = vert && horz;
        }
        native::stateChanged(h, hidden, vert && horz);
    }

    void onButton(HWND h, const XButtonEvent& b) {
        const POINT at{b.x, b.y};
        const bool down = b.type == ButtonPress;
        if (down)
            pressed_ = b.window;
        if (b.button >= 4 && b.button <= 7) {
            if (down) // a wheel notch is a press and a release at once
                native::wheel(h, at, (b.button == 4 || b.button == 7) ? 120 : -120, b.button >= 6);
            return;
        }
        int which = 0;
        switch (b.button) {
        case Button1:
            which = 0;
            break;
        case Button2:
            which = 2;
            break;
        case Button3:
            which = 1;
            break;
        default:
            return;
        }
        bool second = false;
        if (down) {
            // The platform's double click: the same button again, soon, and near the first.
            const int slackX = GetSystemMetrics(SM_CXDOUBLECLK) / 2,
                      slackY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            second = last_.window == b.window && last_.button == b.button &&
                     b.time - last_.time <= GetDoubleClickTime() && std::abs(b.x - last_.x) <= slackX &&
                     std::abs(b.y - last_.y) <= slackY;
            last_ = second ? Click{} : Click{b.window, b.button, b.time, b.x, b.y};
        }
        native::button(h, at, which, down, second);
    }

    void onKey(XKeyEvent& k, XIC ic) {
        const bool down = k.type == KeyPress;
        if (!down && XEventsQueued(dpy_, QueuedAfterReading) > 0) {
            // A held key repeats as a release and a press at the same moment: only the press counts.
            XEvent next{};
            XPeekEvent(dpy_, &next);
            if (next.type == KeyPress && next.xkey.keycode == k.keycode && next.xkey.time == k.time)
                return;
        }
        const KeySym plain = XLookupKeysym(&k, 0);
        const x11::KeyInfo info = x11::keyInfo(k.keycode, plain);
        std::wstring text;
        if (down) {
            char buffer[64] = {};
            KeySym symbol = NoSymbol;
            int n = 0;
            Status status = 0;
            if (ic)
                n = Xutf8LookupString(ic, &k, buffer, sizeof buffer - 1, &symbol, &status);
            else
                n = XLookupString(&k, buffer, sizeof buffer - 1, &symbol, nullptr);
            if (ic && n > 0 && (status == XLookupChars || status == XLookupBoth)) {
                text = pal::text::fromUtf8(std::string(buffer, static_cast<size_t>(n)));
            } else if (symbol != NoSymbol) {
                // Without an input method for the locale, the symbol itself says what it types.
                char utf8[8] = {};
                if (xkb_keysym_to_utf8(static_cast<xkb_keysym_t>(symbol), utf8, sizeof utf8) > 1)
                    text = pal::text::fromUtf8(utf8);
            }
            // Control characters come from the key codes, as TranslateMessage makes them.
            if (text.size() == 1 && text[0] < 0x20 && !info.virtualKey)
                text.clear();
        }
        if (!info.virtualKey && text.empty())
            return;
        native::key(info.virtualKey, info.scanCode, info.extended, down, text);
    }

    Display* dpy_;
    std::string programName_ = programName();
    std::string hostName_ = hostName();
    int screen_ = 0;
    ::Window root_ = 0;
    Atom atoms_[kAtoms] = {};
    Visual* argbVisual_ = nullptr;
    Colormap argbColormap_ = 0;
    XIM im_ = nullptr;
    std::mutex mutex_;
    std::map<HWND, NativeWindow> windows_;
    std::map<::Window, HWND> byXid_;
    std::map<std::string, Cursor> cursors_;
    // Answers larger than this go in steps of kIncrStep bytes.
    static constexpr size_t kIncrAbove = 256 * 1024, kIncrStep = 64 * 1024;
    struct Incoming {
        bool active = false;
        bool incr = false;
        bool done = false;
        bool failed = false;
        Atom type = None;
        std::string data;
        std::uint64_t progress = 0;
    };
    struct Outgoing {
        ::Window requestor = 0;
        Atom property = 0, type = 0;
        std::shared_ptr<const std::string> data;
        size_t at = 0;
    };
    ::Window selectionWindow_ = 0;
    std::mutex clipMutex_; // what is offered and what is coming in
    std::mutex askMutex_;  // one conversion at a time
    std::condition_variable clipReady_;
    std::map<Atom, std::shared_ptr<const std::string>> offered_;
    Incoming in_;
    std::vector<Outgoing> outgoing_; // the reader's own
    // The drag from another program over this program's windows.
    struct Drag {
        ::Window source = 0;
        bool files = false;
        std::string uris;
        bool fetched = false;
        POINT at{};
        DWORD allowed = 1;
    };
    std::mutex dragMutex_;
    Drag drag_;
    Click last_;
    std::atomic<::Window> pressed_{0}; // the window of the last button press
    std::unique_ptr<x11::DragSource> dragSource_;
    std::atomic<bool> lost_{false};
    std::atomic<bool> stopping_{false};
    int wakePipe_[2] = {-1, -1};
    std::thread reader_;
};

} // namespace

namespace {

// How long a display that took the connection has to answer it.
constexpr auto kDisplayAnswer = std::chrono::seconds(10);

// Opens the display, waiting no longer than kDisplayAnswer: a server that accepts the connection
// and never answers would hold Xlib's own wait, and with it the program, for ever. The opening is
// left to its thread then; should the display answer after all, it is closed there.
Display* openDisplayBounded(const char* name, bool& silent) {
    struct Opening {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        Display* dpy = nullptr;
    };
    auto opening = std::make_shared<Opening>();
    const std::string wanted = name ? name : "";
    std::thread([opening, wanted] {
        Display* dpy = XOpenDisplay(wanted.empty() ? nullptr : wanted.c_str());
        std::lock_guard lock(opening->mutex);
        if (opening->abandoned) {
            if (dpy)
                XCloseDisplay(dpy);
            return;
        }
        opening->dpy = dpy;
        opening->finished = true;
        opening->done.notify_all();
    }).detach();
    std::unique_lock lock(opening->mutex);
    silent = !opening->done.wait_for(lock, kDisplayAnswer, [&] { return opening->finished; });
    if (silent)
        opening->abandoned = true;
    return opening->dpy;
}

} // namespace

std::unique_ptr<DisplayDriver> makeX11Driver(const std::string& display, std::string& error, bool& silent) {
    XInitThreads();
    XSetErrorHandler(&onProtocolError);
    XSetIOErrorHandler(&onConnectionError);
    const char* name = display.empty() ? nullptr : display.c_str();
    Display* dpy = openDisplayBounded(name, silent);
    if (!dpy) {
        const std::string which =
            name ? name : (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(DISPLAY is not set)");
        error = silent ? "the X display " + which + " took the connection and did not answer in " +
                             std::to_string(kDisplayAnswer.count()) + " s"
                       : "cannot open the X display " + which;
        return nullptr;
    }
    auto driver = std::make_unique<X11Driver>(dpy);
    driver->refreshMonitors();
    return driver;
}

} // namespace pal::win
