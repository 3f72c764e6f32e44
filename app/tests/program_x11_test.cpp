// DravikCad on a real X11 display (an Xvfb and a window manager of the test's own), driven by
// key presses as a person drives it: Ctrl+O and a typed path open a drawing, Ctrl+Z and Ctrl+Y
// find nothing to undo, Ctrl+S saves it, Ctrl+Shift+S and a typed name save it again under
// that name, Ctrl+F4 closes it. The file dialogs are kept as pictures for a person to look at.
#include "DravikKernel/DocumentFile.h"
#include "pal/gdi.h"
#include "pal/path.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/text.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using pal::test::eventually;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ProgramOnX11 : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = XOpenDisplay(server_.name().c_str());
        ASSERT_NE(observer_, nullptr);
        ASSERT_TRUE(manager_.start(server_.name(), observer_)) << "openbox is not installed";
    }
    void TearDown() override {
        if (program_ > 0) {
            ::kill(program_, SIGKILL);
            ::waitpid(program_, nullptr, 0);
        }
        if (observer_)
            XCloseDisplay(observer_);
        server_.stop();
        SandboxTest::TearDown();
    }

    void startDravikCad() {
        const std::string program = (binDir() / "DravikCad").string();
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("DV_PAL_DISPLAY=", 0) != 0 &&
                entry.rfind("DV_PAL_ANSWERS=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("DISPLAY=" + server_.name());
        env.push_back("DV_PAL_DISPLAY=x11");
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string err = (root() / "DravikCad.err").string();
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_EQ(posix_spawn(&program_, program.c_str(), &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    static std::string titleOf(Display* display, Window w) {
        const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(display, w, name, 0, 1024, False, utf8, &type, &format, &count, &after,
                               &data) == Success &&
            data) {
            title.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        return title;
    }

    // The program's top-level window whose title holds `part`.
    std::optional<Window> windowTitled(const std::string& part) {
        std::optional<Window> found;
        std::function<void(Window)> walk = [&](Window w) {
            if (found)
                return;
            if (titleOf(observer_, w).find(part) != std::string::npos) {
                XWindowAttributes a{};
                if (XGetWindowAttributes(observer_, w, &a) && a.map_state == IsViewable) {
                    found = w;
                    return;
                }
            }
            Window r = 0, parent = 0, *children = nullptr;
            unsigned n = 0;
            if (XQueryTree(observer_, w, &r, &parent, &children, &n)) {
                for (unsigned i = 0; i < n; ++i)
                    walk(children[i]);
                if (children)
                    XFree(children);
            }
        };
        walk(DefaultRootWindow(observer_));
        return found;
    }

    bool waitForWindow(const std::string& part, bool shown = true) {
        return eventually([&] { return windowTitled(part).has_value() == shown; }, 60);
    }

    void key(KeySym symbol, bool down) {
        XTestFakeKeyEvent(observer_, XKeysymToKeycode(observer_, symbol), down ? True : False, CurrentTime);
        XSync(observer_, False);
    }
    void press(KeySym symbol, std::initializer_list<KeySym> modifiers = {XK_Control_L}) {
        for (KeySym m : modifiers)
            key(m, true);
        key(symbol, true);
        key(symbol, false);
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
            key(*it, false);
    }
    // Types a path of lower-case letters, digits and the signs of a plain path.
    void type(const std::string& text) {
        for (char c : text) {
            KeySym symbol = NoSymbol;
            switch (c) {
            case '/':
                symbol = XK_slash;
                break;
            case '.':
                symbol = XK_period;
                break;
            case '-':
                symbol = XK_minus;
                break;
            default:
                symbol = static_cast<KeySym>(static_cast<unsigned char>(c));
            }
            press(symbol, {});
        }
        press(XK_Return, {});
    }

    // What the X server shows of the window, kept for a person to look at.
    void keepPicture(Window xid, const std::string& name) {
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        XImage* image = XGetImage(observer_, xid, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        pal::gdi::Surface picture = pal::gdi::Surface::create(a.width, a.height);
        cairo_surface_flush(picture.get());
        unsigned char* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const auto p = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF) | 0xFF000000u;
                std::memcpy(data + y * stride + x * 4, &p, 4);
            }
        cairo_surface_mark_dirty(picture.get());
        XDestroyImage(image);
        EXPECT_TRUE(pal::test::keepSnapshot(picture, name));
    }

    pal::test::Xvfb server_;
    pal::test::WindowManager manager_;
    Display* observer_ = nullptr;
    pid_t program_ = 0;
};

TEST_F(ProgramOnX11, KeysOpenSaveSaveAsAndCloseADrawingThroughTheFileDialogs) {
    const fs::path folder = root() / "work";
    fs::create_directories(folder);
    const fs::path plan = folder / "plan.grb";
    const fs::path copy = folder / "plan-2.grb";
    fs::copy_file(binDir() / "Samples" / "sample-a3.grb", plan);
    const std::string bundled = bytesOf(binDir() / "Samples" / "sample-a3.grb");

    startDravikCad();
    ASSERT_TRUE(waitForWindow("DRAVIK")) << bytesOf(root() / "DravikCad.err");
    const Window main = *windowTitled("DRAVIK");
    XSetInputFocus(observer_, main, RevertToParent, CurrentTime);
    XSync(observer_, False);

    press(XK_o);
    ASSERT_TRUE(waitForWindow("Open")) << "Ctrl+O shows the open dialog";
    keepPicture(*windowTitled("Open"), "x11_open_dialog");
    type(plan.string());
    ASSERT_TRUE(waitForWindow("Open", false));
    ASSERT_TRUE(waitForWindow("plan")) << "the drawing's name in the main window's title";

    press(XK_z);
    press(XK_y);
    const fs::file_time_type before = fs::last_write_time(plan);
    press(XK_s);
    EXPECT_TRUE(eventually([&] { return fs::last_write_time(plan) != before; }, 60)) << "Ctrl+S saves";

    press(XK_s, {XK_Control_L, XK_Shift_L});
    ASSERT_TRUE(waitForWindow("Save As")) << "Ctrl+Shift+S shows the save dialog";
    keepPicture(*windowTitled("Save As"), "x11_save_as_dialog");
    type(copy.string());
    ASSERT_TRUE(eventually([&] { return fs::exists(copy); }, 60)) << "saved under the typed name";
    ASSERT_TRUE(waitForWindow("plan-2"));

    press(XK_F4);
    EXPECT_TRUE(waitForWindow("plan-2", false)) << "Ctrl+F4 closes the drawing";

    std::wstring error;
    EXPECT_NE(Dravik::grb::LoadFile(pal::path::fromNative(copy), &error), nullptr)
        << pal::text::toUtf8(error);
    EXPECT_NE(Dravik::grb::LoadFile(pal::path::fromNative(plan), &error), nullptr)
        << pal::text::toUtf8(error);
    EXPECT_EQ(bytesOf(binDir() / "Samples" / "sample-a3.grb"), bundled);
}

} // namespace
