// DravikCad on a real X11 display with a window manager, driven only by keys as a person at the
// keyboard drives it: a modal dialog opened and closed gives the keyboard back to the main
// window, whose shortcuts then work with and without a document, and the backstage closed
// leaves the panes showing their own pixels.
#include "pal/test/sandbox_test.h"

#include "pal/gdi.h"
#include "pal/test/eventually.h"
#include "pal/test/snapshot.h"
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cairo.h>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using pal::test::eventually;

constexpr const char* kMain = "DRAVIK CAD 3D";

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

    // The main window, once it shows, has the keyboard and has painted its panes, which two
    // looks in a row see alike: a part of an X window not painted yet shows black, which the
    // panes have nowhere. Keys pressed before that are the start-up's, not a person's.
    Window started(std::vector<unsigned long>* settled = nullptr) {
        Window main = 0;
        std::vector<unsigned long> look;
        const bool up = eventually([&] {
            if ((main = titled(kMain)) == 0 || focused() != main)
                return false;
            const auto first = panes(main);
            look = panes(main);
            return !look.empty() && first == look &&
                   std::none_of(look.begin(), look.end(), [](unsigned long p) { return p == 0; });
        });
        if (settled)
            *settled = std::move(look);
        return up ? main : 0;
    }

    // Holds Ctrl while the key is pressed and released.
    void withControl(KeySym sym) {
        const KeyCode control = XKeysymToKeycode(dpy_, XK_Control_L);
        XTestFakeKeyEvent(dpy_, control, True, CurrentTime);
        pal::test::tapKey(dpy_, XKeysymToKeycode(dpy_, sym));
        XTestFakeKeyEvent(dpy_, control, False, CurrentTime);
        XSync(dpy_, False);
    }

    std::string title(Window w) {
        char* name = nullptr;
        std::string out;
        if (XFetchName(dpy_, w, &name) && name)
            out = name;
        if (name)
            XFree(name);
        return out;
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

    // The picture the X server shows of the whole window, kept as a PNG for a person to look at.
    bool keepPicture(Window w, const std::string& name) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy_, w, &a))
            return false;
        XImage* image = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!image)
            return false;
        pal::gdi::Surface picture = pal::gdi::Surface::create(a.width, a.height);
        if (picture) {
            cairo_surface_flush(picture.get());
            unsigned char* data = cairo_image_surface_get_data(picture.get());
            const int stride = cairo_image_surface_get_stride(picture.get());
            for (int y = 0; y < a.height; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
                for (int x = 0; x < a.width; ++x)
                    row[x] = 0xFF000000u | static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
            cairo_surface_mark_dirty(picture.get());
        }
        XDestroyImage(image);
        return picture && pal::test::keepSnapshot(picture, name);
    }

    pal::test::Xvfb server_;
    pal::test::WindowManager wm_;
    Display* dpy_ = nullptr;
    pid_t pid_ = 0;
};

TEST_F(ProgramOnX11, AfterTheAboutBoxClosesByKeysTheKeysReachTheMainWindowWithoutAClick) {
    const Window main = started();
    ASSERT_NE(main, 0u) << "the main window shows and has the keyboard";
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

// Shortcuts are the frame's: after the box they reach it without a click, a new document
// window's title joins the main title, and after the box once more the document window is the
// one Ctrl+F4 closes.
TEST_F(ProgramOnX11, AfterTheAboutBoxClosesByKeysTheFramesShortcutsOpenAndCloseADocumentWithoutAClick) {
    const Window main = started();
    ASSERT_NE(main, 0u);
    const auto aboutOpenedAndClosed = [&](const char* when) {
        SCOPED_TRACE(when);
        openAbout();
        ASSERT_TRUE(eventually([&] { return titled("About") != 0; })) << "the About box opens";
        keys({XK_Escape});
        ASSERT_TRUE(eventually([&] { return titled("About") == 0 && focused() == main; }))
            << "Escape closes it and the main window has the keyboard again";
    };
    aboutOpenedAndClosed("without a document");
    ASSERT_EQ(title(main), kMain) << "no document yet";
    withControl(XK_n);
    EXPECT_TRUE(eventually([&] { return title(main).rfind(std::string(kMain) + " - ", 0) == 0; }))
        << "Ctrl+N opened a document: \"" << title(main) << "\"";
    aboutOpenedAndClosed("with a document");
    withControl(XK_F4);
    EXPECT_TRUE(eventually([&] { return title(main) == kMain; }))
        << "Ctrl+F4 closed the document: \"" << title(main) << "\"";
}

TEST_F(ProgramOnX11, TheBackstageClosedByKeysLeavesThePanesTheirOwnPixels) {
    std::vector<unsigned long> before;
    const Window main = started(&before);
    ASSERT_NE(main, 0u);
    keys({XK_Alt_L, XK_f});
    ASSERT_TRUE(eventually([&] { return panes(main) != before; })) << "the backstage covers the panes";
    EXPECT_TRUE(keepPicture(main, "program-backstage-open.png"));
    keys({XK_Escape});
    const bool restored = eventually([&] { return panes(main) == before; });
    EXPECT_TRUE(keepPicture(main, "program-backstage-closed.png"));
    EXPECT_TRUE(restored) << "the panes show their own pixels again (see program-backstage-closed.png)";
}

} // namespace
