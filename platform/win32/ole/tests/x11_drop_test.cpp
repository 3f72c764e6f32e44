// Files dragged between this program and another on a real X11 display (an Xvfb of the test's
// own) with the desktop's drag-and-drop protocol: a small drag source of the test's own drags a
// file list over this program's windows, and files dragged out of this program are dropped on
// a small drop target of the test's own.
#include "pal/test/pump.h"
#include "pal/test/user_test.h"
#include "test_objects.h"
#include "win/ole.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using pal::test::eventually;

struct Dropped {
    static inline std::vector<std::wstring> files;
    static inline int drops = 0;
    static inline std::function<void()> onPress; // a drag out of the window, say
    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN && onPress) {
            onPress();
            return 0;
        }
        if (message == WM_DROPFILES) {
            auto drop = reinterpret_cast<HDROP>(wParam);
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                wchar_t path[512] = {};
                DragQueryFileW(drop, i, path, 512);
                files.emplace_back(path);
            }
            DragFinish(drop);
            ++drops;
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

class X11Drop : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = pal::test::showOn(server_);
        ASSERT_NE(observer_, nullptr);
        Dropped::files.clear();
        Dropped::drops = 0;
        Dropped::onPress = nullptr;
        WNDCLASSW wc{};
        wc.lpfnWndProc = Dropped::proc;
        wc.lpszClassName = L"DropSite";
        RegisterClassW(&wc);
    }
    void TearDown() override {
        Dropped::onPress = nullptr;
        pal::test::closeOwnDisplay(server_, observer_);
        UserTest::TearDown();
    }

    HWND show(const wchar_t* title, RECT r) {
        HWND h = CreateWindowExW(0, L"DropSite", title, WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(h, SW_SHOWNORMAL);
        EXPECT_TRUE(eventually([&] {
            pal::test::pump();
            return pal::test::findViewable(observer_, DefaultRootWindow(observer_),
                                           std::string(title, title + wcslen(title)), 2) != 0;
        }));
        return h;
    }

    // Drags the URIs from another program to the window titled `title`, at a screen point; what
    // the source heard back ("status 1 XdndActionCopy\nfinished 1 XdndActionCopy\n").
    std::string drag(const std::string& title, POINT at, const std::string& uris) {
        pal::test::Peer source((binDir() / "dvpal_ole_x11_dnd_source").string(),
                               {server_.name(), title, std::to_string(at.x), std::to_string(at.y), uris});
        // This program answers on its own thread, so it pumps while the source waits.
        const bool ended = eventually([&] {
            pal::test::pump();
            return source.ended();
        });
        return ended ? source.heard() : "no end: " + source.heard();
    }

    pal::test::Xvfb server_;
    Display* observer_ = nullptr;
};

TEST_F(X11Drop, FilesDroppedOnAWindowThatAcceptsThemArriveAsItsDroppedFiles) {
    HWND h = show(L"Takes files", RECT{100, 100, 500, 400});
    DragAcceptFiles(h, TRUE);
    POINT at{200, 200};
    ClientToScreen(h, &at);
    const std::string heard =
        drag("Takes files", at, "file:///srv/parts/bracket%20A.dvd\r\nfile:///srv/parts/plate.dvd\r\n");
    EXPECT_EQ(heard, "status 1 XdndActionCopy\nfinished 1 XdndActionCopy\n");
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return Dropped::drops == 1;
    }));
    EXPECT_EQ(Dropped::files,
              (std::vector<std::wstring>{L"/srv/parts/bracket A.dvd", L"/srv/parts/plate.dvd"}));
}

TEST_F(X11Drop, ADropNoWindowTakesIsRefusedAndChangesNothing) {
    HWND h = show(L"Takes nothing", RECT{100, 100, 500, 400});
    POINT at{200, 200};
    ClientToScreen(h, &at);
    EXPECT_EQ(drag("Takes nothing", at, "file:///srv/parts/plate.dvd\r\n"), "status 0 none\n");
    pal::test::pump();
    EXPECT_EQ(Dropped::drops, 0);
}

} // namespace

namespace {

// Files dragged out of this program and dropped on another program's window that takes files,
// as a file manager's folder does; or over one that refuses them.
TEST_F(X11Drop, FilesDraggedOutOfThisProgramReachAnotherProgramAsAUriListOrAreRefused) {
    struct Case {
        const char* mode;
        HRESULT result;
        DWORD effect;
        std::string heard; // by the other program
    } cases[] = {
        {"take", DRAGDROP_S_DROP, DROPEFFECT_COPY,
         "ready\ndropped file:///srv/parts/bracket%20A.dvd\r\nfile:///srv/parts/plate.dvd\r\n\n"},
        {"refuse", DRAGDROP_S_CANCEL, DROPEFFECT_NONE, "ready\nleft\n"},
    };
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    HWND h = show(L"Drags files", RECT{100, 100, 400, 300});
    POINT press{150, 150};
    ClientToScreen(h, &press);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        pal::test::Peer folder((binDir() / "dvpal_ole_x11_dnd_target").string(),
                               {server_.name(), "Folder", "700", "100", "400", "300", c.mode});
        ASSERT_TRUE(eventually([&] { return folder.heard() == "ready\n"; })) << folder.heard();
        auto* data = new oletest::TestData;
        data->add(CF_HDROP, oletest::fileList({L"/srv/parts/bracket A.dvd", L"/srv/parts/plate.dvd"}));
        auto* source = new oletest::TestSource;
        // The pointer goes over the other program's window and lets go there; each step is
        // taken once the drag has seen the one before.
        const auto move = [&](int x, int y) {
            return [this, x, y] {
                XTestFakeMotionEvent(observer_, 0, x, y, CurrentTime);
                XFlush(observer_);
            };
        };
        source->script = {move(800, 200), move(820, 220), [this] {
                              XTestFakeButtonEvent(observer_, 1, False, CurrentTime);
                              XFlush(observer_);
                          }};
        HRESULT result = E_FAIL;
        DWORD effect = 0xDEAD;
        bool done = false;
        Dropped::onPress = [&] {
            result = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
            done = true;
        };
        XTestFakeMotionEvent(observer_, 0, press.x, press.y, CurrentTime);
        XTestFakeButtonEvent(observer_, 1, True, CurrentTime);
        XFlush(observer_);
        ASSERT_TRUE(eventually([&] {
            pal::test::pump();
            return done;
        })) << "the drag ends";
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(effect, c.effect);
        EXPECT_TRUE(eventually([&] { return folder.ended(); }));
        EXPECT_EQ(folder.heard(), c.heard);
        Dropped::onPress = nullptr;
        source->Release();
        data->Release();
    }
    OleUninitialize();
}

} // namespace
