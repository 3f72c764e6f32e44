// DravikCad on a real X11 display with a window manager, driven only by keys as a person at the
// keyboard drives it: a modal dialog opened and closed gives the keyboard back to the main
// window, the backstage closed leaves the panes showing their own pixels, Ctrl+O of the
// program's key table opens the file dialog in its details view, and in the classic layout a
// right click on the bars opens the frame's own tool-bar list with its themes.
#include "pal/test/sandbox_test.h"

#include "pal/gdi.h"
#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/snapshot.h"
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"
#include "win/system/registry.h"

#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <cairo.h>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
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
        arrange();
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

    // Starts DravikCad when it is not yet running (a test may arrange the sandbox first).
    void start() {
        if (pid_ > 0)
            return;
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

    // What the sandbox holds before the program starts.
    virtual void arrange() {}

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

    // Presses one key while Ctrl is held.
    void withControl(KeySym sym) {
        const KeyCode control = XKeysymToKeycode(dpy_, XK_Control_L);
        XTestFakeKeyEvent(dpy_, control, True, CurrentTime);
        pal::test::tapKey(dpy_, XKeysymToKeycode(dpy_, sym));
        XTestFakeKeyEvent(dpy_, control, False, CurrentTime);
        XSync(dpy_, False);
    }

    // What the X server shows of a window, as a picture.
    pal::gdi::Surface picture(Window w) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy_, w, &a) || a.width <= 0 || a.height <= 0)
            return {};
        XImage* image = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!image)
            return {};
        pal::gdi::Surface out = pal::gdi::Surface::create(a.width, a.height);
        cairo_surface_flush(out.get());
        unsigned char* data = cairo_image_surface_get_data(out.get());
        const int stride = cairo_image_surface_get_stride(out.get());
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                reinterpret_cast<uint32_t*>(data + y * stride)[x] =
                    0xFF000000u | static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
        cairo_surface_mark_dirty(out.get());
        XDestroyImage(image);
        return out;
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

// Ctrl+O comes from the program's accelerator table 1, declared beside it; the open dialog it
// brings lists in its details view, and Escape gives the keyboard back to the main window.
TEST_F(ProgramOnX11, CtrlOOfTheProgramsKeyTableOpensTheFileDialogInItsDetailsView) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    withControl(XK_o);
    Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Open")) != 0 && focused() == dialog; }))
        << "the open dialog shows and has the keyboard";
    // Settled: two looks in a row see the same picture.
    pal::gdi::Surface shown;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(dialog);
        shown = picture(dialog);
        if (!first || !shown || first.width() != shown.width() || first.height() != shown.height())
            return false;
        for (int y = 0; y < shown.height(); y += 3)
            for (int x = 0; x < shown.width(); x += 3)
                if (first.pixel(x, y) != shown.pixel(x, y))
                    return false;
        return true;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(shown, "x11-open-dialog-details"));
    keys({XK_Escape});
    EXPECT_TRUE(eventually([&] { return titled("Open") == 0; })) << "Escape closes it";
    EXPECT_TRUE(eventually([&] { return focused() == main; })) << "the main window has the keyboard again";
}

// The program's file dialog opens where the person last chose a file, kept for DravikCad by
// name; there a typed beginning is completed, and Enter opens the drawing.
class ProgramFileDialogOnX11 : public ProgramOnX11 {
protected:
    void arrange() override {
        drawings = pal::folders::documents() / "Drawings";
        fs::create_directories(drawings);
        fs::copy_file(binDir() / "Samples" / "sample-a3.grb", drawings / "plan.grb");
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dravik\\Platform\\File dialog\\Last folders",
                                  0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring folder = pal::path::fromNative(drawings);
        RegSetValueExW(key, L"DravikCad", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
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
    fs::path drawings;
};

TEST_F(ProgramFileDialogOnX11, TheDialogOpensInTheProgramsLastFolderAndATypedBeginningIsCompleted) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    withControl(XK_o);
    Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Open")) != 0 && focused() == dialog; }));
    keys({XK_p, XK_l, XK_Return});
    EXPECT_TRUE(eventually([&] { return titled("Open") == 0; })) << "Enter takes the completed name";
    EXPECT_TRUE(eventually([&] { return title(main).find("plan") != std::string::npos; }))
        << "the drawing opens: " << title(main);
}

} // namespace

// DravikCad in its classic layout (the person switched the ribbon off last time): a right click
// on the bars opens the frame's own tool-bar list, which ends with the themes; a theme chosen
// from it repaints the whole window.
class ClassicProgramOnX11 : public ProgramOnX11 {
protected:
    void arrange() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Dravik\\DRAVIK CAD 18.0\\Settings", 0,
                                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD classic = 0;
        RegSetValueExW(key, L"RibbonMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&classic),
                       sizeof classic);
        RegCloseKey(key);
    }
    // The viewable windows straight under the root (popups are among them).
    std::vector<Window> topLevel() {
        std::vector<Window> out;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &count))
            return out;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(dpy_, children[i], &a) && a.map_state == IsViewable &&
                a.override_redirect)
                out.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return out;
    }
    // A popup shown since `before`; 0 when none is.
    Window newPopup(const std::vector<Window>& before) {
        for (Window w : topLevel())
            if (std::find(before.begin(), before.end(), w) == before.end())
                return w;
        return 0;
    }
    // Where a point of a window lies on the screen.
    std::pair<int, int> onScreen(Window w, int x, int y) {
        int sx = 0, sy = 0;
        Window child = 0;
        XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), x, y, &sx, &sy, &child);
        return {sx, sy};
    }
};

TEST_F(ClassicProgramOnX11, ARightClickOnTheBarsListsTheFramesOwnBarsAndItsThemesRepaintTheWindow) {
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = titled(kMain)) != 0 && focused() == main; }));
    pal::gdi::Surface before;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(main);
        before = picture(main);
        return before.get() != nullptr && pal::test::differingPixels(first, before) == 0;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(before, "x11-classic-frame-first-theme"));

    // The free end of the menu bar, past its last menu.
    const std::vector<Window> shown = topLevel();
    const auto [x, y] = onScreen(main, 600, 13);
    pal::test::clickAt(dpy_, x, y, 3);
    Window list = 0;
    ASSERT_TRUE(eventually([&] { return (list = newPopup(shown)) != 0; })) << "the right click opens a popup";
    pal::gdi::Surface listPicture;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(list);
        listPicture = picture(list);
        return listPicture.get() != nullptr && pal::test::differingPixels(first, listPicture) == 0;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(listPicture, "x11-classic-tool-bar-list"));

    // The first item lists the frame's bars.
    std::vector<Window> withList = topLevel();
    keys({XK_Down, XK_Right});
    Window bars = 0;
    ASSERT_TRUE(eventually([&] { return (bars = newPopup(withList)) != 0; }))
        << "the first item lists the bars";
    pal::gdi::Surface barsPicture;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(bars);
        barsPicture = picture(bars);
        return barsPicture.get() != nullptr && pal::test::differingPixels(first, barsPicture) == 0;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(barsPicture, "x11-classic-tool-bar-list-bars"));
    keys({XK_Left});
    ASSERT_TRUE(eventually([&] { return newPopup(withList) == 0; })) << "Left closes the bars' list";

    // The last item holds the themes.
    keys({XK_Up, XK_Right});
    Window themes = 0;
    ASSERT_TRUE(eventually([&] { return (themes = newPopup(withList)) != 0; }))
        << "the last item opens the themes";
    pal::gdi::Surface themesPicture;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(themes);
        themesPicture = picture(themes);
        return themesPicture.get() != nullptr && pal::test::differingPixels(first, themesPicture) == 0;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(themesPicture, "x11-classic-themes"));

    // The last theme taken: the popups close and the whole window shows it.
    keys({XK_Up, XK_Return});
    EXPECT_TRUE(eventually([&] { return newPopup(shown) == 0; })) << "choosing a theme closes the popups";
    // The documents pane, white in the first theme, takes the dark one's colour.
    const auto paneColour = [](const pal::gdi::Surface& shot) {
        cairo_surface_flush(shot.get());
        const unsigned char* data = cairo_image_surface_get_data(shot.get());
        const int stride = cairo_image_surface_get_stride(shot.get());
        return reinterpret_cast<const uint32_t*>(data + 450 * stride)[150] & 0xFFFFFFu;
    };
    pal::gdi::Surface after;
    EXPECT_TRUE(eventually([&] {
        const pal::gdi::Surface first = picture(main);
        after = picture(main);
        return after.get() != nullptr && pal::test::differingPixels(first, after) == 0 &&
               paneColour(after) != paneColour(before) && newPopup(shown) == 0;
    })) << "the window shows the theme";
    EXPECT_TRUE(pal::test::keepSnapshot(after, "x11-classic-frame-last-theme"));
}
