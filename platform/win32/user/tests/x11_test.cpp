// Windows on a real X11 display: each test starts its own Xvfb, points the window layer at it,
// and looks at the result the way another X client would (reading pixels back, injecting input
// with XTEST, resizing and closing windows from outside).
#include "pal/test/user_test.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using pal::test::askWindowManager;
using pal::test::click;
using pal::test::clickAt;
using pal::test::eventually;
using pal::test::WindowManager;
using pal::test::Xvfb;

// What a test window heard, and what it paints: the left half red, the right half blue.
struct Heard {
    static inline std::vector<MSG> messages;
    static inline std::wstring typed;
    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        messages.push_back(MSG{hwnd, message, wParam, lParam, 0, {}});
        if (message == WM_CHAR)
            typed += static_cast<wchar_t>(wParam);
        if (message == WM_PAINT) {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r{};
            GetClientRect(hwnd, &r);
            RECT left = r, right = r;
            left.right = right.left = r.right / 2;
            HBRUSH red = CreateSolidBrush(RGB(200, 30, 40)), blue = CreateSolidBrush(RGB(20, 60, 210));
            FillRect(dc, &left, red);
            FillRect(dc, &right, blue);
            DeleteObject(red);
            DeleteObject(blue);
            EndPaint(hwnd, &ps);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static const MSG* last(UINT message) {
        for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
            if (it->message == message)
                return &*it;
        }
        return nullptr;
    }
};

class X11Test : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = pal::test::showOn(server_);
        ASSERT_NE(observer_, nullptr);
        Heard::messages.clear();
        Heard::typed.clear();
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Heard::proc;
        wc.lpszClassName = L"DrawingView";
        RegisterClassW(&wc);
    }
    void TearDown() override {
        pal::test::closeOwnDisplay(server_, observer_);
        UserTest::TearDown();
    }

    HWND showWindow(const wchar_t* title, RECT client) {
        RECT r = client;
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        HWND h = CreateWindowExW(0, L"DrawingView", title, WS_OVERLAPPEDWINDOW, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(h, SW_SHOWNORMAL);
        pal::test::pump();
        return h;
    }

    // The X11 window with this title, once it is on screen (under a window manager's frame or not).
    Window findWindow(const std::string& title) {
        Window found = 0;
        eventually([&] {
            pal::test::pump();
            found = pal::test::findViewable(observer_, DefaultRootWindow(observer_), title, 4);
            return found != 0;
        });
        return found;
    }

    // Asks the window manager to activate a window, as a taskbar does.
    void activateFromOutside(Window xid) {
        askWindowManager(observer_, xid, "_NET_ACTIVE_WINDOW", 2); // from a pager
    }

    POINT rootPosition(Window xid) {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(observer_, xid, DefaultRootWindow(observer_), 0, 0, &x, &y, &child);
        return POINT{x, y};
    }

    // Whether the X11 window's pixels equal the window's surface.
    bool screenMatchesSurface(HWND h, Window xid, std::string& diff) {
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        XImage* image = XGetImage(observer_, xid, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
        if (!image) {
            diff = "no image";
            return false;
        }
        HDC dc = GetDC(h);
        bool same = true;
        for (int y = 0; y < a.height && same; y += 3) {
            for (int x = 0; x < a.width && same; x += 3) {
                const unsigned long p = XGetPixel(image, x, y);
                const COLORREF screen = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                const COLORREF surface = GetPixel(dc, x, y);
                if (screen != surface) {
                    diff = "at " + std::to_string(x) + "," + std::to_string(y) + " screen " +
                           std::to_string(screen) + " surface " + std::to_string(surface);
                    same = false;
                }
            }
        }
        ReleaseDC(h, dc);
        XDestroyImage(image);
        return same;
    }
    // Whether the screen comes to show the window's surface.
    bool showsSurface(HWND h, Window xid, std::string& diff) {
        return eventually([&] {
            pal::test::pump();
            return screenMatchesSurface(h, xid, diff);
        });
    }

    bool heard(UINT message) {
        return eventually([&] {
            pal::test::pump();
            return Heard::last(message) != nullptr;
        });
    }

    Xvfb server_;
    Display* observer_ = nullptr;
};

TEST_F(X11Test, AShownWindowAppearsWithItsTitleClassAndSize) {
    // The monitors are the server's.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    HWND h = showWindow(L"Drawing 1", RECT{100, 80, 500, 380});
    const Window xid = findWindow("Drawing 1");
    ASSERT_NE(xid, 0u);
    XWindowAttributes a{};
    XGetWindowAttributes(observer_, xid, &a);
    EXPECT_EQ(a.width, 400);
    EXPECT_EQ(a.height, 300);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(observer_, xid, DefaultRootWindow(observer_), 0, 0, &x, &y, &child);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(x, origin.x);
    EXPECT_EQ(y, origin.y);
    XClassHint cls{};
    ASSERT_TRUE(XGetClassHint(observer_, xid, &cls));
    // Task bars group the program's windows by its name; the instance is the kind of window.
    EXPECT_STREQ(cls.res_name, "DrawingView");
    EXPECT_STREQ(cls.res_class, "Dvpal_user_x11_tests");
    const auto pid =
        pal::test::property32(observer_, xid, XInternAtom(observer_, "_NET_WM_PID", False), XA_CARDINAL, 1);
    ASSERT_EQ(pid.size(), 1u);
    EXPECT_EQ(pid[0], static_cast<long>(getpid()));
    XFree(cls.res_name);
    XFree(cls.res_class);
    // The class's icon is the window manager's to show.
    SendMessageW(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_APPLICATION)));
    const Atom iconAtom = XInternAtom(observer_, "_NET_WM_ICON", False);
    std::vector<long> icon;
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        icon = pal::test::property32(observer_, xid, iconAtom, XA_CARDINAL, 1 << 16);
        return !icon.empty();
    }));
    ASSERT_GE(icon.size(), 2u + 16 * 16);
    EXPECT_EQ(icon[0], 16);
    EXPECT_EQ(icon[1], 16);
    EXPECT_EQ((static_cast<unsigned long>(icon[2 + 8 * 16 + 8]) >> 24) & 0xFF, 0xFFu)
        << "the middle of the icon is opaque";
    // A new title reaches the X11 window.
    SetWindowTextW(h, L"Drawing 2");
    EXPECT_NE(findWindow("Drawing 2"), 0u);
}

TEST_F(X11Test, ScreenPixelsAreTheWindowSurface) {
    HWND h = showWindow(L"Pixels", RECT{40, 40, 360, 280});
    const Window xid = findWindow("Pixels");
    ASSERT_NE(xid, 0u);
    std::string diff;
    EXPECT_TRUE(showsSurface(h, xid, diff)) << diff;
    HDC dc = GetDC(h);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(200, 30, 40));
    EXPECT_EQ(GetPixel(dc, 300, 10), RGB(20, 60, 210));
    ReleaseDC(h, dc);
    // Another client's window covers it and goes: what it uncovers is shown again from the surface.
    const Window cover =
        XCreateSimpleWindow(observer_, DefaultRootWindow(observer_), 20, 20, 300, 200, 0, 0, 0xFFFFFF);
    XSetWindowAttributes a{};
    a.override_redirect = True;
    XChangeWindowAttributes(observer_, cover, CWOverrideRedirect, &a);
    XMapRaised(observer_, cover);
    XSync(observer_, False);
    XDestroyWindow(observer_, cover);
    XSync(observer_, False);
    EXPECT_TRUE(showsSurface(h, xid, diff)) << diff;
}

TEST_F(X11Test, MonitorsWorkAreaAndDpiComeFromTheServer) {
    // What a desktop would have set: a panel at the bottom and a font resolution.
    const long work[] = {0, 0, 1280, 990};
    XChangeProperty(observer_, DefaultRootWindow(observer_), XInternAtom(observer_, "_NET_WORKAREA", False),
                    XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(work), 4);
    const std::string resources = "Xft.dpi:\t144\n";
    XChangeProperty(observer_, DefaultRootWindow(observer_), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(observer_, False);
    ASSERT_TRUE(pal::detail::useDisplay("x11:" + server_.name()));
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(info.rcMonitor.right, 1280);
    EXPECT_EQ(info.rcMonitor.bottom, 1024);
    EXPECT_EQ(info.rcWork.bottom, 990);
    EXPECT_EQ(GetDpiForSystem(), 144u);
}

// A program on a screen asks for its monitor before it shows any window (to size its main window
// to it): it learns the screen's, not a virtual one.
TEST_F(X11Test, AProgramsFirstQuestionOfItsMonitorIsAnsweredByTheScreen) {
    const long work[] = {0, 0, 1280, 990};
    XChangeProperty(observer_, DefaultRootWindow(observer_), XInternAtom(observer_, "_NET_WORKAREA", False),
                    XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(work), 4);
    XSync(observer_, False);
    const std::string program = (binDir() / "dvpal_user_monitor_child").string();
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "DV_PAL_DISPLAY=", 15) != 0)
            env.emplace_back(*e);
    env.push_back("DISPLAY=" + server_.name());
    env.push_back("DV_PAL_DISPLAY=x11");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    ASSERT_EQ(spawned, 0);
    std::string printed;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(printed, "0 0 1280 1024 / 0 0 1280 990\n");
}

TEST_F(X11Test, AnInjectedClickArrivesAsButtonMessagesAtItsClientPoint) {
    HWND h = showWindow(L"Click", RECT{200, 150, 600, 450});
    ASSERT_NE(findWindow("Click"), 0u);
    clickAt(observer_, 200 + 37, 150 + 45);
    ASSERT_TRUE(heard(WM_LBUTTONUP));
    const MSG* down = Heard::last(WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->hwnd, h);
    EXPECT_EQ(LOWORD(down->lParam), 37);
    EXPECT_EQ(HIWORD(down->lParam), 45);
    // A second click soon after and near the first is a double click.
    click(observer_);
    EXPECT_TRUE(heard(WM_LBUTTONDBLCLK));
    // The wheel turns as WM_MOUSEWHEEL, a notch up being +120.
    click(observer_, 4);
    ASSERT_TRUE(heard(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<SHORT>(HIWORD(Heard::last(WM_MOUSEWHEEL)->wParam)), 120);
}

TEST_F(X11Test, InjectedKeysArriveWithKeyCodesAndTypeTextIncludingCyrillic) {
    HWND h = showWindow(L"Keys", RECT{100, 100, 400, 300});
    const Window xid = findWindow("Keys");
    ASSERT_NE(xid, 0u);
    SetFocus(h);
    XSetInputFocus(observer_, xid, RevertToParent, CurrentTime);
    const pal::test::CyrillicKeys cyrillic(observer_);
    auto tap = [&](KeyCode code, bool shifted) { pal::test::tapKey(observer_, code, shifted); };
    tap(XKeysymToKeycode(observer_, XK_a), true);
    tap(XKeysymToKeycode(observer_, XK_1), false);
    tap(cyrillic.zhe, true);
    tap(cyrillic.u, false);
    tap(cyrillic.ka, false);
    XFlush(observer_);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return Heard::typed.size() >= 5;
    }));
    EXPECT_EQ(Heard::typed, L"A1\u0416\u0443\u043a");
    // The keys themselves carry the platform's codes: 'A' on the A key, scan code 0x1E.
    const MSG* first = nullptr;
    for (const MSG& m : Heard::messages) {
        if (m.message == WM_KEYDOWN && m.wParam == 'A') {
            first = &m;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ((first->lParam >> 16) & 0xFF, 0x1E);
    bool sawE = false;
    for (const MSG& m : Heard::messages)
        sawE = sawE || (m.message == WM_KEYDOWN && m.wParam == 'E');
    EXPECT_TRUE(sawE) << "the key under Cyrillic u is the E key";
}

TEST_F(X11Test, ThePointerLeavingTheWindowGivesWmMouseLeave) {
    HWND h = showWindow(L"Leave", RECT{100, 100, 300, 250});
    ASSERT_NE(findWindow("Leave"), 0u);
    XTestFakeMotionEvent(observer_, 0, 150, 150, CurrentTime);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_MOUSEMOVE));
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, h, 0};
    ASSERT_TRUE(TrackMouseEvent(&track));
    XTestFakeMotionEvent(observer_, 0, 900, 800, CurrentTime);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_MOUSELEAVE));
    EXPECT_EQ(Heard::last(WM_MOUSELEAVE)->hwnd, h);
}

TEST_F(X11Test, TheCaptureFollowsThePointerOutsideTheWindow) {
    HWND h = showWindow(L"Capture", RECT{100, 100, 300, 250});
    ASSERT_NE(findWindow("Capture"), 0u);
    SetCapture(h);
    pal::test::pump();
    Heard::messages.clear();
    XTestFakeMotionEvent(observer_, 0, 700, 600, CurrentTime);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_MOUSEMOVE));
    const MSG* move = Heard::last(WM_MOUSEMOVE);
    EXPECT_EQ(move->hwnd, h);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(move->lParam)), 600);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(move->lParam)), 500);
    ReleaseCapture();
}

// A program that shows the person where something is puts the pointer there on the screen.
TEST_F(X11Test, SetCursorPosMovesThePointerOnTheDisplay) {
    const POINT places[] = {{40, 30}, {612, 477}, {0, 0}};
    for (const POINT& p : places) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        ASSERT_TRUE(SetCursorPos(p.x, p.y));
        Window root = 0, child = 0;
        int x = -1, y = -1, wx = 0, wy = 0;
        unsigned mask = 0;
        EXPECT_TRUE(pal::test::eventually([&] {
            XQueryPointer(observer_, DefaultRootWindow(observer_), &root, &child, &x, &y, &wx, &wy, &mask);
            return x == p.x && y == p.y;
        })) << x
            << "," << y;
        POINT held{};
        GetCursorPos(&held);
        EXPECT_EQ(held.x, p.x);
        EXPECT_EQ(held.y, p.y);
    }
}

TEST_F(X11Test, ResizingFromOutsideGivesWmSizeAndARepaint) {
    HWND h = showWindow(L"Resize", RECT{50, 50, 350, 250});
    const Window xid = findWindow("Resize");
    ASSERT_NE(xid, 0u);
    Heard::messages.clear();
    XResizeWindow(observer_, xid, 500, 360);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_SIZE));
    EXPECT_EQ(Heard::last(WM_SIZE)->lParam, MAKELPARAM(500, 360));
    EXPECT_TRUE(heard(WM_PAINT));
    RECT client{};
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 500);
    EXPECT_EQ(client.bottom, 360);
    std::string diff;
    EXPECT_TRUE(showsSurface(h, xid, diff)) << diff;
}

TEST_F(X11Test, AnAbsurdSizeFromOutsideIsClamped) {
    HWND h = showWindow(L"Huge", RECT{50, 50, 350, 250});
    const Window xid = findWindow("Huge");
    ASSERT_NE(xid, 0u);
    XResizeWindow(observer_, xid, 30000, 30000);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_SIZE));
    RECT client{};
    GetClientRect(h, &client);
    EXPECT_LE(client.right, 16384);
    EXPECT_LE(client.bottom, 16384);
}

TEST_F(X11Test, TheWindowManagersCloseRequestGivesWmClose) {
    HWND h = showWindow(L"Close me", RECT{60, 60, 260, 200});
    const Window xid = findWindow("Close me");
    ASSERT_NE(xid, 0u);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xid;
    e.xclient.message_type = XInternAtom(observer_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(observer_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(observer_, xid, False, NoEventMask, &e);
    XFlush(observer_);
    ASSERT_TRUE(heard(WM_CLOSE));
    // The default answer destroys the window, and its X11 window goes with it.
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(eventually([&] {
        XWindowAttributes a{};
        return !XGetWindowAttributes(observer_, xid, &a);
    }));
}

TEST_F(X11Test, PopupsAreOverrideRedirectAndOwnedWindowsTransient) {
    HWND main = showWindow(L"Owner", RECT{100, 100, 500, 400});
    HWND popup = CreateWindowExW(0, L"DrawingView", L"Menu", WS_POPUP | WS_BORDER, 150, 150, 120, 200, main,
                                 nullptr, nullptr, nullptr);
    ShowWindow(popup, SW_SHOWNA);
    HWND dialog = CreateWindowExW(0, L"DrawingView", L"Options", WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 200,
                                  300, 200, main, nullptr, nullptr, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const Window menuXid = findWindow("Menu"), dialogXid = findWindow("Options"),
                 mainXid = findWindow("Owner");
    ASSERT_NE(menuXid, 0u);
    ASSERT_NE(dialogXid, 0u);
    XWindowAttributes a{};
    XGetWindowAttributes(observer_, menuXid, &a);
    EXPECT_TRUE(a.override_redirect);
    EXPECT_EQ(a.width, 120); // a popup shows its whole window, border included
    Window owner = 0;
    ASSERT_TRUE(XGetTransientForHint(observer_, dialogXid, &owner));
    EXPECT_EQ(owner, mainXid);
    // A layered window carries per-pixel alpha on screen too.
    HWND layered = CreateWindowExW(WS_EX_LAYERED, L"DrawingView", L"Glass", WS_POPUP, 600, 100, 100, 80,
                                   nullptr, nullptr, nullptr, nullptr);
    ShowWindow(layered, SW_SHOWNA);
    const Window glass = findWindow("Glass");
    ASSERT_NE(glass, 0u);
    XGetWindowAttributes(observer_, glass, &a);
    EXPECT_EQ(a.depth, 32);
}

// Under a reparenting window manager: it gives the focus, keys follow the window that looks
// active, the client area stays where the model says, and an owned dialog stays above its owner.
TEST_F(X11Test, UnderAWindowManagerFocusGeometryAndOwnedDialogsHold) {
    WindowManager wm;
    if (!wm.start(server_.name(), observer_))
        GTEST_SKIP() << "no window manager tests: openbox is not installed (scripts/setup installs it)";
    HWND main = showWindow(L"Main", RECT{100, 120, 600, 520});
    const Window mainXid = findWindow("Main");
    ASSERT_NE(mainXid, 0u);
    HWND other = showWindow(L"Other", RECT{700, 120, 900, 320});
    const Window otherXid = findWindow("Other");
    ASSERT_NE(otherXid, 0u);
    // The frame is the window manager's; the client area is where the model has it.
    auto placed = [&](HWND h, Window xid) {
        return eventually([&] {
            pal::test::pump();
            POINT o{0, 0};
            ClientToScreen(h, &o);
            const POINT x = rootPosition(xid);
            return o.x == x.x && o.y == x.y;
        });
    };
    EXPECT_TRUE(placed(main, mainXid));
    EXPECT_TRUE(placed(other, otherXid));
    // Activated from outside, the main window gets the focus, looks active and hears the keys.
    activateFromOutside(mainXid);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return GetActiveWindow() == main && GetForegroundWindow() == main;
    }));
    Heard::typed.clear();
    XTestFakeKeyEvent(observer_, XKeysymToKeycode(observer_, XK_q), True, CurrentTime);
    XTestFakeKeyEvent(observer_, XKeysymToKeycode(observer_, XK_q), False, CurrentTime);
    XFlush(observer_);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return Heard::typed == L"q";
    }));
    ASSERT_NE(Heard::last(WM_CHAR), nullptr);
    EXPECT_EQ(Heard::last(WM_CHAR)->hwnd, main);
    // Moved by the window manager (a synthetic ConfigureNotify), the model follows.
    XMoveWindow(observer_, mainXid, 150, 170);
    XFlush(observer_);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        POINT o{0, 0};
        ClientToScreen(main, &o);
        return o.x == 150 && o.y == 170;
    }));
    EXPECT_TRUE(placed(main, mainXid));
    // An owned dialog stays above its owner even when the owner is activated.
    HWND dialog = CreateWindowExW(0, L"DrawingView", L"Dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 200,
                                  300, 200, main, nullptr, nullptr, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const Window dialogXid = findWindow("Dialog");
    ASSERT_NE(dialogXid, 0u);
    activateFromOutside(mainXid);
    const Atom stacking = XInternAtom(observer_, "_NET_CLIENT_LIST_STACKING", False);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        const auto windows =
            pal::test::property32(observer_, DefaultRootWindow(observer_), stacking, XA_WINDOW, 64);
        int mainAt = -1, dialogAt = -1;
        for (size_t i = 0; i < windows.size(); ++i) {
            const auto w = static_cast<Window>(windows[i]);
            if (w == mainXid)
                mainAt = static_cast<int>(i);
            if (w == dialogXid)
                dialogAt = static_cast<int>(i);
        }
        return mainAt >= 0 && dialogAt > mainAt; // bottom to top
    }));
    // Another program's window taking the focus deactivates this program, and coming back
    // activates it again.
    // The window manager may give a new window the focus as it maps it, before it is asked to:
    // what this program hears is counted from before the window appears.
    Heard::messages.clear();
    const Window stranger =
        XCreateSimpleWindow(observer_, DefaultRootWindow(observer_), 300, 300, 200, 100, 0, 0, 0);
    XStoreName(observer_, stranger, "Stranger");
    XMapWindow(observer_, stranger);
    XFlush(observer_);
    ASSERT_NE(findWindow("Stranger"), 0u);
    activateFromOutside(stranger);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        const MSG* app = Heard::last(WM_ACTIVATEAPP);
        return app && app->wParam == FALSE && GetForegroundWindow() == nullptr;
    }));
    activateFromOutside(mainXid);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        const MSG* app = Heard::last(WM_ACTIVATEAPP);
        return app && app->wParam == TRUE && GetActiveWindow() == main;
    }));
}

TEST_F(X11Test, TheWindowManagerMaximisesMinimisesAndRestores) {
    WindowManager wm;
    if (!wm.start(server_.name(), observer_))
        GTEST_SKIP() << "no window manager tests: openbox is not installed (scripts/setup installs it)";
    HWND main = showWindow(L"States", RECT{100, 120, 500, 420});
    const Window xid = findWindow("States");
    ASSERT_NE(xid, 0u);
    auto atom = [&](const char* name) { return static_cast<long>(XInternAtom(observer_, name, False)); };
    // Maximised from outside (a pager, the caption's button): the window is zoomed at the size
    // the window manager gave it.
    askWindowManager(observer_, xid, "_NET_WM_STATE", 1, atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                     atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        RECT client{};
        GetClientRect(main, &client);
        return IsZoomed(main) && client.right == a.width && client.bottom == a.height && a.width > 1000;
    }));
    const MSG* size = Heard::last(WM_SIZE);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, SIZE_MAXIMIZED);
    // Minimised from outside, and restored by activating it.
    askWindowManager(observer_, xid, "WM_CHANGE_STATE", IconicState);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return IsIconic(main) != FALSE;
    }));
    activateFromOutside(xid);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        return !IsIconic(main);
    }));
}

// A window drawing its own caption (sizable, no WS_CAPTION, as the ribbon's frame is) moves the
// way such a caption asks: a press there hands the move to the window manager.
LRESULT captionDrawingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && GET_Y_LPARAM(lParam) < 30) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &at);
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(at.x, at.y));
        return 0;
    }
    return Heard::proc(hwnd, message, wParam, lParam);
}

class X11ManagedTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        if (!wm_.start(server_.name(), observer_))
            GTEST_SKIP() << "no window manager tests: openbox is not installed (scripts/setup installs it)";
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = captionDrawingProc;
        wc.lpszClassName = L"OwnCaption";
        RegisterClassW(&wc);
    }

    static constexpr DWORD kOwnCaption = WS_OVERLAPPEDWINDOW & ~WS_CAPTION;

    HWND showOwnCaption(const wchar_t* title, RECT r) {
        HWND h = CreateWindowExW(0, L"OwnCaption", title, kOwnCaption, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(h, SW_SHOWNORMAL);
        pal::test::pump();
        return h;
    }

    // The frame the window manager put around a window: left, right, top, bottom.
    std::vector<long> frameExtents(Window xid) {
        const Atom extents = XInternAtom(observer_, "_NET_FRAME_EXTENTS", False);
        std::vector<long> v;
        eventually([&] {
            pal::test::pump();
            v = pal::test::property32(observer_, xid, extents, XA_CARDINAL, 4);
            return v.size() == 4;
        });
        return v;
    }

    // The X11 window's place and size on the root window.
    RECT onScreen(Window xid) {
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        const POINT at = rootPosition(xid);
        return RECT{at.x, at.y, at.x + a.width, at.y + a.height};
    }

    std::vector<std::string> allowedActions(Window xid) {
        const auto atoms = pal::test::property32(
            observer_, xid, XInternAtom(observer_, "_NET_WM_ALLOWED_ACTIONS", False), XA_ATOM, 64);
        std::vector<std::string> names;
        for (long a : atoms) {
            if (char* name = XGetAtomName(observer_, static_cast<Atom>(a))) {
                names.emplace_back(name);
                XFree(name);
            }
        }
        return names;
    }

    static bool has(const std::vector<std::string>& list, const std::string& item) {
        return std::find(list.begin(), list.end(), item) != list.end();
    }

    WindowManager wm_;
};

TEST_F(X11ManagedTest, AWindowDrawingItsOwnCaptionGetsNoSecondFrameAndMovesByItsCaption) {
    const RECT placed{200, 150, 700, 550};
    HWND own = showOwnCaption(L"Own caption", placed);
    const Window ownXid = findWindow("Own caption");
    ASSERT_NE(ownXid, 0u);
    EXPECT_EQ(frameExtents(ownXid), (std::vector<long>{0, 0, 0, 0})) << "the manager adds no frame";
    // The X11 window shows the whole window, its sizing edges included.
    RECT r{};
    GetWindowRect(own, &r);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        const RECT x = onScreen(ownXid);
        return EqualRect(&x, &r);
    }));
    // A window with a caption of the platform's kind keeps the manager's frame.
    showWindow(L"Framed", RECT{800, 150, 1100, 400});
    const Window framedXid = findWindow("Framed");
    ASSERT_NE(framedXid, 0u);
    const auto framed = frameExtents(framedXid);
    ASSERT_EQ(framed.size(), 4u);
    EXPECT_GT(framed[2], 0) << "the manager's title bar";
    // Pressed on its own caption and dragged, the window goes with the pointer.
    activateFromOutside(ownXid);
    const POINT grip{r.left + 100, r.top + 15};
    XTestFakeMotionEvent(observer_, 0, grip.x, grip.y, CurrentTime);
    XTestFakeButtonEvent(observer_, 1, True, CurrentTime);
    XFlush(observer_);
    // The pointer goes on moving until the window follows it: the manager has taken the move.
    int step = 0;
    ASSERT_TRUE(eventually([&] {
        pal::test::pump();
        ++step;
        XTestFakeMotionEvent(observer_, 0, grip.x + 60 + step % 2, grip.y + 30, CurrentTime);
        XSync(observer_, False);
        return onScreen(ownXid).left != r.left;
    })) << "the window manager moves the window";
    XTestFakeMotionEvent(observer_, 0, grip.x + 120, grip.y + 70, CurrentTime);
    XTestFakeButtonEvent(observer_, 1, False, CurrentTime);
    XFlush(observer_);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        RECT now{};
        GetWindowRect(own, &now);
        const RECT x = onScreen(ownXid);
        return now.left == r.left + 120 && now.top == r.top + 70 && EqualRect(&x, &now);
    }));
    EXPECT_FALSE(GetKeyState(VK_LBUTTON) & 0x8000) << "the button the manager took is up";
}

// The window manager's reports may be read late, after the program has asked for another
// state, and a report shows the state as it is when read: the place and state the program asked
// for last hold, and a change the manager made later still reaches the program.
TEST_F(X11ManagedTest, MaximisedMinimisedAndRestoredByTheProgramOrTheManagerItComesBackToItsPlace) {
    auto atom = [&](const char* name) { return static_cast<long>(XInternAtom(observer_, name, False)); };
    const RECT normal{220, 160, 820, 610};
    HWND h = showOwnCaption(L"Placed", normal);
    const Window xid = findWindow("Placed");
    ASSERT_NE(xid, 0u);
    struct Way {
        const char* what;
        std::function<void()> away, back;
        std::function<bool()> gone;
    };
    const auto byProgram = [&](UINT command) { return [=] { PostMessageW(h, WM_SYSCOMMAND, command, 0); }; };
    const auto maximiseByManager = [&] {
        askWindowManager(observer_, xid, "_NET_WM_STATE", 1, atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                         atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2);
    };
    const auto restoreByManager = [&] {
        askWindowManager(observer_, xid, "_NET_WM_STATE", 0, atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                         atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2);
    };
    const auto minimiseByManager = [&] { askWindowManager(observer_, xid, "WM_CHANGE_STATE", IconicState); };
    const auto zoomed = [&] { return IsZoomed(h) && onScreen(xid).right - onScreen(xid).left > 1000; };
    const auto iconic = [&] {
        XWindowAttributes a{};
        XGetWindowAttributes(observer_, xid, &a);
        return IsIconic(h) && a.map_state != IsViewable;
    };
    const Way ways[] = {
        {"maximised and restored by the program", byProgram(SC_MAXIMIZE), byProgram(SC_RESTORE), zoomed},
        {"maximised and restored by the manager", maximiseByManager, restoreByManager, zoomed},
        {"maximised by the manager, restored by the program", maximiseByManager, byProgram(SC_RESTORE),
         zoomed},
        {"minimised by the program, restored from a task bar", byProgram(SC_MINIMIZE),
         [&] { activateFromOutside(xid); }, iconic},
        {"minimised by the manager, restored by the program", minimiseByManager, byProgram(SC_RESTORE),
         iconic},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        way.away();
        ASSERT_TRUE(eventually([&] {
            pal::test::pump();
            return way.gone();
        }));
        // The place a minimised window parks at in the model never reaches the server.
        const RECT there = onScreen(xid);
        EXPECT_GT(there.left, -1000);
        EXPECT_GT(there.top, -1000);
        way.back();
        EXPECT_TRUE(eventually([&] {
            pal::test::pump();
            RECT model{};
            GetWindowRect(h, &model);
            const RECT x = onScreen(xid);
            XWindowAttributes a{};
            XGetWindowAttributes(observer_, xid, &a);
            return !IsZoomed(h) && !IsIconic(h) && EqualRect(&model, &normal) && EqualRect(&x, &normal) &&
                   a.map_state == IsViewable;
        }));
    }
}

TEST_F(X11ManagedTest, RestoredByTheProgramAFramedWindowComesBackOntoTheWorkArea) {
    // The client area so high that the manager's title bar would stand above the screen.
    HWND h = showWindow(L"High", RECT{300, 4, 700, 304});
    const Window xid = findWindow("High");
    ASSERT_NE(xid, 0u);
    const auto frame = frameExtents(xid);
    ASSERT_EQ(frame.size(), 4u);
    SendMessageW(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(eventually([&] {
        pal::test::pump();
        return onScreen(xid).right - onScreen(xid).left > 1000;
    }));
    SendMessageW(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(eventually([&] {
        pal::test::pump();
        const RECT x = onScreen(xid);
        POINT client{0, 0};
        ClientToScreen(h, &client);
        return x.right - x.left == 400 && x.top - frame[2] >= 0 && client.y == x.top;
    }));
}

TEST_F(X11ManagedTest, AnOwnedDialogIsATransientDialogOfferingOnlyItsButtons) {
    HWND main = showOwnCaption(L"Owner window", RECT{100, 100, 900, 700});
    const Window mainXid = findWindow("Owner window");
    ASSERT_NE(mainXid, 0u);
    HWND dialog =
        CreateWindowExW(WS_EX_DLGMODALFRAME, L"DrawingView", L"Settings", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        300, 300, 320, 200, main, nullptr, nullptr, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const Window dialogXid = findWindow("Settings");
    ASSERT_NE(dialogXid, 0u);
    Window owner = 0;
    ASSERT_TRUE(XGetTransientForHint(observer_, dialogXid, &owner));
    EXPECT_EQ(owner, mainXid);
    const auto type = pal::test::property32(observer_, dialogXid,
                                            XInternAtom(observer_, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 4);
    ASSERT_EQ(type.size(), 1u);
    EXPECT_EQ(static_cast<Atom>(type[0]), XInternAtom(observer_, "_NET_WM_WINDOW_TYPE_DIALOG", False));
    std::vector<std::string> actions;
    ASSERT_TRUE(eventually([&] {
        pal::test::pump();
        actions = allowedActions(dialogXid);
        return has(actions, "_NET_WM_ACTION_CLOSE");
    }));
    // The manager is asked for no minimise or maximise button (some managers, openbox among
    // them, keep minimising for every window whatever they are asked), and a dialog of a fixed
    // size can be neither maximised nor sized.
    const Atom motif = XInternAtom(observer_, "_MOTIF_WM_HINTS", False);
    const auto hints = pal::test::property32(observer_, dialogXid, motif, motif, 5);
    ASSERT_EQ(hints.size(), 5u);
    const long minimiseFunction = 8, maximiseFunction = 16, minimiseButton = 32, maximiseButton = 64;
    EXPECT_EQ(hints[1] & (minimiseFunction | maximiseFunction), 0);
    EXPECT_EQ(hints[2] & (minimiseButton | maximiseButton), 0);
    EXPECT_NE(hints[2], 0) << "a frame with a title";
    EXPECT_FALSE(has(actions, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_FALSE(has(actions, "_NET_WM_ACTION_RESIZE"));
    // The main window, sizable with both boxes, offers them all.
    const auto mainActions = allowedActions(mainXid);
    EXPECT_TRUE(has(mainActions, "_NET_WM_ACTION_MINIMIZE"));
    EXPECT_TRUE(has(mainActions, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_TRUE(has(mainActions, "_NET_WM_ACTION_RESIZE"));
}

TEST_F(X11Test, ADisplayThatGoesAwayEndsTheLoopsWithAMessage) {
    showWindow(L"Doomed", RECT{60, 60, 260, 200});
    ASSERT_NE(findWindow("Doomed"), 0u);
    XCloseDisplay(observer_);
    observer_ = nullptr;
    testing::internal::CaptureStderr();
    server_.stop();
    MSG msg{};
    const bool quit = eventually([&] {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return true;
            DispatchMessageW(&msg);
        }
        return false;
    });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(quit);
    EXPECT_NE(err.find("the X display went away"), std::string::npos) << err;
    // Painting and showing go on without a screen.
    HWND other = showWindow(L"After", RECT{10, 10, 110, 110});
    EXPECT_TRUE(IsWindowVisible(other));
}

} // namespace
