// Files dragged from another program on a real X11 display (an Xvfb of the test's own) with the
// desktop's drag-and-drop protocol: a small drag source of the test's own drags a file list over
// this program's windows.
#include "pal/test/pump.h"
#include "pal/test/user_test.h"
#include "win/ole.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using pal::test::eventually;

struct Dropped {
    static inline std::vector<std::wstring> files;
    static inline int drops = 0;
    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
        WNDCLASSW wc{};
        wc.lpfnWndProc = Dropped::proc;
        wc.lpszClassName = L"DropSite";
        RegisterClassW(&wc);
    }
    void TearDown() override {
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
        int out[2];
        if (pipe(out) != 0)
            return "no pipe";
        fcntl(out[0], F_SETFL, O_NONBLOCK);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string program = (binDir() / "dvpal_ole_x11_dnd_source").string();
        std::vector<std::string> args = {
            program, server_.name(), title, std::to_string(at.x), std::to_string(at.y), uris};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const bool started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string heard;
        // This program answers on its own thread, so it pumps while the source waits.
        const bool ended = started && eventually([&] {
                               pal::test::pump();
                               char buffer[256];
                               ssize_t n = 0;
                               while ((n = ::read(out[0], buffer, sizeof buffer)) > 0)
                                   heard.append(buffer, static_cast<size_t>(n));
                               return n == 0;
                           });
        close(out[0]);
        if (started)
            waitpid(pid, nullptr, 0);
        return ended ? heard : "no end: " + heard;
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
