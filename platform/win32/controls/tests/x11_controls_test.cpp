// The standard controls, menus and dialogs on a real X11 display (an Xvfb of the test's own): a
// person's click reaches a button, typing reaches an edit control, a popup menu opened and chosen
// with the mouse runs its command, and under a window manager the keys go back to the owner of a
// modal dialog closed by a key.
#include "notifications.h"

// Xlib's names come after the window layer's: its macros would otherwise rename them.
#include "pal/test/x_client.h"
#include "pal/test/x_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace controlstest {
namespace {

using pal::test::eventually;

class X11Controls : public ControlTest {
protected:
    void SetUp() override {
        InitCommonControls(); // the program links the controls, as one that uses them does
        ControlTest::SetUp();
        std::string why;
        if (!server_.start(why))
            GTEST_SKIP() << "no X11 tests: " << why;
        observer_ = pal::test::showOn(server_);
        ASSERT_NE(observer_, nullptr);
    }
    void TearDown() override {
        pal::test::closeOwnDisplay(server_, observer_);
        ControlTest::TearDown();
    }

    // Waits until the parent shows on the X display and what it painted is there.
    Window shown() {
        Window found = 0;
        eventually([&] {
            pump();
            found = pal::test::findViewable(observer_, DefaultRootWindow(observer_), "Parent");
            return found != 0;
        });
        return found;
    }

    pal::test::Xvfb server_;
    Display* observer_ = nullptr;
};

TEST_F(X11Controls, AClickOnTheScreenClicksTheButton) {
    HWND button = make(L"Button", L"Apply", BS_PUSHBUTTON, RECT{40, 30, 160, 60}, 7);
    ASSERT_NE(shown(), 0u);
    take();
    POINT p{60, 15};
    ClientToScreen(button, &p);
    pal::test::clickAt(observer_, p.x, p.y);
    Log heard;
    EXPECT_TRUE(eventually(
        [&] {
            pump();
            for (auto& n : take())
                heard.push_back(n);
            return !heard.empty();
        },
        5));
    EXPECT_EQ(heard, Log{"7:BN_CLICKED"});
}

TEST_F(X11Controls, TypingReachesTheEditIncludingCyrillic) {
    HWND edit = make(L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER, RECT{20, 20, 300, 46}, 9);
    const Window xid = shown();
    ASSERT_NE(xid, 0u);
    SetFocus(edit);
    XSetInputFocus(observer_, xid, RevertToParent, CurrentTime);
    const pal::test::CyrillicKeys cyrillic(observer_);
    auto tap = [&](KeyCode code, bool shifted) { pal::test::tapKey(observer_, code, shifted); };
    tap(XKeysymToKeycode(observer_, XK_o), true);
    tap(XKeysymToKeycode(observer_, XK_k), false);
    tap(XKeysymToKeycode(observer_, XK_space), false);
    tap(cyrillic.zhe, true);
    tap(cyrillic.u, false);
    tap(cyrillic.ka, false);
    XFlush(observer_);
    wchar_t text[64] = {};
    EXPECT_TRUE(eventually(
        [&] {
            pump();
            GetWindowTextW(edit, text, 64);
            return std::wstring(text).size() >= 6;
        },
        5));
    EXPECT_EQ(std::wstring(text), L"Ok \u0416\u0443\u043a");
}

TEST_F(X11Controls, APopupMenuOpenedByAClickAndChosenByAClickRunsItsCommand) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 101, L"&Open");
    AppendMenuW(menu, MF_STRING, 102, L"&Save");
    UINT command = 0;
    answer = [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_RBUTTONUP) {
            POINT p{LOWORD(lParam), HIWORD(lParam)};
            ClientToScreen(parent, &p);
            TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, 0, parent, nullptr);
        } else if (message == WM_COMMAND && lParam == 0) {
            command = LOWORD(wParam);
        }
        return false;
    };
    ASSERT_NE(shown(), 0u);
    // The person at this display answers the menu, not the test's responder.
    ::setenv("DV_PAL_TEST", "0", 1);
    struct Restore {
        ~Restore() { ::setenv("DV_PAL_TEST", "1", 1); }
    } restore;
    POINT at{200, 150};
    ClientToScreen(parent, &at);
    // A person of their own: right-clicks, waits for the menu to be on screen, clicks "Save".
    std::atomic<bool> clicked{false};
    std::thread person([&] {
        Display* dpy = XOpenDisplay(server_.name().c_str());
        pal::test::clickAt(dpy, at.x, at.y, 3);
        // The menu is the override-redirect window that appears; its second item fills most of
        // its lower half.
        RECT item{};
        eventually(
            [&] {
                Window root = 0, up = 0, *children = nullptr;
                unsigned count = 0;
                XQueryTree(dpy, DefaultRootWindow(dpy), &root, &up, &children, &count);
                for (unsigned i = 0; i < count; ++i) {
                    XWindowAttributes a{};
                    if (XGetWindowAttributes(dpy, children[i], &a) && a.override_redirect &&
                        a.map_state == IsViewable)
                        item = RECT{a.x, a.y + a.height / 2, a.x + a.width, a.y + a.height};
                }
                if (children)
                    XFree(children);
                return !IsRectEmpty(&item);
            },
            5);
        pal::test::clickAt(dpy, (item.left + item.right) / 2, item.top + (item.bottom - item.top) / 2);
        XCloseDisplay(dpy);
        clicked = true;
    });
    EXPECT_TRUE(eventually(
        [&] {
            pump();
            return clicked && command != 0;
        },
        10));
    person.join();
    EXPECT_EQ(command, 102u);
    answer = nullptr;
    DestroyMenu(menu);
}

enum : WORD { kAskTemplate = 320 };
const pal::win::DialogItem kAskItems[] = {
    {L"Button", L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 7, 50, 14},
    {L"Button", L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 60, 7, 50, 14},
};
const pal::win::DialogTemplate kAsk[] = {
    {kAskTemplate, L"Ask", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 20, 20, 120, 30,
     kAskItems, std::size(kAskItems), L"MS Shell Dlg", 8},
};
const pal::win::DialogTemplateSet askRegistered(kAsk, std::size(kAsk));

INT_PTR askProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// Whether the display's keyboard focus is `xid` or a window inside it.
bool keyboardIn(Display* dpy, Window xid) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    while (focus && focus != PointerRoot && focus != xid) {
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(dpy, focus, &root, &up, &children, &count))
            return false;
        if (children)
            XFree(children);
        focus = up == root ? 0 : up;
    }
    return focus == xid && xid != 0;
}

// A person at a display with a window manager: opens nothing by the mouse, closes the modal dialog
// with Escape once it has the keyboard, and types into the owner once the keyboard is back there,
// never clicking.
TEST_F(X11Controls, UnderAWindowManagerKeysGoBackToTheOwnersControlAfterAModalDialogClosedByAKey) {
    pal::test::WindowManager wm;
    if (!wm.start(server_.name(), observer_))
        GTEST_SKIP() << "no window manager tests: openbox is not installed (scripts/setup installs it)";
    HWND edit = make(L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER, RECT{20, 20, 300, 46}, 9);
    // Another window of the program, below the owner: the one that would take the activation if
    // the owner were still disabled as the dialog hides.
    const HWND other = CreateWindowExW(0, L"ControlParent", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 750,
                                       100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    Window owner = 0;
    ASSERT_TRUE(eventually([&] {
        pump();
        owner = pal::test::findViewable(observer_, DefaultRootWindow(observer_), "Parent", 3);
        return owner != 0;
    }));
    SetForegroundWindow(parent);
    SetFocus(edit);
    ASSERT_TRUE(eventually([&] {
        pump();
        return keyboardIn(observer_, owner);
    })) << "the owner has the keyboard before the dialog";

    std::atomic<bool> done{false}, keyboardBack{false};
    std::thread person([&] {
        Display* dpy = XOpenDisplay(server_.name().c_str());
        const auto dialog = [&] { return pal::test::findViewable(dpy, DefaultRootWindow(dpy), "Ask", 3); };
        if (eventually([&] { return dialog() != 0 && keyboardIn(dpy, dialog()); }, 10)) {
            pal::test::tapKey(dpy, XKeysymToKeycode(dpy, XK_Escape));
            XSync(dpy, False);
            keyboardBack = eventually([&] { return dialog() == 0 && keyboardIn(dpy, owner); }, 10);
            if (keyboardBack) {
                pal::test::tapKey(dpy, XKeysymToKeycode(dpy, XK_z));
                XSync(dpy, False);
            }
        }
        done = true;
        XCloseDisplay(dpy);
    });
    const INT_PTR result = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kAskTemplate), parent, &askProc, 0);
    EXPECT_TRUE(eventually(
        [&] {
            pump();
            return done && textOf(edit) == L"z";
        },
        10));
    person.join();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(keyboardBack) << "the keyboard came back to the owner without a click";
    EXPECT_EQ(GetActiveWindow(), parent);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(textOf(edit), L"z");
}

} // namespace
} // namespace controlstest
