// Windows: bad handles, destruction under way, subclassing, text, geometry, the tree,
// properties, window longs, classes, the foreground journal and the tree dump.
#include "recorder.h"

#include "pal/format.h"

#include <gtest/gtest.h>

namespace usertest {
namespace {

using Seq = std::vector<std::string>;

class WindowTest : public RecordedTest {};

TEST_F(WindowTest, DestroyedAndUnknownHandlesFailAndNeverReachANewWindow) {
    HWND old = create("old", WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(DestroyWindow(old));
    HWND fresh = create("fresh", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(fresh, old);
    take();
    RECT r{};
    wchar_t text[8];
    const std::function<bool(HWND)> calls[] = {
        [](HWND h) { return SendMessageW(h, WM_USER, 0, 0) == 0; },
        [](HWND h) { return !PostMessageW(h, WM_USER, 0, 0); },
        [](HWND h) { return !SetWindowTextW(h, L"x"); },
        [&](HWND h) { return GetWindowTextW(h, text, 8) == 0; },
        [&](HWND h) { return !GetWindowRect(h, &r); },
        [](HWND h) { return !ShowWindow(h, SW_SHOW); },
        [](HWND h) { return !SetWindowPos(h, nullptr, 0, 0, 5, 5, SWP_NOZORDER); },
        [](HWND h) { return !DestroyWindow(h); },
        [](HWND h) { return SetWindowLongPtrW(h, GWLP_USERDATA, 5) == 0; },
        [](HWND h) { return !SetTimer(h, 1, 10, nullptr); },
        [](HWND h) { return !KillTimer(h, 1); },
        [](HWND h) { return !InvalidateRect(h, nullptr, TRUE); },
    };
    for (HWND bad : {old, reinterpret_cast<HWND>(0x1234), reinterpret_cast<HWND>(0x7FFF0000),
                     reinterpret_cast<HWND>(~std::uintptr_t{0} - 7)}) {
        for (size_t i = 0; i < std::size(calls); ++i) {
            SetLastError(0);
            EXPECT_TRUE(calls[i](bad)) << "call " << i;
            EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE) << "call " << i;
        }
        EXPECT_FALSE(IsWindow(bad));
    }
    pal::test::pump();
    EXPECT_TRUE(take().empty()) << "nothing meant for the old window reached the new one";
    EXPECT_EQ(GetWindowLongPtrW(fresh, GWLP_USERDATA), 0);
}

TEST_F(WindowTest, MessagesToAWindowBeingDestroyedDoNotCrash) {
    HWND frame = create("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = create("child", WS_CHILD | WS_VISIBLE, frame);
    PostMessageW(child, WM_USER + 3, 0, 0);
    LRESULT duringDestroy = -1;
    BOOL again = FALSE;
    LRESULT afterGone = -1;
    recorder.hook = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (h == child && m == WM_DESTROY) {
            duringDestroy = SendMessageW(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"going"));
            SendMessageW(child, WM_USER + 1, 0, 0);
            DestroyWindow(child); // already on its way
        }
        if (h == frame && m == WM_NCDESTROY) {
            again = DestroyWindow(frame);
            afterGone = SendMessageW(child, WM_USER + 2, 0, 0);
        }
        return false;
    };
    take();
    EXPECT_TRUE(DestroyWindow(frame));
    EXPECT_EQ(duringDestroy, TRUE) << "a window is still there while WM_DESTROY runs";
    EXPECT_TRUE(again);
    EXPECT_EQ(afterGone, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(child));
    const Seq log = take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "child:WM_DESTROY"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "frame:WM_NCDESTROY"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "child:WM_USER+2"), 0);
    pal::test::pump();
    EXPECT_TRUE(take().empty()) << "messages posted to a destroyed window are dropped";
}

TEST_F(WindowTest, CreateFailsCleanlyWhenTheProcedureRefuses) {
    recorder.hook = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m == WM_CREATE) {
            r = -1;
            return true;
        }
        return false;
    };
    take();
    recorder.pending = "refused";
    EXPECT_EQ(CreateWindowExW(0, L"Recorded", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                              nullptr, const_cast<char*>("refused")),
              nullptr);
    EXPECT_EQ(take(), (Seq{"refused:WM_GETMINMAXINFO", "refused:WM_NCCREATE", "refused:WM_NCCALCSIZE",
                           "refused:WM_CREATE", "refused:WM_DESTROY", "refused:WM_NCDESTROY"}));
}

LRESULT subclassProc(HWND h, UINT m, WPARAM w, LPARAM l);
WNDPROC gOriginal = nullptr;
std::vector<UINT> gSubclassed;
LRESULT subclassProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    gSubclassed.push_back(m);
    if (m == WM_USER + 1)
        return 99;
    return CallWindowProcW(gOriginal, h, m, w, l);
}

TEST_F(WindowTest, SubclassingReplacesTheProcedureAndForwardsTheRest) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    gSubclassed.clear();
    gOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc)));
    ASSERT_EQ(gOriginal, &Recorder::proc);
    take();
    EXPECT_EQ(SendMessageW(w, WM_USER + 1, 0, 0), 99);
    SendMessageW(w, WM_USER + 2, 0, 0);
    EXPECT_EQ(gSubclassed, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(take(), (Seq{"w:WM_USER+2"}));
}

TEST_F(WindowTest, TextGoesThroughTheProcedureAndIsCutToTheBuffer) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    wchar_t buffer[5];
    EXPECT_EQ(GetWindowTextW(w, buffer, 5), 1);
    EXPECT_STREQ(buffer, L"w");
    take();
    EXPECT_TRUE(SetWindowTextW(w, L"Technical requirements"));
    EXPECT_EQ(take(), (Seq{"w:WM_SETTEXT"}));
    EXPECT_EQ(GetWindowTextLengthW(w), 22);
    EXPECT_EQ(GetWindowTextW(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, L"Tech");
    EXPECT_EQ(GetWindowTextW(w, buffer, 0), 0);
}

TEST_F(WindowTest, GeometryOfFramesAndChildren) {
    HWND frame = create("frame", WS_OVERLAPPEDWINDOW, nullptr, {100, 50, 900, 650});
    RECT client{};
    GetClientRect(frame, &client);
    RECT expected{0, 0, client.right, client.bottom};
    AdjustWindowRectEx(&expected, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(expected.right - expected.left, 800) << "client and frame agree with AdjustWindowRectEx";
    EXPECT_EQ(expected.bottom - expected.top, 600);
    HWND child = create("child", WS_CHILD | WS_BORDER, frame, {10, 20, 110, 70});
    RECT r{};
    GetWindowRect(child, &r);
    POINT origin{0, 0};
    ClientToScreen(frame, &origin);
    EXPECT_EQ(r.left, origin.x + 10);
    EXPECT_EQ(r.top, origin.y + 20);
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 98) << "a border takes a pixel each side";
    POINT p{r.left + 1, r.top + 1};
    ScreenToClient(child, &p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    POINT q{0, 0};
    MapWindowPoints(child, frame, &q, 1);
    EXPECT_EQ(q.x, 11);
    EXPECT_EQ(q.y, 21);
}

TEST_F(WindowTest, TheTreeKeepsCreationOrderAndAnswersRelations) {
    HWND frame = create("frame", WS_OVERLAPPEDWINDOW);
    HWND a = create("a", WS_CHILD, frame, {0, 0, 10, 10}, 101);
    HWND b = create("b", WS_CHILD, frame, {0, 0, 10, 10}, 102);
    HWND inner = create("inner", WS_CHILD, a, {0, 0, 5, 5}, 103);
    HWND popup = create("popup", WS_POPUP, a);
    EXPECT_EQ(GetWindow(frame, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetParent(inner), a);
    EXPECT_EQ(GetParent(popup), frame) << "a popup's parent is its owner, the top-level window";
    EXPECT_EQ(GetWindow(popup, GW_OWNER), frame);
    EXPECT_EQ(GetParent(frame), nullptr);
    EXPECT_EQ(GetAncestor(inner, GA_ROOT), frame);
    EXPECT_EQ(GetAncestor(frame, GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IsChild(frame, inner));
    EXPECT_FALSE(IsChild(frame, popup));
    EXPECT_EQ(GetDlgItem(frame, 102), b);
    EXPECT_EQ(GetDlgItem(frame, 103), nullptr) << "only direct children";
    EXPECT_EQ(GetDlgCtrlID(inner), 103);
    std::vector<HWND> all;
    EnumChildWindows(
        frame,
        [](HWND h, LPARAM p) {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    EXPECT_EQ(all, (std::vector<HWND>{a, inner, b}));
    std::vector<HWND> tops;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tops));
    EXPECT_EQ(tops.size(), 2u);
    EXPECT_EQ(SetParent(inner, b), a);
    EXPECT_EQ(GetParent(inner), b);
    EXPECT_EQ(SetParent(b, inner), nullptr) << "a window cannot move under its own descendant";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(WindowTest, PropertiesAndWindowLongs) {
    HWND w = create("w", WS_OVERLAPPEDWINDOW);
    int data = 0;
    EXPECT_TRUE(SetPropW(w, L"DvPane", &data));
    EXPECT_EQ(GetPropW(w, L"dvpane"), &data);
    EXPECT_EQ(RemovePropW(w, L"DVPANE"), &data);
    EXPECT_EQ(GetPropW(w, L"DvPane"), nullptr);

    EXPECT_EQ(SetWindowLongPtrW(w, 8, 0x1122334455667788), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, 8), 0x1122334455667788);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(w, 9), 0) << "past the class's extra bytes";
    EXPECT_EQ(GetWindowLongPtrW(w, 9), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    // The 32-bit forms reach the same bytes, four at a time.
    EXPECT_EQ(SetWindowLongW(w, 0, 0x01020304), 0);
    EXPECT_EQ(SetWindowLongW(w, 0, 0x05060708), 0x01020304);
    EXPECT_EQ(GetWindowLongW(w, 0), 0x05060708);
    EXPECT_EQ(GetWindowLongW(w, 8), 0x55667788) << "the low half of the 64-bit value";
    EXPECT_EQ(GetWindowLongW(w, 12), 0x11223344) << "and its high half";
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(w, 13, 1), 0) << "past the class's extra bytes";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(GetWindowLongW(w, 12), 0x11223344);

    take();
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    SetWindowLongW(w, GWL_STYLE, style | WS_CLIPCHILDREN);
    EXPECT_EQ(take(), (Seq{"w:WM_STYLECHANGING", "w:WM_STYLECHANGED"}));
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_CLIPCHILDREN);
}

TEST_F(WindowTest, ClassesAreUniqueByNameAndFoundByAtom) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"RECORDED";
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    wc.lpszClassName = L"Plain";
    const ATOM atom = RegisterClassExW(&wc);
    ASSERT_NE(atom, 0);
    HWND w = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(w, nullptr);
    wchar_t name[16];
    EXPECT_EQ(GetClassNameW(w, name, 16), 5);
    EXPECT_STREQ(name, L"Plain");
    EXPECT_FALSE(UnregisterClassW(L"Plain", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(L"Plain", nullptr));
    EXPECT_EQ(CreateWindowExW(0, L"Plain", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(
        CreateWindowExW(0, L"Recorded", L"", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
}

TEST_F(WindowTest, ForegroundChangesAreJournaled) {
    HWND a = create("Main window", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND b = create("Second window", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(GetForegroundWindow(), b);
    EXPECT_TRUE(SetForegroundWindow(a));
    EXPECT_EQ(GetForegroundWindow(), a);
    EXPECT_EQ(GetActiveWindow(), a);
    const auto entries = journal("foreground");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].get("text"), "Main window");
    EXPECT_EQ(entries[0].get("class"), "Recorded");
}

TEST_F(WindowTest, TheTreeDumpShowsClassIdTextStyleRectangleAndState) {
    HWND frame = create("Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {10, 20, 810, 620});
    HWND pane = create("Pane", WS_CHILD | WS_VISIBLE, frame, {0, 0, 100, 50}, 59648);
    EnableWindow(pane, FALSE);
    RECT fr{}, pr{};
    GetWindowRect(frame, &fr);
    GetWindowRect(pane, &pr);
    const std::string expected = pal::format(
        "Recorded id=0 \"Main\" style=0x%08X rect=(10,20)-(810,620) visible enabled\n"
        "  Recorded id=59648 \"Pane\" style=0x58000000 rect=(%d,%d)-(%d,%d) visible disabled\n",
        static_cast<unsigned>(GetWindowLongW(frame, GWL_STYLE)), pr.left, pr.top, pr.right, pr.bottom);
    EXPECT_EQ(pal::test::dumpWindowTree(frame), expected);
    EXPECT_EQ(pal::test::dumpWindowTree(), expected);
}

} // namespace
} // namespace usertest
