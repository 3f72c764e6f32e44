// Another program on the tests' X display, holding or reading the desktop's clipboard as a
// desktop program does, large data in steps (INCR) included. Xlib only.
//   x11_clipboard_peer DISPLAY own TARGET FILE   offers FILE's bytes as TARGET; prints "ready"
//                                                 once it holds the clipboard; ends when it loses it
//   x11_clipboard_peer DISPLAY read TARGET FILE  writes what the clipboard's owner gives as TARGET
//                                                 to FILE; exit status 1 when nothing comes
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>

namespace {

constexpr size_t kStepAbove = 256 * 1024, kStep = 64 * 1024;

// The next event, or false after ten seconds of nothing.
bool next(Display* dpy, XEvent& e) {
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    while (XPending(dpy) == 0) {
        if (poll(&p, 1, 10000) <= 0)
            return false;
    }
    XNextEvent(dpy, &e);
    return true;
}

int own(Display* dpy, Window w, Atom clipboard, Atom target, const std::string& bytes) {
    const Atom targets = XInternAtom(dpy, "TARGETS", False), incr = XInternAtom(dpy, "INCR", False);
    XSetSelectionOwner(dpy, clipboard, w, CurrentTime);
    if (XGetSelectionOwner(dpy, clipboard) != w)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    Window requestor = 0;
    Atom property = 0;
    size_t at = 0;
    bool stepping = false;
    for (;;) {
        XEvent e{};
        XNextEvent(dpy, &e);
        if (e.type == SelectionClear)
            return 0;
        if (e.type == PropertyNotify && stepping && e.xproperty.window == requestor &&
            e.xproperty.atom == property && e.xproperty.state == PropertyDelete) {
            const size_t n = std::min(kStep, bytes.size() - at);
            XChangeProperty(dpy, requestor, property, target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.data() + at), static_cast<int>(n));
            at += n;
            stepping = n > 0;
            XFlush(dpy);
            continue;
        }
        if (e.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent& r = e.xselectionrequest;
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = r.requestor;
        reply.xselection.selection = r.selection;
        reply.xselection.target = r.target;
        reply.xselection.time = r.time;
        reply.xselection.property = r.property;
        if (r.target == targets) {
            const Atom list[] = {targets, target};
            XChangeProperty(dpy, r.requestor, r.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(list), 2);
        } else if (r.target == target && bytes.size() > kStepAbove) {
            XSelectInput(dpy, r.requestor, PropertyChangeMask);
            const long size = static_cast<long>(bytes.size());
            XChangeProperty(dpy, r.requestor, r.property, incr, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&size), 1);
            requestor = r.requestor;
            property = r.property;
            at = 0;
            stepping = true;
        } else if (r.target == target) {
            XChangeProperty(dpy, r.requestor, r.property, target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
        } else {
            reply.xselection.property = None;
        }
        XSendEvent(dpy, r.requestor, False, NoEventMask, &reply);
        XFlush(dpy);
    }
}

// The property's value, deleted once read.
std::string take(Display* dpy, Window w, Atom property, Atom& type) {
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string out;
    if (XGetWindowProperty(dpy, w, property, 0, 1 << 28, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data)
        out.assign(reinterpret_cast<const char*>(data), count * static_cast<size_t>(format / 8));
    if (data)
        XFree(data);
    return out;
}

int read(Display* dpy, Window w, Atom clipboard, Atom target, const std::string& file) {
    const Atom into = XInternAtom(dpy, "PEER_PASTE", False), incr = XInternAtom(dpy, "INCR", False);
    XSelectInput(dpy, w, PropertyChangeMask);
    XConvertSelection(dpy, clipboard, target, into, w, CurrentTime);
    XFlush(dpy);
    XEvent e{};
    do {
        if (!next(dpy, e))
            return 1;
    } while (e.type != SelectionNotify);
    if (e.xselection.property == None)
        return 1;
    Atom type = 0;
    std::string bytes = take(dpy, w, into, type);
    if (type == incr) {
        bytes.clear();
        for (;;) {
            if (!next(dpy, e))
                return 1;
            if (e.type != PropertyNotify || e.xproperty.atom != into || e.xproperty.state != PropertyNewValue)
                continue;
            const std::string step = take(dpy, w, into, type);
            if (step.empty())
                break;
            bytes += step;
        }
    }
    std::ofstream(file, std::ios::binary) << bytes;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    Display* dpy = XOpenDisplay(argv[1]);
    if (!dpy)
        return 2;
    const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False), target = XInternAtom(dpy, argv[3], False);
    const std::string mode = argv[2];
    int code = 2;
    if (mode == "own") {
        std::ifstream in(argv[4], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        code = own(dpy, w, clipboard, target, bytes);
    } else if (mode == "read") {
        code = read(dpy, w, clipboard, target, argv[4]);
    }
    XCloseDisplay(dpy);
    return code;
}
