// A drag source of another program on the tests' X display, as a file manager drags files:
//   x11_dnd_source DISPLAY TITLE X Y URIS
// drags the text/uri-list URIS over the window titled TITLE to the screen point X,Y and drops
// it there when the window takes it. Prints "status 0|1 ACTION" and, after a drop,
// "finished 0|1 ACTION"; ends with status 1 when the window does not answer. Xlib only.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>

namespace {

Window titled(Display* dpy, Window under, const char* title, int depth) {
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned count = 0;
    if (!XQueryTree(dpy, under, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(dpy, children[i], &name) && name && std::strcmp(name, title) == 0)
            found = children[i];
        if (name)
            XFree(name);
        if (!found && depth > 1)
            found = titled(dpy, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

bool next(Display* dpy, XEvent& e) {
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    while (XPending(dpy) == 0) {
        if (poll(&p, 1, 10000) <= 0)
            return false;
    }
    XNextEvent(dpy, &e);
    return true;
}

std::string nameOf(Display* dpy, long atom) {
    if (atom == None)
        return "none";
    char* name = XGetAtomName(dpy, static_cast<Atom>(atom));
    std::string out = name ? name : "";
    if (name)
        XFree(name);
    return out;
}

} // namespace

static int drag(Display* dpy, char** argv) {
    const Window target = titled(dpy, DefaultRootWindow(dpy), argv[2], 4);
    if (!target)
        return 1;
    const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
    const std::string uris = argv[5];
    const Window me = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    auto atom = [&](const char* name) { return XInternAtom(dpy, name, False); };
    const Atom selection = atom("XdndSelection"), uriList = atom("text/uri-list");
    XSetSelectionOwner(dpy, selection, me, CurrentTime);
    auto send = [&](const char* type, long l1, long l2, long l3, long l4) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = atom(type);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(me);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        e.xclient.data.l[4] = l4;
        XSendEvent(dpy, target, False, NoEventMask, &e);
        XFlush(dpy);
    };
    send("XdndEnter", 5L << 24, static_cast<long>(uriList), 0, 0);
    send("XdndPosition", 0, (static_cast<long>(x) << 16) | y, CurrentTime,
         static_cast<long>(atom("XdndActionCopy")));
    bool accepted = false;
    for (;;) {
        XEvent e{};
        if (!next(dpy, e))
            return 1;
        if (e.type == SelectionRequest) {
            const XSelectionRequestEvent& r = e.xselectionrequest;
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r.requestor;
            reply.xselection.selection = r.selection;
            reply.xselection.target = r.target;
            reply.xselection.time = r.time;
            reply.xselection.property = r.target == uriList ? r.property : None;
            if (r.target == uriList)
                XChangeProperty(dpy, r.requestor, r.property, uriList, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(uris.data()),
                                static_cast<int>(uris.size()));
            XSendEvent(dpy, r.requestor, False, NoEventMask, &reply);
            XFlush(dpy);
            continue;
        }
        if (e.type != ClientMessage)
            continue;
        if (e.xclient.message_type == atom("XdndStatus")) {
            accepted = e.xclient.data.l[1] & 1;
            std::printf("status %d %s\n", accepted ? 1 : 0, nameOf(dpy, e.xclient.data.l[4]).c_str());
            std::fflush(stdout);
            if (!accepted) {
                send("XdndLeave", 0, 0, 0, 0);
                return 0;
            }
            send("XdndDrop", 0, CurrentTime, 0, 0);
        } else if (e.xclient.message_type == atom("XdndFinished")) {
            std::printf("finished %d %s\n", (e.xclient.data.l[1] & 1) ? 1 : 0,
                        nameOf(dpy, e.xclient.data.l[2]).c_str());
            return 0;
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 6)
        return 2;
    Display* dpy = XOpenDisplay(argv[1]);
    if (!dpy)
        return 2;
    const int code = drag(dpy, argv);
    XCloseDisplay(dpy);
    return code;
}
