// What a test does on its X display as another client would: find a window by its title, click
// and type through XTEST, read a window's properties and ask the window manager for things.
// Header-only: only tests that link Xlib and XTEST include it, after the window layer's headers.
#pragma once

#include "pal/test/snapshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pal::test {

// The viewable window titled `title` among the windows below `under`, looking `depth` levels
// down (a window manager's frame puts the client one level lower); 0 when there is none.
inline Window findViewable(Display* dpy, Window under, const std::string& title, int depth = 1) {
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned count = 0;
    if (!XQueryTree(dpy, under, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes a{};
        if (XFetchName(dpy, children[i], &name) && name) {
            if (title == name && XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
        if (!found && depth > 1)
            found = findViewable(dpy, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

// Presses and releases a pointer button where the pointer is.
inline void click(Display* dpy, unsigned button = 1) {
    XTestFakeButtonEvent(dpy, button, True, CurrentTime);
    XTestFakeButtonEvent(dpy, button, False, CurrentTime);
    XFlush(dpy);
}

// Moves the pointer to a screen point and clicks there.
inline void clickAt(Display* dpy, int x, int y, unsigned button = 1) {
    XTestFakeMotionEvent(dpy, 0, x, y, CurrentTime);
    click(dpy, button);
}

// Presses and releases a key, with Shift held when `shifted`.
inline void tapKey(Display* dpy, KeyCode code, bool shifted = false) {
    const KeyCode shift = XKeysymToKeycode(dpy, XK_Shift_L);
    if (shifted)
        XTestFakeKeyEvent(dpy, shift, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    if (shifted)
        XTestFakeKeyEvent(dpy, shift, False, CurrentTime);
}

// While it lives, the keys of ';', 'e' and 'r' type Cyrillic letters, as a Russian layout puts
// them; the server's own mapping comes back when it goes.
class CyrillicKeys {
public:
    static constexpr KeyCode zhe = 47, u = 26, ka = 27;

    explicit CyrillicKeys(Display* dpy) : dpy_(dpy) {
        saved_ = XGetKeyboardMapping(dpy_, kFirst, kCount, &perCode_);
        const struct {
            KeyCode code;
            KeySym lower, upper;
        } letters[] = {{zhe, XK_Cyrillic_zhe, XK_Cyrillic_ZHE},
                       {u, XK_Cyrillic_u, XK_Cyrillic_U},
                       {ka, XK_Cyrillic_ka, XK_Cyrillic_KA}};
        for (const auto& l : letters) {
            KeySym syms[2] = {l.lower, l.upper};
            XChangeKeyboardMapping(dpy_, l.code, 2, syms, 1);
        }
        XSync(dpy_, False);
    }
    ~CyrillicKeys() {
        if (saved_) {
            XChangeKeyboardMapping(dpy_, kFirst, perCode_, saved_, kCount);
            XFree(saved_);
        }
        XSync(dpy_, False);
    }
    CyrillicKeys(const CyrillicKeys&) = delete;
    CyrillicKeys& operator=(const CyrillicKeys&) = delete;

private:
    static constexpr KeyCode kFirst = u;
    static constexpr int kCount = zhe - u + 1;
    Display* dpy_;
    KeySym* saved_ = nullptr;
    int perCode_ = 0;
};

// A window's 32-bit property of the given type, as Xlib hands such data over (one long each).
inline std::vector<long> property32(Display* dpy, Window xid, Atom name, Atom type, long length) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(dpy, xid, name, 0, length, False, type, &actual, &format, &count, &after, &data);
    std::vector<long> values;
    if (data) {
        values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        XFree(data);
    }
    return values;
}

// Sends the window manager a request about a window (a ClientMessage to the root, as pagers and
// taskbars do).
inline void askWindowManager(Display* dpy, Window xid, const char* type, long l0, long l1 = 0, long l2 = 0,
                             long l3 = 0) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xid;
    e.xclient.message_type = XInternAtom(dpy, type, False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = l0;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(dpy);
}

// What the X server shows on its whole screen, window manager's frames included, kept as a
// snapshot under `name` (see keepSnapshot) for a person to look at; false when it cannot be read.
inline bool keepScreen(Display* dpy, const std::string& name) {
    const Window root = DefaultRootWindow(dpy);
    XWindowAttributes a{};
    if (!XGetWindowAttributes(dpy, root, &a))
        return false;
    XImage* image = XGetImage(dpy, root, 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    pal::gdi::Surface picture = pal::gdi::Surface::create(a.width, a.height);
    if (picture) {
        cairo_surface_flush(picture.get());
        unsigned char* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        for (int y = 0; y < a.height; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < a.width; ++x)
                row[x] = 0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
        }
        cairo_surface_mark_dirty(picture.get());
    }
    XDestroyImage(image);
    return picture && keepSnapshot(picture, name);
}

} // namespace pal::test
