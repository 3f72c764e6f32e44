// DravikCad on a real X11 display with a window manager, driven only by keys as a person at the
// keyboard drives it: a modal dialog opened and closed gives the keyboard back to the main
// window, whose shortcuts then work with and without a document, the backstage closed leaves
// the panes showing their own pixels, Ctrl+O of the program's key table opens the file dialog in
// its details view, and a drawing opened, changed, undone, redone, saved, saved as and closed
// with the file keys, and auto-saved with its window painted; in the classic layout a right
// click on the bars opens the frame's own tool-bar list with its themes; with the sample add-on
// installed, its own command runs from its backstage entry, clicked.
#include "DravikKernel/DocumentFile.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/unusable_roots.h"
#include "pal/text.h"

#include "pal/gdi.h"
#include "pal/path.h"
#include "pal/test/eventually.h"
#include "pal/test/snapshot.h"
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"
#include "win/system/registry.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cairo.h>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using pal::test::eventually;

constexpr const char* kMain = "DRAVIK CAD 3D";
// Where the sample add-on's "Greet" entry lies in the opened backstage, from the main window's
// top-left corner.
constexpr POINT kGreetEntry{60, 224};
// The key tips of the Edit tab and of its element-name box.
const std::initializer_list<KeySym> kEditTabTip = {XK_e, XK_1};
const std::initializer_list<KeySym> kFindBoxTip = {XK_f, XK_2};

class ProgramOnX11 : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        dpy_ = pal::test::openLooker(server_);
        ASSERT_NE(dpy_, nullptr);
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

    // The person's Documents folder in the sandbox, where the program starts and its file dialogs
    // begin: the program inherits the user's name from this process, whatever it is (or none).
    std::filesystem::path documents() const { return pal::folders::documents(); }

    // Starts DravikCad when it is not yet running (a test may arrange the sandbox first).
    void start() {
        if (pid_ > 0)
            return;
        const std::string program = (binDir() / "DravikCad").string();
        const std::string display = server_.name();
        std::filesystem::create_directories(documents());
        const std::string folder = documents().string();
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(126);
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

    // The main window once a copy of the sample drawing, "plan.grb" in the person's Documents,
    // is opened by keys and the window has the keyboard again; 0 when any step fails.
    Window startedWithPlan() {
        fs::copy_file(binDir() / "Samples" / "sample-a3.grb", documents() / "plan.grb");
        const Window main = started();
        if (main == 0)
            return 0;
        chord({XK_Control_L}, XK_o);
        if (!eventually([&] { return titled("Open") != 0 && focused() != main; }))
            return 0;
        type("plan.grb");
        keys({XK_Return});
        const bool opened = eventually([&] { return titleOf(main).find("plan") != std::string::npos; }) &&
                            eventually([&] { return focused() == main; });
        return opened ? main : 0;
    }

    // A key pressed while the modifiers are held.
    void chord(std::initializer_list<KeySym> modifiers, KeySym key) {
        for (KeySym m : modifiers)
            XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, m), True, CurrentTime);
        pal::test::tapKey(dpy_, XKeysymToKeycode(dpy_, key));
        for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
            XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, *m), False, CurrentTime);
        XSync(dpy_, False);
    }

    // Types plain text, holding Shift for the characters that need it.
    void type(const std::string& text) {
        for (const char c : text) {
            const KeySym sym = c == '.' ? XK_period : c == '-' ? XK_minus : static_cast<KeySym>(c);
            const KeyCode code = XKeysymToKeycode(dpy_, sym);
            pal::test::tapKey(dpy_, code, XkbKeycodeToKeysym(dpy_, code, 0, 0) != sym);
        }
        XSync(dpy_, False);
    }

    std::string titleOf(Window w) {
        char* name = nullptr;
        std::string title;
        if (XFetchName(dpy_, w, &name) && name)
            title = name;
        if (name)
            XFree(name);
        return title;
    }

    // What the X server shows of a window, kept as a picture for a person to look at once two
    // looks in a row agree.
    bool keepPicture(Window w, const std::string& name) {
        pal::gdi::Surface picture;
        const bool settled = eventually([&] {
            const pal::gdi::Surface first = pictureOf(w);
            picture = pictureOf(w);
            return picture && pal::test::differingPixels(first, picture) == 0;
        });
        return settled && pal::test::keepSnapshot(picture, name);
    }

    pal::gdi::Surface pictureOf(Window w) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy_, w, &a) || a.width <= 0 || a.height <= 0)
            return {};
        XImage* image = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!image)
            return {};
        pal::gdi::Surface picture = pal::gdi::Surface::create(a.width, a.height);
        cairo_surface_flush(picture.get());
        unsigned char* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const auto p = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
                std::memcpy(data + y * stride + x * 4, &p, 4);
            }
        cairo_surface_mark_dirty(picture.get());
        XDestroyImage(image);
        return picture;
    }

    // The designer the drawing's file names; empty while it does not read.
    static std::wstring designerIn(const std::filesystem::path& file) {
        std::wstring error;
        auto document = Dravik::grb::LoadFile(pal::path::fromNative(file), &error);
        return document ? document->Cont2D()->GetTextValue(L"$razrab") : std::wstring();
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
    ASSERT_EQ(titleOf(main), kMain) << "no document yet";
    chord({XK_Control_L}, XK_n);
    EXPECT_TRUE(eventually([&] { return titleOf(main).rfind(std::string(kMain) + " - ", 0) == 0; }))
        << "Ctrl+N opened a document: \"" << titleOf(main) << "\"";
    aboutOpenedAndClosed("with a document");
    chord({XK_Control_L}, XK_F4);
    EXPECT_TRUE(eventually([&] { return titleOf(main) == kMain; }))
        << "Ctrl+F4 closed the document: \"" << titleOf(main) << "\"";
}

TEST_F(ProgramOnX11, TheBackstageClosedByKeysLeavesThePanesTheirOwnPixels) {
    std::vector<unsigned long> before;
    const Window main = started(&before);
    ASSERT_NE(main, 0u);
    keys({XK_Alt_L, XK_f});
    ASSERT_TRUE(eventually([&] { return panes(main) != before; })) << "the backstage covers the panes";
    EXPECT_TRUE(keepPicture(main, "program-backstage-open"));
    keys({XK_Escape});
    const bool restored = eventually([&] { return panes(main) == before; });
    EXPECT_TRUE(keepPicture(main, "program-backstage-closed"));
    EXPECT_TRUE(restored) << "the panes show their own pixels again (see program-backstage-closed.png)";
}

// Ctrl+O comes from the program's accelerator table 1, declared beside it; the open dialog it
// brings lists in its details view, and Escape gives the keyboard back to the main window.
TEST_F(ProgramOnX11, CtrlOOfTheProgramsKeyTableOpensTheFileDialogInItsDetailsView) {
    const Window main = started();
    ASSERT_NE(main, 0u);
    chord({XK_Control_L}, XK_o);
    Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Open")) != 0 && focused() == dialog; }))
        << "the open dialog shows and has the keyboard";
    EXPECT_TRUE(keepPicture(dialog, "x11-open-dialog-details"));
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
    fs::path drawings;
};

TEST_F(ProgramFileDialogOnX11, TheDialogOpensInTheProgramsLastFolderAndATypedBeginningIsCompleted) {
    const Window main = started();
    ASSERT_NE(main, 0u);
    chord({XK_Control_L}, XK_o);
    Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Open")) != 0 && focused() == dialog; }));
    keys({XK_p, XK_l, XK_Return});
    EXPECT_TRUE(eventually([&] { return titled("Open") == 0; })) << "Enter takes the completed name";
    EXPECT_TRUE(eventually([&] { return titleOf(main).find("plan") != std::string::npos; }))
        << "the drawing opens: " << titleOf(main);
}

TEST_F(ProgramOnX11, ADrawingOpenedByKeysIsSavedUndoneRedoneSavedAsAndClosedByKeys) {
    const std::filesystem::path plan = documents() / "plan.grb", copy = documents() / "plan-2.grb";
    std::filesystem::copy_file(binDir() / "Samples" / "sample-a3.grb", plan);
    const std::wstring original = designerIn(plan);
    ASSERT_FALSE(original.empty());
    const Window main = started();
    ASSERT_NE(main, 0u);

    chord({XK_Control_L}, XK_o);
    Window dialog = 0;
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Open")) != 0 && focused() != main; }))
        << "the open dialog takes the keyboard";
    EXPECT_TRUE(keepPicture(dialog, "x11-open-dialog"));
    type("plan.grb");
    keys({XK_Return});
    ASSERT_TRUE(eventually([&] { return titleOf(main).find("plan") != std::string::npos; })) << titleOf(main);
    // A person presses the next keys once the window is active again: until the window manager
    // has given it the keyboard back, keys reach no window.
    ASSERT_TRUE(eventually([&] { return focused() == main; })) << "the main window has the keyboard again";

    // The change a title-block editor makes, through the program's automation server.
    const pal::test::ProgramEnding client =
        pal::test::runProgram(binDir() / "dvserver_client", {"--title-block", plan.string()},
                              root() / "dvserver_client.err", {{"DV_PAL_DISPLAY", "null"}});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    ASSERT_EQ(journal("dvserver.client.answers").size(), 1u);
    EXPECT_EQ(designerIn(plan), original) << "changed, not saved";

    chord({XK_Control_L}, XK_s);
    EXPECT_TRUE(eventually([&] { return designerIn(plan) == L"Сидоров"; })) << "Ctrl+S saved the change";
    chord({XK_Control_L}, XK_z);
    chord({XK_Control_L}, XK_s);
    EXPECT_TRUE(eventually([&] { return designerIn(plan) == original; }))
        << "Ctrl+Z undid it, Ctrl+S saved that";
    chord({XK_Control_L}, XK_y);
    chord({XK_Control_L, XK_Shift_L}, XK_s);
    ASSERT_TRUE(eventually([&] { return (dialog = titled("Save As")) != 0 && focused() != main; }));
    EXPECT_TRUE(keepPicture(dialog, "x11-save-as-dialog"));
    type("plan-2.grb");
    keys({XK_Return});
    EXPECT_TRUE(eventually([&] { return designerIn(copy) == L"Сидоров"; })) << "Ctrl+Y redid it, saved as";
    EXPECT_EQ(designerIn(plan), original);
    ASSERT_TRUE(eventually([&] { return titleOf(main).find("plan-2") != std::string::npos; }))
        << titleOf(main);
    // The key goes to the main window once the closed dialog has given the keyboard back.
    ASSERT_TRUE(eventually([&] { return focused() == main; }));

    chord({XK_Control_L}, XK_F4);
    EXPECT_TRUE(eventually([&] { return titleOf(main).find("plan") == std::string::npos; }))
        << "Ctrl+F4 closed it: " << titleOf(main);
}

// A profile that auto-saves a drawing as soon as it changes.
class ProgramAutoSavingOnX11 : public ProgramOnX11 {
protected:
    void arrange() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                                  L"Software\\Dravik\\DRAVIK CAD 18.0\\Profiles\\Current\\Settings", 0,
                                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring minutes = L"0";
        RegSetValueExW(key, L"AutoSaveMinutes", 0, REG_SZ, reinterpret_cast<const BYTE*>(minutes.c_str()),
                       static_cast<DWORD>((minutes.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
};

TEST_F(ProgramAutoSavingOnX11, TheAutoSaveWindowShowsItsTextWhileTheChangedDrawingIsSaved) {
    const std::filesystem::path plan = documents() / "plan.grb";
    const Window main = startedWithPlan();
    ASSERT_NE(main, 0u);
    const std::wstring original = designerIn(plan);
    const pal::test::ProgramEnding client =
        pal::test::runProgram(binDir() / "dvserver_client", {"--title-block", plan.string()},
                              root() / "dvserver_client.err", {{"DV_PAL_DISPLAY", "null"}});
    ASSERT_EQ(client.exitCode, 0) << client.err;
    ASSERT_TRUE(eventually([&] { return designerIn(plan) == L"Сидоров"; }))
        << "the change was saved at the next idle pass";
    // That save's window keeps the frame disabled for its second, and a key pressed meanwhile is
    // lost: the window may not even be mapped yet when the file is written.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(eventually([&] { return titled("Auto-save") == 0 && focused() == main; }));

    chord({XK_Control_L}, XK_z);
    Window window = 0;
    ASSERT_TRUE(eventually([&] { return (window = titled("Auto-save")) != 0; }));
    // Its text is drawn while it waits out its second: a light face (an X window not painted
    // yet shows black) with dark letters on it.
    const auto painted = [](const pal::gdi::Surface& picture) {
        cairo_surface_flush(picture.get());
        const unsigned char* data = cairo_image_surface_get_data(picture.get());
        const int stride = cairo_image_surface_get_stride(picture.get());
        const int width = cairo_image_surface_get_width(picture.get());
        const int height = cairo_image_surface_get_height(picture.get());
        int dark = 0, light = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned char* p = data + y * stride + x * 4;
                const int sum = p[0] + p[1] + p[2];
                dark += sum < 200 ? 1 : 0;
                light += sum > 500 ? 1 : 0;
            }
        return dark > 50 && light > width * height / 2;
    };
    pal::gdi::Surface picture;
    EXPECT_TRUE(eventually([&] { return (picture = pictureOf(window)) && painted(picture); }))
        << "the window shows its text, not a blank face";
    if (picture)
        pal::test::keepSnapshot(picture, "x11-auto-save-window");
    EXPECT_TRUE(eventually([&] { return designerIn(plan) == original; })) << "the undone change was saved";
}

// The X server dies with a changed drawing open: nobody can be asked, so the drawing is kept as a
// recovery copy on the crash-recovery list before the program ends, and the next start opens it.
TEST_F(ProgramOnX11, ADisplayThatDiesLeavesTheChangedDrawingForTheNextStart) {
    const std::filesystem::path plan = documents() / "plan.grb";
    ASSERT_NE(startedWithPlan(), 0u);
    const std::wstring original = designerIn(plan);
    const pal::test::ProgramEnding client =
        pal::test::runProgram(binDir() / "dvserver_client", {"--title-block", plan.string()},
                              root() / "dvserver_client.err", {{"DV_PAL_DISPLAY", "null"}});
    ASSERT_EQ(client.exitCode, 0) << client.err;

    XCloseDisplay(dpy_); // this test's own connection would end the test with the server
    dpy_ = nullptr;
    server_.stop();
    int status = 0;
    ASSERT_TRUE(eventually([&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) << "the program ended";
    pid_ = 0;
    const std::filesystem::path copy = documents() / "plan.grb.err";
    EXPECT_EQ(designerIn(copy), L"Сидоров") << "the change is kept beside its drawing";
    EXPECT_EQ(designerIn(plan), original) << "and the drawing is as it was saved";
    const auto listed = [] {
        wchar_t path[1024] = {};
        DWORD size = sizeof path;
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Dravik\\DRAVIK CAD 18.0\\ErrorRestore", L"0",
                     RRF_RT_REG_SZ, nullptr, path, &size);
        return pal::path::toNative(path);
    };
    EXPECT_EQ(listed(), copy);

    allowUnansweredPrompts = true; // the unattended start asks about the recovered drawing
    const pal::test::ProgramEnding next =
        pal::test::runProgram(binDir() / "DravikCad", {}, root() / "next.err",
                              {{"DV_PAL_DISPLAY", "null"}, {"DV_PAL_SNAPSHOTS", std::nullopt}});
    EXPECT_EQ(next.exitCode, 0) << next.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(next.err, match, std::regex("the log of this run is ([^\n]+)")))
        << next.err;
    const std::string log = pal::test::readFile(match[1].str());
    EXPECT_NE(log.find("plan.grb\" from its copy"), std::string::npos) << log;
    EXPECT_EQ(listed(), std::filesystem::path()) << "the list was read";
}

TEST_F(ProgramOnX11, TheMainWindowHasOneFrameAndTheProgramsNameAndIcon) {
    const Window main = started();
    ASSERT_NE(main, 0u);
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
    EXPECT_TRUE(pal::test::keepScreen(dpy_, "x11-main-window"));
}

TEST_F(ProgramOnX11, TheAboutBoxIsADialogOfTheMainWindowCentredOnIt) {
    const Window main = started();
    ASSERT_NE(main, 0u);
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

// The element-name box of the Edit tab, reached through the key tips: a name typed there and
// Enter select the element of that name, which the view then draws in its highlight colour.
TEST_F(ProgramOnX11, ANameTypedInTheFindBoxWithEnterSelectsTheElementInTheView) {
    const Window main = startedWithPlan();
    ASSERT_NE(main, 0u);
    // The highlight colour of the kernel's view, as the X server shows it.
    const auto highlighted = [&] {
        const pal::gdi::Surface shown = pictureOf(main);
        if (!shown)
            return -1;
        cairo_surface_flush(shown.get());
        const unsigned char* data = cairo_image_surface_get_data(shown.get());
        const int stride = cairo_image_surface_get_stride(shown.get());
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                count += (*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF) ==
                         0x0078D7;
        return count;
    };
    int before = -1;
    ASSERT_TRUE(eventually([&] {
        const int first = highlighted();
        before = highlighted();
        return before >= 0 && first == before;
    }));
    keys({XK_Alt_L});
    keys(kEditTabTip);
    EXPECT_TRUE(keepPicture(main, "x11-edit-tab-key-tips"));
    keys(kFindBoxTip);
    // The field shows its caret before the name is typed, and the name before Enter.
    EXPECT_TRUE(keepPicture(main, "x11-find-box-focused"));
    const pal::gdi::Surface focusedPicture = pictureOf(main);
    type("bore");
    EXPECT_TRUE(eventually([&] {
        const pal::gdi::Surface now = pictureOf(main);
        return now && pal::test::differingPixels(focusedPicture, now) > 0;
    }));
    EXPECT_TRUE(keepPicture(main, "x11-find-box-typed"));
    keys({XK_Return});
    EXPECT_TRUE(eventually([&] { return highlighted() > before + 100; }))
        << "the bore is drawn selected: " << before << " highlighted pixels before";
    EXPECT_TRUE(keepPicture(main, "x11-find-box-selected"));
    EXPECT_TRUE(eventually([&] { return focused() == main; })) << "the main window has the keys again";
}

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
    const Window main = started();
    ASSERT_NE(main, 0u);
    pal::gdi::Surface before;
    ASSERT_TRUE(eventually([&] {
        const pal::gdi::Surface first = pictureOf(main);
        before = pictureOf(main);
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
        const pal::gdi::Surface first = pictureOf(list);
        listPicture = pictureOf(list);
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
        const pal::gdi::Surface first = pictureOf(bars);
        barsPicture = pictureOf(bars);
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
        const pal::gdi::Surface first = pictureOf(themes);
        themesPicture = pictureOf(themes);
        return themesPicture.get() != nullptr && pal::test::differingPixels(first, themesPicture) == 0;
    }));
    EXPECT_TRUE(pal::test::keepSnapshot(themesPicture, "x11-classic-themes"));

    // The last theme taken: the popups close and the whole window shows it.
    keys({XK_Up, XK_Return});
    EXPECT_TRUE(eventually([&] { return newPopup(shown) == 0; })) << "choosing a theme closes the popups";
    // The variables pane, white in the first theme, takes the dark one's colour.
    const auto paneColour = [](const pal::gdi::Surface& shot) {
        cairo_surface_flush(shot.get());
        const unsigned char* data = cairo_image_surface_get_data(shot.get());
        const int stride = cairo_image_surface_get_stride(shot.get());
        return reinterpret_cast<const uint32_t*>(data + 890 * stride)[150] & 0xFFFFFFu;
    };
    pal::gdi::Surface after;
    EXPECT_TRUE(eventually([&] {
        const pal::gdi::Surface first = pictureOf(main);
        after = pictureOf(main);
        return after.get() != nullptr && pal::test::differingPixels(first, after) == 0 &&
               paneColour(after) != paneColour(before) && newPopup(shown) == 0;
    })) << "the window shows the theme";
    EXPECT_TRUE(pal::test::keepSnapshot(after, "x11-classic-frame-last-theme"));
}

// The File menu as a person opens it by keys, in a first session and in the next one, which loads
// the layout the first one kept: without a PDM system neither offers the PDM commands (saving
// into the PDM, as an assembly, as a revision), and the two menus are alike.
TEST_F(ClassicProgramOnX11, TheFileMenuOffersNoPdmCommandsInTheFirstSessionOrTheNext) {
    const auto fileMenuHeight = [&](const std::string& picture) {
        const Window main = started();
        EXPECT_NE(main, 0u);
        const std::vector<Window> shown = topLevel();
        keys({XK_Alt_L, XK_f});
        Window file = 0;
        EXPECT_TRUE(eventually([&] { return (file = newPopup(shown)) != 0; }))
            << "Alt, F opens the File menu";
        if (file == 0)
            return 0;
        EXPECT_TRUE(keepPicture(file, picture));
        XWindowAttributes a{};
        XGetWindowAttributes(dpy_, file, &a);
        keys({XK_Escape, XK_Escape});
        EXPECT_TRUE(eventually([&] { return newPopup(shown) == 0; }));
        return a.height;
    };
    const int first = fileMenuHeight("x11-file-menu-first-session");
    ASSERT_GT(first, 0);
    // The program ends as a person ends it, keeping its state.
    chord({XK_Alt_L}, XK_F4);
    ASSERT_TRUE(eventually([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }))
        << "Alt+F4 ends the program";
    pid_ = 0;
    start();
    const int next = fileMenuHeight("x11-file-menu-next-session");
    ASSERT_GT(next, 0);
    EXPECT_EQ(next, first) << "the same commands in both sessions";
}

// The caption buttons the ribbon draws at the top right of the main window: a person maximises
// the window there and, as soon as it shows maximised, restores it with the same button; the
// window comes back to the rectangle it had, however often that is done.
// A click that comes while the frame lays itself out for its new size still finds the ribbon's
// button: the frame's client never covers the bars on its way to its place.
TEST_F(ProgramOnX11, RestoreClickedAtOnceAfterMaximisingBringsTheWindowBack) {
    const Window main = started();
    ASSERT_NE(main, 0u);
    XWindowAttributes screen{};
    XGetWindowAttributes(dpy_, DefaultRootWindow(dpy_), &screen);
    // The rectangle of the window once two looks in a row agree and `done` holds for it.
    const auto settled = [&](RECT& r, const auto& done) {
        return eventually([&] {
            const RECT first = onScreen(main);
            r = onScreen(main);
            return EqualRect(&first, &r) && done(r);
        });
    };
    // A point in the caption's second button from the right, below the window's sizing edge.
    const auto middleButton = [](const RECT& r) { return POINT{r.right - 46 - 23, r.top + 10}; };
    const auto width = [](const RECT& r) { return r.right - r.left; };
    const auto height = [](const RECT& r) { return r.bottom - r.top; };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        RECT normal{};
        ASSERT_TRUE(settled(normal, [&](const RECT& r) { return width(r) < screen.width; }));
        const POINT maximise = middleButton(normal);
        pal::test::clickAt(dpy_, maximise.x, maximise.y);
        RECT maximised{};
        ASSERT_TRUE(settled(maximised, [&](const RECT& r) { return width(r) > width(normal); }))
            << "the caption button maximises the window";
        const POINT restore = middleButton(maximised);
        pal::test::clickAt(dpy_, restore.x, restore.y);
        RECT restored{};
        EXPECT_TRUE(settled(restored, [&](const RECT& r) {
            return width(r) == width(normal) && height(r) == height(normal);
        })) << "the Restore button brings the normal rectangle back";
    }
}

// A person opens the find-command pane from the list of panes by keys and types into its search
// box: the pane takes the keyboard as it opens, and the list follows each key.
TEST_F(ProgramOnX11, TheFindCommandPaneOpenedFromThePanesListTakesTheKeysAndFiltersOnEachOne) {
    const Window main = startedWithPlan();
    ASSERT_NE(main, 0u);
    // The pointer out of the way: over a popup it would choose the item under it.
    XTestFakeMotionEvent(dpy_, 0, 2, DisplayHeight(dpy_, DefaultScreen(dpy_)) - 2, CurrentTime);
    const auto popupShown = [&] {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        bool shown = false;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !shown; ++i) {
                XWindowAttributes a{};
                shown = XGetWindowAttributes(dpy_, children[i], &a) && a.override_redirect &&
                        a.map_state == IsViewable && a.height > 200;
            }
            XFree(children);
        }
        return shown;
    };
    // The 3D Assembly tab's key tip, then its list of panes, which opens on its first item,
    // "Analysis results"; "Find a command" is the twelfth.
    keys({XK_Alt_L});
    keys({XK_3, XK_2});
    keys({XK_p, XK_3});
    ASSERT_TRUE(eventually(popupShown)) << "the list of panes opens";
    for (int i = 0; i < 11; ++i)
        keys({XK_Down});
    keys({XK_Return});
    Window pane = 0;
    ASSERT_TRUE(eventually([&] { return (pane = titled("Find a command")) != 0; }))
        << "the pane floats in a frame of its own";
    ASSERT_TRUE(keepPicture(pane, "x11-find-command-opened"));
    pal::gdi::Surface before = pictureOf(pane);
    for (const char* key : {"s", "a", "v"}) {
        SCOPED_TRACE(key);
        type(key);
        EXPECT_TRUE(eventually([&] {
            const pal::gdi::Surface now = pictureOf(pane);
            return now && pal::test::differingPixels(before, now) > 0;
        })) << "the box and its list change with the key";
        // Settled before the next key.
        ASSERT_TRUE(keepPicture(pane, std::string("x11-find-command-typed-") + key));
        before = pictureOf(pane);
    }

    // "save a" lists "Save a copy" first, which lives in the popup of the File group's Save: the
    // list's menu shows it there, its popup open and the pointer on it.
    type("e a");
    ASSERT_TRUE(keepPicture(pane, "x11-find-command-save-a"));
    const RECT frame = onScreen(pane);
    const POINT firstRow{frame.left + 150, frame.top + 90};
    pal::test::clickAt(dpy_, firstRow.x, firstRow.y);
    pal::test::clickAt(dpy_, firstRow.x, firstRow.y, 3);
    ASSERT_TRUE(eventually([&] {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        bool menu = false;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !menu; ++i) {
                XWindowAttributes a{};
                menu = XGetWindowAttributes(dpy_, children[i], &a) && a.override_redirect &&
                       a.map_state == IsViewable;
            }
            XFree(children);
        }
        return menu;
    })) << "the list's menu opens";
    keys({XK_Down, XK_Down, XK_Return}); // its second item, "Show where it is"
    const auto pointer = [&] {
        Window root = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        XQueryPointer(dpy_, DefaultRootWindow(dpy_), &root, &child, &x, &y, &wx, &wy, &mask);
        return POINT{x, y};
    };
    // The pointer rests on the item inside the opened popup, a window of its own over the ribbon.
    Window popup = 0;
    EXPECT_TRUE(eventually([&] {
        const POINT at = pointer();
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        popup = 0;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && popup == 0; ++i) {
                XWindowAttributes a{};
                if (XGetWindowAttributes(dpy_, children[i], &a) && a.override_redirect &&
                    a.map_state == IsViewable && at.x >= a.x && at.x < a.x + a.width && at.y >= a.y &&
                    at.y < a.y + a.height && a.y < frame.top)
                    popup = children[i];
            }
            XFree(children);
        }
        return popup != 0;
    })) << "the pointer is at "
        << pointer().x << "," << pointer().y;
    EXPECT_TRUE(keepPicture(DefaultRootWindow(dpy_), "x11-find-command-located"));
    keys({XK_Escape, XK_Escape});
}

// A drawing dragged from a file manager and dropped on the main window opens there: the frame's
// drop target takes only library data, and the file list comes to the frame as dropped files.
TEST_F(ProgramOnX11, ADrawingDroppedFromTheDesktopOnTheMainWindowOpens) {
    const std::filesystem::path plan = documents() / "dropped plan.grb";
    std::filesystem::copy_file(binDir() / "Samples" / "sample-a3.grb", plan);
    std::string uri = "file://";
    for (const unsigned char c : plan.string()) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", c);
        uri += std::isalnum(c) || std::strchr("/-_.", c) ? std::string(1, static_cast<char>(c)) : escaped;
    }
    const Window main = started();
    ASSERT_NE(main, 0u);
    // The middle of the window, where no document is open yet.
    const RECT r = onScreen(main);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    pal::test::Peer source((binDir() / "dvpal_ole_x11_dnd_source").string(),
                           {server_.name(), kMain, std::to_string(at.x), std::to_string(at.y), uri + "\r\n"});
    ASSERT_TRUE(eventually([&] { return source.ended(); }));
    EXPECT_EQ(source.heard(), "status 1 XdndActionCopy\nfinished 1 XdndActionCopy\n");
    EXPECT_TRUE(eventually([&] { return titleOf(main).find("dropped plan") != std::string::npos; }))
        << titleOf(main);
    EXPECT_TRUE(keepPicture(main, "x11-dropped-drawing"));
}

// DravikCad with the bundled sample add-on installed for the person: the add-on's own command
// (of the block the program keeps for add-ons) runs from its entry in the ribbon's backstage,
// clicked, and its box is answered with the keyboard.
class ProgramWithSampleAddOnOnX11 : public ProgramOnX11 {
protected:
    void arrange() override {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                                  L"Software\\Dravik\\DRAVIK CAD 18.0\\Applications\\Sample", 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const auto text = [&](const wchar_t* name, const std::wstring& value) {
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        };
        text(L"Name", L"Sample");
        text(L"Path", L"DVSampleApplication.dll");
        const DWORD automatic = 2;
        RegSetValueExW(key, L"Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&automatic),
                       sizeof automatic);
        RegCloseKey(key);
    }
};

TEST_F(ProgramWithSampleAddOnOnX11, TheAddOnsOwnCommandRunsFromItsBackstageEntryClicked) {
    std::vector<unsigned long> before;
    const Window main = started(&before);
    ASSERT_NE(main, 0u);
    keys({XK_Alt_L, XK_f});
    ASSERT_TRUE(eventually([&] { return panes(main) != before; })) << "the backstage opens";
    EXPECT_TRUE(keepPicture(main, "program-sample-add-on-backstage"));
    // The add-on's "Greet" entry, below its "Say hello" and above the recent files.
    const RECT frame = onScreen(main);
    pal::test::clickAt(dpy_, frame.left + kGreetEntry.x, frame.top + kGreetEntry.y);
    Window box = 0;
    ASSERT_TRUE(eventually([&] { return (box = focused()) != main && box != 0 && titleOf(box) == kMain; }))
        << "the add-on's box takes the keyboard";
    keys({XK_Return});
    ASSERT_TRUE(eventually([&] { return focused() == main; })) << "Enter closes the box";
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].get("text"), "The sample add-on ran its own command.");
    EXPECT_EQ(prompts[0].get("by"), "input");
}

} // namespace
