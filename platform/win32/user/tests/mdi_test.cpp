// Document windows in an "MDICLIENT": the order of the messages on creating, activating,
// maximising and closing them, the maximised state moving with the active window, the frame's
// caption, the arrangements and the command ids.
#include "recorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace usertest {
namespace {

using Seq = std::vector<std::string>;

constexpr UINT kFirstChild = 0xFF00;

class MdiTest : public RecordedTest {
public:
    using RecordedTest::create;
    using RecordedTest::recorder;
    using RecordedTest::take;
    using RecordedTest::win;

    void SetUp() override {
        RecordedTest::SetUp();
        // The frame passes what it leaves to DefFrameProcW, the documents to DefMDIChildProcW.
        recorder.hook = [this](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& result) {
            if (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD)
                result = DefMDIChildProcW(h, m, w, l);
            else if (h == frame && client)
                result = DefFrameProcW(h, client, m, w, l);
            else
                return false;
            return true;
        };
        frame = create("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 640, 480});
        CLIENTCREATESTRUCT ccs{nullptr, kFirstChild};
        RECT r{};
        GetClientRect(frame, &r);
        client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 r.right, r.bottom, frame,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xE900)), nullptr, &ccs);
        ASSERT_NE(client, nullptr);
        recorder.watch(client, "client");
        SetWindowTextW(frame, L"Frame");
        take();
    }

    HWND child(const char* name, DWORD style = WS_VISIBLE) {
        recorder.pending = name;
        const std::wstring title(name, name + std::char_traits<char>::length(name));
        HWND h = CreateMDIWindowW(L"Recorded", title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, client, nullptr, 0);
        recorder.pending = nullptr;
        EXPECT_NE(h, nullptr) << name;
        return h;
    }

    HWND active(BOOL* maximised = nullptr) const {
        return reinterpret_cast<HWND>(
            SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximised)));
    }

    std::wstring frameText() const {
        wchar_t text[128]{};
        GetWindowTextW(frame, text, 128);
        return text;
    }

    // The messages of the document windows and the client, in order, leaving out the frame's
    // and the requests the test itself sends the client.
    Seq rows() {
        Seq out;
        for (const std::string& entry : take()) {
            const std::string message = entry.substr(entry.find(':') + 1);
            const bool request = message.rfind("WM_MDI", 0) == 0 || message.rfind("0x022", 0) == 0;
            if (entry.rfind("frame:", 0) == 0 || (entry.rfind("client:", 0) == 0 && request))
                continue;
            out.push_back(entry);
        }
        return out;
    }

    // The messages that tell a document window what happened to it, and the focus passing
    // through the client, in order.
    Seq significant() {
        static const char* const kKept[] = {
            "WM_CREATE",      "WM_SHOWWINDOW", "WM_SIZE",      "WM_CHILDACTIVATE", "WM_NCACTIVATE",
            "WM_MDIACTIVATE", "WM_SETFOCUS",   "WM_KILLFOCUS", "WM_CLOSE",         "WM_DESTROY"};
        return keptRows(rows(), [](const std::string& who, const std::string& message) {
            if (who == "client" && message != "WM_SETFOCUS" && message != "WM_KILLFOCUS")
                return false;
            return std::any_of(std::begin(kKept), std::end(kKept),
                               [&](const char* k) { return message == k; });
        });
    }

    HWND frame = nullptr;
    HWND client = nullptr;
};

struct OrderCase {
    const char* name;
    std::function<void(MdiTest&)> setup;
    std::function<void(MdiTest&)> act;
    Seq expected;
    bool everything = false; // every message of the windows, not only the significant ones
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.name;
}

class MdiOrderTest : public MdiTest, public ::testing::WithParamInterface<OrderCase> {};

void none(MdiTest&) {}
void two(MdiTest& t) {
    t.child("a");
    t.child("b");
}

// Where a modal dialog of the frame stands when it ends: shown, its owner disabled, the active
// document window's edit holding the focus before the dialog took it.
void dialogOverTwo(MdiTest& t) {
    two(t);
    SetFocus(t.create("edit", WS_CHILD | WS_VISIBLE, t.win("b"), {5, 5, 105, 25}, 7));
    HWND dialog = t.create("dialog", WS_POPUP | WS_CAPTION, t.frame, {50, 50, 250, 150});
    EnableWindow(t.frame, FALSE);
    ShowWindow(dialog, SW_SHOW);
}

void endDialog(MdiTest& t) {
    EnableWindow(t.frame, TRUE);
    SetWindowPos(t.win("dialog"), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
}

// The focus reaches a document window through the client: the client takes it and hands it on.
const std::vector<std::string> kThroughClient = {"client:WM_SETFOCUS", "client:WM_KILLFOCUS"};

Seq join(std::initializer_list<Seq> parts) {
    Seq out;
    for (const Seq& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const OrderCase kOrder[] = {
    {"CreateTheFirstChild", none, [](MdiTest& t) { t.child("a"); },
     join({{"a:WM_CREATE", "a:WM_SIZE", "a:WM_SHOWWINDOW", "a:WM_CHILDACTIVATE", "a:WM_NCACTIVATE"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE"}})},
    {"CreateASecondChildDeactivatesTheFirst", [](MdiTest& t) { t.child("a"); },
     [](MdiTest& t) { t.child("b"); },
     join({{"b:WM_CREATE", "b:WM_SIZE", "b:WM_SHOWWINDOW", "b:WM_CHILDACTIVATE", "a:WM_NCACTIVATE",
            "a:WM_MDIACTIVATE", "b:WM_NCACTIVATE", "a:WM_KILLFOCUS"},
           kThroughClient,
           {"b:WM_SETFOCUS", "b:WM_MDIACTIVATE"}})},
    {"ActivateTheOtherChild", two,
     [](MdiTest& t) { SendMessageW(t.client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(t.win("a")), 0); },
     join({{"a:WM_CHILDACTIVATE", "b:WM_NCACTIVATE", "b:WM_MDIACTIVATE", "a:WM_NCACTIVATE", "b:WM_KILLFOCUS"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE"}})},
    {"MaximiseTheActiveChild",
     two,
     [](MdiTest& t) { SendMessageW(t.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(t.win("b")), 0); },
     {"b:WM_SIZE"}},
    {"ActivatingAnotherChildMovesTheMaximisedState",
     [](MdiTest& t) {
         two(t);
         SendMessageW(t.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(t.win("b")), 0);
     },
     [](MdiTest& t) { SendMessageW(t.client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(t.win("a")), 0); },
     join({{"a:WM_CHILDACTIVATE", "b:WM_NCACTIVATE", "b:WM_MDIACTIVATE", "a:WM_SIZE", "b:WM_SIZE",
            "a:WM_NCACTIVATE", "b:WM_KILLFOCUS"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE"}})},
    {"CloseTheActiveChildActivatesTheNext", two, [](MdiTest& t) { SendMessageW(t.win("b"), WM_CLOSE, 0, 0); },
     join({{"b:WM_CLOSE", "a:WM_CHILDACTIVATE", "b:WM_NCACTIVATE", "b:WM_MDIACTIVATE", "a:WM_NCACTIVATE",
            "b:WM_KILLFOCUS"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE", "b:WM_SHOWWINDOW", "b:WM_DESTROY"}})},
    {"CloseTheMaximisedChildRestoresItFirstAndMaximisesTheNext",
     [](MdiTest& t) {
         two(t);
         SendMessageW(t.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(t.win("b")), 0);
     },
     [](MdiTest& t) { SendMessageW(t.win("b"), WM_CLOSE, 0, 0); },
     join({{"b:WM_CLOSE", "b:WM_SIZE", "a:WM_CHILDACTIVATE", "b:WM_NCACTIVATE", "b:WM_MDIACTIVATE",
            "a:WM_NCACTIVATE", "b:WM_KILLFOCUS"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE", "a:WM_SIZE", "b:WM_SHOWWINDOW", "b:WM_DESTROY"}})},
    {"ShowingADisabledChildDoesNotActivateIt",
     [](MdiTest& t) {
         t.child("a");
         EnableWindow(t.child("b", 0), FALSE);
     },
     [](MdiTest& t) {
         SetWindowPos(t.win("b"), nullptr, 0, 0, 0, 0,
                      SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
     },
     {"b:WM_CHILDACTIVATE"}},
    {"CloseTheLastChild",
     [](MdiTest& t) { t.child("a"); },
     [](MdiTest& t) { SendMessageW(t.win("a"), WM_CLOSE, 0, 0); },
     {"a:WM_CLOSE", "a:WM_NCACTIVATE", "a:WM_MDIACTIVATE", "a:WM_KILLFOCUS", "client:WM_SETFOCUS",
      "a:WM_SHOWWINDOW", "a:WM_DESTROY"}},
    {"MdiDestroyOfAnInactiveChildLeavesTheActiveOneAlone",
     two,
     [](MdiTest& t) { SendMessageW(t.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(t.win("a")), 0); },
     {"a:WM_SHOWWINDOW", "a:WM_DESTROY"}},
    {"TheFrameTakingTheFocusHandsItThroughTheClientToTheActiveChild", two,
     [](MdiTest& t) { SetFocus(t.frame); }, join({{"b:WM_KILLFOCUS"}, kThroughClient, {"b:WM_SETFOCUS"}})},
    {"AfterAModalDialogTheFocusGoesBackToTheActiveChildsControl",
     dialogOverTwo,
     endDialog,
     {"dialog:WM_NCACTIVATE", "b:WM_NCACTIVATE", "dialog:WM_KILLFOCUS", "edit:WM_SETFOCUS"}},
    {"AfterAModalDialogThatClosedTheFocusedChildTheFocusGoesThroughTheClientToTheNext",
     [](MdiTest& t) {
         dialogOverTwo(t);
         SendMessageW(t.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(t.win("b")), 0);
     },
     endDialog,
     join({{"dialog:WM_NCACTIVATE", "a:WM_NCACTIVATE", "dialog:WM_KILLFOCUS"},
           kThroughClient,
           {"a:WM_SETFOCUS"}})},
    // WM_MDICREATE in full: the window is made (maximised after WM_CREATE when the active one is
    // maximised), shown, raised and told WM_CHILDACTIVATE, then activated with the focus.
    {"MdiCreateMakesShowsAndActivatesTheWindow", none, [](MdiTest& t) { t.child("a"); },
     join({{"a:WM_NCCREATE", "a:WM_NCCALCSIZE", "a:WM_CREATE", "a:WM_SIZE", "a:WM_MOVE",
            "client:WM_PARENTNOTIFY", "a:WM_SHOWWINDOW", "a:WM_WINDOWPOSCHANGING", "a:WM_WINDOWPOSCHANGED",
            "a:WM_WINDOWPOSCHANGING", "a:WM_CHILDACTIVATE", "a:WM_WINDOWPOSCHANGED", "a:WM_NCACTIVATE"},
           kThroughClient,
           {"a:WM_SETFOCUS", "a:WM_MDIACTIVATE"}}),
     true},
    {"MdiCreateBesideAMaximisedChildMakesTheNewOneMaximised",
     [](MdiTest& t) { SendMessageW(t.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(t.child("a")), 0); },
     [](MdiTest& t) { t.child("b"); },
     join({{"b:WM_NCCREATE",
            "b:WM_NCCALCSIZE",
            "b:WM_CREATE",
            "b:WM_SIZE",
            "b:WM_MOVE",
            "b:WM_GETMINMAXINFO",
            "b:WM_WINDOWPOSCHANGING",
            "b:WM_NCCALCSIZE",
            "b:WM_WINDOWPOSCHANGED",
            "b:WM_MOVE",
            "b:WM_SIZE",
            "client:WM_PARENTNOTIFY",
            "b:WM_SHOWWINDOW",
            "b:WM_WINDOWPOSCHANGING",
            "b:WM_WINDOWPOSCHANGED",
            "b:WM_WINDOWPOSCHANGING",
            "b:WM_CHILDACTIVATE",
            "b:WM_WINDOWPOSCHANGED",
            "a:WM_NCACTIVATE",
            "a:WM_MDIACTIVATE",
            "a:WM_WINDOWPOSCHANGING",
            "a:WM_GETMINMAXINFO",
            "a:WM_NCCALCSIZE",
            "a:WM_WINDOWPOSCHANGED",
            "a:WM_MOVE",
            "a:WM_SIZE",
            "b:WM_NCACTIVATE",
            "a:WM_KILLFOCUS"},
           kThroughClient,
           {"b:WM_SETFOCUS", "b:WM_MDIACTIVATE"}}),
     true},
};

TEST_P(MdiOrderTest, Sequence) {
    const OrderCase& c = GetParam();
    c.setup(*this);
    take();
    c.act(*this);
    const Seq got = c.everything ? rows() : significant();
    EXPECT_TRUE(sameOrder(got, c.expected)) << describeOrder(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Mdi, MdiOrderTest, ::testing::ValuesIn(kOrder),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MdiTest, BothWindowsOfAnActivationAreNamedInWParamAndLParam) {
    HWND a = child("a");
    HWND b = child("b");
    std::vector<std::pair<WPARAM, LPARAM>> seen;
    recorder.hook = [&, inner = recorder.hook](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
        if (m == WM_MDIACTIVATE)
            seen.emplace_back(w, l);
        return inner(h, m, w, l, r);
    };
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    const std::pair<WPARAM, LPARAM> bToA{reinterpret_cast<WPARAM>(b), reinterpret_cast<LPARAM>(a)};
    EXPECT_EQ(seen, (std::vector<std::pair<WPARAM, LPARAM>>{bToA, bToA}));
    EXPECT_EQ(active(), a);
    EXPECT_EQ(GetFocus(), a);
}

TEST_F(MdiTest, AMaximisedChildSharesTheFrameCaptionAndNewChildrenJoinMaximised) {
    HWND a = child("a");
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
    BOOL maximised = FALSE;
    EXPECT_EQ(active(&maximised), a);
    EXPECT_TRUE(maximised);
    EXPECT_EQ(frameText(), L"Frame - [a]");
    SetWindowTextW(a, L"renamed");
    EXPECT_EQ(frameText(), L"Frame - [renamed]");
    SetWindowTextW(frame, L"App");
    EXPECT_EQ(frameText(), L"App - [renamed]");

    HWND b = child("b");
    EXPECT_EQ(active(&maximised), b);
    EXPECT_TRUE(maximised && IsZoomed(b));
    EXPECT_FALSE(IsZoomed(a));
    // The maximised window covers the client with its frame outside it.
    RECT inClient{}, area{};
    GetClientRect(client, &area);
    GetWindowRect(b, &inClient);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&inClient), 2);
    EXPECT_LE(inClient.left, 0);
    EXPECT_GE(inClient.right, area.right);

    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(b), 0);
    EXPECT_EQ(active(&maximised), b);
    EXPECT_FALSE(maximised);
    EXPECT_EQ(frameText(), L"App");
}

TEST_F(MdiTest, NextAndPreviousCycleThroughTheVisibleChildren) {
    HWND a = child("a");
    HWND b = child("b");
    HWND c = child("c");
    child("hidden", 0);
    SendMessageW(client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(active(), b);
    SendMessageW(client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(active(), a);
    SendMessageW(client, WM_MDINEXT, 0, 0);
    EXPECT_EQ(active(), c);
    SendMessageW(client, WM_MDINEXT, 0, 1);
    EXPECT_EQ(active(), a);
}

struct Arrangement {
    const char* name;
    UINT message;
    WPARAM how;
    std::vector<RECT> expected; // window rectangles in client coordinates, oldest first
};

void PrintTo(const Arrangement& c, std::ostream* os) {
    *os << c.name;
}

class MdiArrangeTest : public MdiTest, public ::testing::WithParamInterface<Arrangement> {};

TEST_P(MdiArrangeTest, Rectangles) {
    const Arrangement& a = GetParam();
    HWND first = child("a");
    HWND second = child("b");
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    SendMessageW(client, a.message, a.how, 0);
    std::vector<RECT> got;
    for (HWND h : {first, second}) {
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
        got.push_back(r);
        EXPECT_FALSE(IsZoomed(h));
    }
    ASSERT_EQ(got.size(), a.expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(EqualRect(&got[i], &a.expected[i]))
            << i << ": " << got[i].left << "," << got[i].top << "," << got[i].right << "," << got[i].bottom;
    }
    EXPECT_EQ(frameText(), L"Frame");
}

RECT clientOfFrame() {
    RECT r{0, 0, 640, 480};
    RECT nc{0, 0, 0, 0};
    AdjustWindowRectEx(&nc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return RECT{0, 0, r.right - (nc.right - nc.left), r.bottom - (nc.bottom - nc.top)};
}

const int kW = clientOfFrame().right;
const int kH = clientOfFrame().bottom;
const int kStep = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);

INSTANTIATE_TEST_SUITE_P(Mdi, MdiArrangeTest,
                         ::testing::Values(Arrangement{"TileSideBySide",
                                                       WM_MDITILE,
                                                       MDITILE_VERTICAL,
                                                       {RECT{0, 0, kW / 2, kH}, RECT{kW / 2, 0, kW, kH}}},
                                           Arrangement{"TileOneAboveTheOther",
                                                       WM_MDITILE,
                                                       MDITILE_HORIZONTAL,
                                                       {RECT{0, 0, kW, kH / 2}, RECT{0, kH / 2, kW, kH}}},
                                           Arrangement{
                                               "Cascade",
                                               WM_MDICASCADE,
                                               0,
                                               {RECT{0, 0, std::max(kW - kStep, kW * 2 / 3),
                                                     std::max(kH - kStep, kH * 2 / 3)},
                                                RECT{kStep, kStep, kStep + std::max(kW - kStep, kW * 2 / 3),
                                                     kStep + std::max(kH - kStep, kH * 2 / 3)}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The window menu as "text:id", a checked item marked with "*".
std::vector<std::string> itemsOf(HMENU menu) {
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            out.push_back("-");
            continue;
        }
        wchar_t text[64]{};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        std::string item(text, text + wcslen(text));
        item +=
            ":" + std::to_string(static_cast<int>(GetMenuItemID(menu, i)) - static_cast<int>(kFirstChild));
        if (state & MF_CHECKED)
            item += "*";
        out.push_back(item);
    }
    return out;
}

TEST_F(MdiTest, TheWindowMenuListsTheDocumentWindowsAndChecksTheActiveOne) {
    HMENU bar = CreateMenu();
    HMENU windows = CreatePopupMenu();
    AppendMenuW(windows, MF_STRING, 0xE132, L"&Cascade");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), L"&Window");
    SetMenu(frame, bar);
    EXPECT_EQ(SendMessageW(client, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(windows)),
              reinterpret_cast<LRESULT>(bar));
    const auto cascade = std::to_string(0xE132 - static_cast<int>(kFirstChild));
    EXPECT_EQ(itemsOf(windows), Seq{"&Cascade:" + cascade}) << "nothing to list yet";

    HWND a = child("a");
    HWND b = child("b");
    child("hidden", 0);
    EXPECT_EQ(itemsOf(windows), (Seq{"&Cascade:" + cascade, "-", "&1 a:0", "&2 b:1*"}));
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    SetWindowTextW(b, L"renamed");
    EXPECT_EQ(itemsOf(windows), (Seq{"&Cascade:" + cascade, "-", "&1 a:0*", "&2 renamed:1"}));
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_EQ(itemsOf(windows), (Seq{"&Cascade:" + cascade, "-", "&1 renamed:0*"}));

    // A new window menu takes the list; the old one is left as it was.
    HMENU other = CreatePopupMenu();
    SendMessageW(client, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(itemsOf(windows), Seq{"&Cascade:" + cascade});
    EXPECT_EQ(itemsOf(other), (Seq{"-", "&1 renamed:0*"}));
    DestroyWindow(b);
    EXPECT_TRUE(itemsOf(other).empty());
    DestroyMenu(other);
}

TEST_F(MdiTest, MinimisedChildrenLineUpAlongTheBottom) {
    HWND a = child("a");
    HWND b = child("b");
    child("c");
    ShowWindow(a, SW_MINIMIZE);
    ShowWindow(b, SW_MINIMIZE);
    SetWindowPos(a, nullptr, 100, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(client, WM_MDIICONARRANGE, 0, 0);
    RECT area{}, ra{}, rb{};
    GetClientRect(client, &area);
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&ra), 2);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&rb), 2);
    EXPECT_EQ(ra.left, 0);
    EXPECT_EQ(ra.bottom, area.bottom);
    EXPECT_EQ(rb.left, ra.right);
    EXPECT_EQ(rb.bottom, area.bottom);
    // Activating a minimised child restores it.
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_FALSE(IsIconic(a));
    EXPECT_EQ(active(), a);
}

TEST_F(MdiTest, CommandIdsFollowCreationOrderAndCloseUpWhenAWindowGoes) {
    HWND a = child("a");
    HWND b = child("b");
    HWND c = child("c");
    EXPECT_EQ(GetDlgCtrlID(a), static_cast<int>(kFirstChild));
    EXPECT_EQ(GetDlgCtrlID(c), static_cast<int>(kFirstChild + 2));
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(b), 0);
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(GetDlgCtrlID(c), static_cast<int>(kFirstChild + 1));
    // The frame's default procedure activates a window from its command.
    DefFrameProcW(frame, client, WM_COMMAND, kFirstChild, 0);
    EXPECT_EQ(active(), a);
    DefFrameProcW(frame, client, WM_COMMAND, kFirstChild + 1, 0);
    EXPECT_EQ(active(), c);
}

TEST_F(MdiTest, AChildDestroyedDirectlyIsForgotten) {
    HWND a = child("a");
    HWND b = child("b");
    DestroyWindow(b);
    EXPECT_EQ(active(), a);
    DestroyWindow(a);
    EXPECT_EQ(active(), nullptr);
    EXPECT_EQ(SendMessageW(client, WM_MDICASCADE, 0, 0), 0);
}

TEST_F(MdiTest, BadRequestsAreRefusedQuietly) {
    HWND a = child("a");
    HWND stranger = CreateWindowExW(0, L"Recorded", L"x", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, const_cast<char*>("stranger"));
    for (UINT m : {WM_MDIACTIVATE, WM_MDIDESTROY, WM_MDIMAXIMIZE, WM_MDIRESTORE})
        SendMessageW(client, m, reinterpret_cast<WPARAM>(stranger), 0);
    EXPECT_TRUE(IsWindow(stranger));
    EXPECT_EQ(active(), a);
    EXPECT_FALSE(IsZoomed(stranger));
    EXPECT_EQ(SendMessageW(client, WM_MDICREATE, 0, 0), 0);
    MDICREATESTRUCTW unknown{L"NoSuchClass", L"x", nullptr, 0, 0, 10, 10, WS_VISIBLE, 0};
    EXPECT_EQ(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&unknown)), 0);
    EXPECT_EQ(active(), a);
}

} // namespace
} // namespace usertest
