// A window of another program on the tests' X display that takes dropped files, as a file
// manager's folder window does:
//   x11_dnd_target DISPLAY TITLE X Y WIDTH HEIGHT take|refuse
// shows a window that speaks the desktop's drag-and-drop protocol (version 5) and prints
// "ready" once it is on the screen. A drag over it offering text/uri-list is answered "take" or
// "refuse"; a drop is fetched and printed as "dropped <the list>", a drag that leaves as
// "left". It ends after either, or after ten seconds of nothing. Xlib only.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>

namespace {

bool next(Display* dpy, XEvent& e) {
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    while (XPending(dpy) == 0) {
        if (poll(&p, 1, 10000) <= 0)
            return false;
    }
    XNextEvent(dpy, &e);
    return true;
}

} // namespace

static int serve(Display* dpy, char** argv) {
    auto atom = [&](const char* name) { return XInternAtom(dpy, name, False); };
    const Atom uriList = atom("text/uri-list"), copy = atom("XdndActionCopy");
    const bool takes = std::strcmp(argv[7], "take") == 0;
    XSetWindowAttributes a{};
    a.override_redirect = True; // placed where asked, with or without a window manager
    a.event_mask = StructureNotifyMask | PropertyChangeMask;
    const Window me =
        XCreateWindow(dpy, DefaultRootWindow(dpy), std::atoi(argv[3]), std::atoi(argv[4]),
                      static_cast<unsigned>(std::atoi(argv[5])), static_cast<unsigned>(std::atoi(argv[6])), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &a);
    XStoreName(dpy, me, argv[2]);
    const long version = 5;
    XChangeProperty(dpy, me, atom("XdndAware"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&version), 1);
    XMapRaised(dpy, me);
    Window source = 0;
    bool files = false;
    auto answer = [&](const char* type, long l1, long l2, long l4) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = source;
        e.xclient.message_type = atom(type);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(me);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[4] = l4;
        XSendEvent(dpy, source, False, NoEventMask, &e);
        XFlush(dpy);
    };
    for (;;) {
        XEvent e{};
        if (!next(dpy, e))
            return 1;
        if (e.type == MapNotify) {
            std::printf("ready\n");
            std::fflush(stdout);
            continue;
        }
        if (e.type == SelectionNotify) {
            Atom type = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            std::string list;
            if (e.xselection.property != None &&
                XGetWindowProperty(dpy, me, e.xselection.property, 0, 1 << 20, True, AnyPropertyType, &type,
                                   &format, &count, &after, &data) == Success &&
                data)
                list.assign(reinterpret_cast<const char*>(data), count);
            if (data)
                XFree(data);
            std::printf("dropped %s\n", list.c_str());
            std::fflush(stdout);
            answer("XdndFinished", list.empty() ? 0 : 1, list.empty() ? None : static_cast<long>(copy), 0);
            return 0;
        }
        if (e.type != ClientMessage)
            continue;
        const Atom type = e.xclient.message_type;
        if (type == atom("XdndEnter")) {
            source = static_cast<Window>(e.xclient.data.l[0]);
            files = false;
            for (int i = 2; i <= 4; ++i)
                files = files || static_cast<Atom>(e.xclient.data.l[i]) == uriList;
        } else if (type == atom("XdndPosition")) {
            const bool accept = takes && files;
            answer("XdndStatus", accept ? 1 : 0, 0, accept ? static_cast<long>(copy) : None);
        } else if (type == atom("XdndLeave")) {
            std::printf("left\n");
            return 0;
        } else if (type == atom("XdndDrop")) {
            XConvertSelection(dpy, atom("XdndSelection"), uriList, atom("DV_DROPPED"), me,
                              static_cast<Time>(e.xclient.data.l[2]));
            XFlush(dpy);
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 8)
        return 2;
    Display* dpy = XOpenDisplay(argv[1]);
    if (!dpy)
        return 2;
    const int code = serve(dpy, argv);
    XCloseDisplay(dpy);
    return code;
}
