// DravikCad on a real X11 display with a window manager, driven only by keys as a person at the
// keyboard drives it: a modal dialog opened and closed gives the keyboard back to the main
// window, and the backstage closed leaves the panes showing their own pixels.
#include "pal/test/sandbox_test.h"

#include "pal/test/eventually.h"
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using pal::test::eventually;

class ProgramOnX11 : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        dpy_ = XOpenDisplay(server_.name().c_str());
        ASSERT_NE(dpy_, nullptr);
        // A window the program closes while the test looks at the tree is no error of the test's.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (!wm_.start(server_.name(), dpy_))
            GTEST_SKIP() << "no window manager (scripts/setup installs openbox)";
        start();
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (dpy_)
            XCloseDisplay(dpy_);
        server_.stop();
        SandboxTest::TearDown();
    }

    void start() {
        const std::string program = (binDir() / "DravikCad").string();
        const std::string display = server_.name();
        pid_ = fork();
        if (pid_ == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            setenv("DV_PAL_DISPLAY", "x11", 1);
            unsetenv("DV_PAL_SNAPSHOTS");
            unsetenv("DV_PAL_TEST"); // as a person starts it, in the test's sandbox
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid_, 0);
    }

    // The viewable client window whose title starts with `prefix`, below the window manager's
    // frames; 0 when there is none.
    Window titled(const std::string& prefix) {
        std::vector<Window> level{DefaultRootWindow(dpy_)};
        for (int depth = 0; depth < 3; ++depth) {
            std::vector<Window> next;
            for (Window w : level) {
                Window root = 0, parent = 0, *children = nullptr;
                unsigned count = 0;
                if (!XQueryTree(dpy_, w, &root, &parent, &children, &count))
                    continue;
                for (unsigned i = 0; i < count; ++i) {
                    char* name = nullptr;
                    XWindowAttributes a{};
                    const bool match = XFetchName(dpy_, children[i], &name) && name &&
                                       std::string(name).rfind(prefix, 0) == 0 &&
                                       XGetWindowAttributes(dpy_, children[i], &a) &&
                                       a.map_state == IsViewable;
                    if (name)
                        XFree(name);
                    if (match) {
                        const Window found = children[i];
                        XFree(children);
                        return found;
                    }
                    next.push_back(children[i]);
                }
                if (children)
                    XFree(children);
            }
            level = std::move(next);
        }
        return 0;
    }

    Window focused() {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(dpy_, &w, &revert);
        return w;
    }

    // Presses and releases each key in turn.
    void keys(std::initializer_list<KeySym> syms) {
        for (KeySym s : syms)
            pal::test::tapKey(dpy_, XKeysymToKeycode(dpy_, s));
        XSync(dpy_, False);
    }

    // The About command of the ribbon's Help group, reached through the key tips: Alt, the Home
    // tab's "H", then "A2", as "Applications" of the Settings group takes the letter first.
    void openAbout() { keys({XK_Alt_L, XK_h, XK_a, XK_2}); }

    // The pixels the X server shows of the lower left of the window, where the docking panes
    // are.
    std::vector<unsigned long> panes(Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy_, w, &a);
        const int x = 0, y = a.height / 4, width = a.width / 4, height = a.height / 2;
        XImage* image = XGetImage(dpy_, w, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        std::vector<unsigned long> pixels;
        if (!image)
            return pixels;
        for (int j = 0; j < height; ++j)
            for (int i = 0; i < width; ++i)
                pixels.push_back(XGetPixel(image, i, j) & 0xFFFFFF);
        XDestroyImage(image);
        return pixels;
    }

    RECT onScreen(Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy_, w, &a);
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child);
        return RECT{x, y, x + a.width, y + a.height};
    }

    std::vector<long> property(Window w, const char* name, Atom type, long length = 4) {
        return pal::test::property32(dpy_, w, XInternAtom(dpy_, name, False), type, length);
    }

    pal::test::Xvfb server_;
    pal::test::WindowManager wm_;
    Display* dpy_ = nullptr;
    pid_t pid_ = 0;
};

constexpr const char* kMain = "DRAVIK CAD 3D";

TEST_F(ProgramOnX11, AfterTheAboutBoxClosesByKeysTheKeysReachTheMainWindowWithoutAClick) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }))
        << "the main window shows and has the keyboard";
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // In the second round the keys find the main window only if closing the box gave it back.
        openAbout();
        Window about = 0;
        ASSERT_TRUE(eventually([&] { return (about = titled("About")) != 0; })) << "the About box opens";
        EXPECT_TRUE(eventually([&] { return focused() == about; })) << "and takes the keyboard";
        keys({XK_Escape});
        EXPECT_TRUE(eventually([&] { return titled("About") == 0; })) << "Escape closes it";
        EXPECT_TRUE(eventually([&] { return focused() == main; }))
            << "the main window has the keyboard again";
    }
}

TEST_F(ProgramOnX11, TheBackstageClosedByKeysLeavesThePanesTheirOwnPixels) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    std::vector<unsigned long> before;
    // Settled: two looks in a row see the same panes.
    ASSERT_TRUE(eventually([&] {
        const auto first = panes(main);
        before = panes(main);
        return !before.empty() && first == before;
    }));
    keys({XK_Alt_L, XK_f});
    ASSERT_TRUE(eventually([&] { return panes(main) != before; })) << "the backstage covers the panes";
    keys({XK_Escape});
    EXPECT_TRUE(eventually([&] { return panes(main) == before; })) << "the panes show their own pixels again";
}

TEST_F(ProgramOnX11, TheMainWindowHasOneFrameAndTheProgramsNameAndIcon) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    std::vector<long> extents;
    ASSERT_TRUE(eventually(
        [&] { return (extents = property(main, "_NET_FRAME_EXTENTS", XA_CARDINAL)).size() == 4; }));
    EXPECT_EQ(extents, (std::vector<long>{0, 0, 0, 0})) << "the ribbon's caption is the only title bar";
    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(dpy_, main, &cls));
    EXPECT_STREQ(cls.res_class, "DravikCad");
    XFree(cls.res_name);
    XFree(cls.res_class);
    EXPECT_EQ(property(main, "_NET_WM_PID", XA_CARDINAL, 1), (std::vector<long>{pid_}));
    const auto icon = property(main, "_NET_WM_ICON", XA_CARDINAL, 1 << 16);
    ASSERT_GE(icon.size(), 2u);
    EXPECT_GT(icon[0] * icon[1], 0) << "the task bar shows the program's icon";
    // Settled before the picture: two looks in a row see the same window.
    ASSERT_TRUE(eventually([&] {
        const auto first = panes(main);
        return !first.empty() && first == panes(main);
    }));
    EXPECT_TRUE(pal::test::keepScreen(dpy_, "x11-main-window"));
}

TEST_F(ProgramOnX11, TheAboutBoxIsADialogOfTheMainWindowCentredOnIt) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    openAbout();
    Window about = 0;
    ASSERT_TRUE(eventually([&] { return (about = titled("About")) != 0 && focused() == about; }));
    Window owner = 0;
    ASSERT_TRUE(XGetTransientForHint(dpy_, about, &owner));
    EXPECT_EQ(owner, main);
    EXPECT_EQ(property(about, "_NET_WM_WINDOW_TYPE", XA_ATOM, 1),
              (std::vector<long>{static_cast<long>(XInternAtom(dpy_, "_NET_WM_WINDOW_TYPE_DIALOG", False))}));
    const Atom motif = XInternAtom(dpy_, "_MOTIF_WM_HINTS", False);
    const auto hints = pal::test::property32(dpy_, about, motif, motif, 5);
    ASSERT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints[2] & (32 | 64), 0) << "no minimise or maximise button is asked for";
    const RECT m = onScreen(main), a = onScreen(about);
    // Its client area is centred across and, below its caption, nearly down.
    EXPECT_LE(std::abs((a.left + a.right) / 2 - (m.left + m.right) / 2), 4);
    EXPECT_LE(std::abs((a.top + a.bottom) / 2 - (m.top + m.bottom) / 2), 24);
    ASSERT_TRUE(eventually([&] {
        const auto first = panes(about);
        return !first.empty() && first == panes(about);
    }));
    EXPECT_TRUE(pal::test::keepScreen(dpy_, "x11-about-dialog"));
    keys({XK_Escape});
}

} // namespace
