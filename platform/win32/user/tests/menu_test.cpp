// Menus: the model's functions, the messages a tracked popup sends its owner and in which order,
// the choice by keys, clicks and the responder, and accelerators.
#include "pal/test/user_test.h"

#include "pal/format.h"
#include "pal/sandbox.h"
#include "pal/test/snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class MenuTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        self = this;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &MenuTest::proc;
        wc.lpszClassName = L"MenuOwner";
        ASSERT_NE(RegisterClassExW(&wc), 0);
        owner = CreateWindowExW(0, L"MenuOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600,
                                400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        main = CreatePopupMenu();
        recent = CreatePopupMenu();
        AppendMenuW(recent, MF_STRING, 201, L"&First.dwg");
        AppendMenuW(recent, MF_STRING, 202, L"S&econd.dwg");
        AppendMenuW(main, MF_STRING, 101, L"&Open...\tCtrl+O");
        AppendMenuW(main, MF_STRING | MF_GRAYED, 102, L"&Close");
        AppendMenuW(main, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(main, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
        AppendMenuW(main, MF_STRING, 0x12345, L"&Save");
        names = {{main, "main"}, {recent, "recent"}};
    }
    void TearDown() override {
        DestroyMenu(main);
        UserTest::TearDown();
        self = nullptr;
    }

    // Tracks the main menu at (120, 130) and pumps what it posted.
    UINT track(UINT flags = TPM_RETURNCMD) {
        const UINT r = static_cast<UINT>(TrackPopupMenu(main, flags, 120, 130, 0, owner, nullptr));
        pal::test::pump();
        return r;
    }

    std::string menuName(LPARAM h) const {
        const auto it = names.find(reinterpret_cast<HMENU>(h));
        return it == names.end() ? pal::format("%p", reinterpret_cast<void*>(h)) : it->second;
    }

    static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        MenuTest* t = self;
        if (!t)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
        case WM_ENTERMENULOOP:
            t->log.push_back(pal::format("ENTERMENULOOP %d", static_cast<int>(wParam)));
            if (t->onEnterLoop)
                std::exchange(t->onEnterLoop, nullptr)();
            break;
        case WM_CAPTURECHANGED:
            t->log.push_back("CAPTURECHANGED");
            break;
        case WM_EXITMENULOOP:
            t->log.push_back(pal::format("EXITMENULOOP %d", static_cast<int>(wParam)));
            break;
        case WM_INITMENU:
            t->log.push_back("INITMENU " + t->menuName(static_cast<LPARAM>(wParam)));
            break;
        case WM_INITMENUPOPUP:
            t->log.push_back(pal::format("INITMENUPOPUP %s %d",
                                         t->menuName(static_cast<LPARAM>(wParam)).c_str(),
                                         LOWORD(static_cast<DWORD_PTR>(lParam))));
            if (t->onInitPopup)
                std::exchange(t->onInitPopup, nullptr)(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_UNINITMENUPOPUP:
            t->log.push_back("UNINITMENUPOPUP " + t->menuName(static_cast<LPARAM>(wParam)));
            break;
        case WM_MENUSELECT:
            if (HIWORD(wParam) == 0xFFFF && lParam == 0)
                t->log.push_back("MENUSELECT closed");
            else
                t->log.push_back(
                    pal::format("MENUSELECT %s %u", t->menuName(lParam).c_str(), LOWORD(wParam)));
            break;
        case WM_COMMAND:
            t->log.push_back(pal::format("COMMAND 0x%X %u", LOWORD(wParam), HIWORD(wParam)));
            break;
        case WM_CONTEXTMENU:
            t->log.push_back(pal::format("CONTEXTMENU %d %d", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
            return 0;
        case WM_SYSCOMMAND:
            t->log.push_back(pal::format("SYSCOMMAND 0x%X", static_cast<unsigned>(wParam)));
            return 0;
        case WM_ENTERIDLE:
            if (wParam == MSGF_MENU && t->onIdle) {
                auto act = std::move(t->onIdle);
                t->onIdle = nullptr;
                act(reinterpret_cast<HWND>(lParam));
            }
            return 0;
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    // The screen point at the middle of an item of a menu being tracked.
    POINT itemCenter(HMENU menu, UINT position) const {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(owner, menu, position, &r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    static inline MenuTest* self = nullptr;
    HWND owner = nullptr;
    HMENU main = nullptr;
    HMENU recent = nullptr;
    std::map<HMENU, std::string> names;
    Log log;
    // Runs once, the first time the menu is idle: a person's keys and clicks arrive then.
    std::function<void(HWND popup)> onIdle;
    // Run once, when the menu loop begins and when a popup is about to show.
    std::function<void()> onEnterLoop;
    std::function<void(HMENU)> onInitPopup;
};

void keys(std::initializer_list<int> list) {
    for (int k : list)
        pal::test::pressKey(k);
}

struct OrderCase {
    const char* name;
    std::function<void(MenuTest&)> arrange; // queues answers or input
    UINT flags;
    Log expected;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.name;
}

class MenuOrder : public MenuTest, public ::testing::WithParamInterface<OrderCase> {
public:
    using MenuTest::onEnterLoop;
    using MenuTest::onIdle;
};

TEST_P(MenuOrder, OwnerIsToldInThePlatformsOrder) {
    GetParam().arrange(*this);
    track(GetParam().flags);
    EXPECT_EQ(log, GetParam().expected);
}

const OrderCase kOrder[] = {
    {"ChosenByKeys",
     [](MenuTest& t) { static_cast<MenuOrder&>(t).onIdle = [](HWND) {
                           keys({VK_DOWN, VK_RETURN});
                       }; },
     0,
     {"ENTERMENULOOP 1", "INITMENU main", "INITMENUPOPUP main 0", "CAPTURECHANGED", "MENUSELECT main 101",
      "UNINITMENUPOPUP main", "MENUSELECT closed", "EXITMENULOOP 1", "COMMAND 0x65 0"}},
    {"IntoASubmenuByKeys",
     [](MenuTest& t) {
         static_cast<MenuOrder&>(t).onIdle = [](HWND) { keys({VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}); };
     },
     0,
     {"ENTERMENULOOP 1", "INITMENU main", "INITMENUPOPUP main 0", "CAPTURECHANGED", "MENUSELECT main 9029",
      "MENUSELECT main 3", "INITMENUPOPUP recent 3", "MENUSELECT recent 201", "MENUSELECT recent 202",
      "UNINITMENUPOPUP recent", "UNINITMENUPOPUP main", "MENUSELECT closed", "EXITMENULOOP 1",
      "COMMAND 0xCA 0"}},
    {"DismissedWithEscape",
     [](MenuTest& t) { static_cast<MenuOrder&>(t).onIdle = [](HWND) {
                           keys({VK_DOWN, VK_ESCAPE});
                       }; },
     0,
     {"ENTERMENULOOP 1", "INITMENU main", "INITMENUPOPUP main 0", "CAPTURECHANGED", "MENUSELECT main 101",
      "UNINITMENUPOPUP main", "MENUSELECT closed", "EXITMENULOOP 1"}},
    {"ChosenByTheResponderThroughASubmenu",
     [](MenuTest&) { pal::test::pushAnswer(L"Second.dwg"); },
     TPM_RETURNCMD,
     {"ENTERMENULOOP 1", "INITMENU main", "INITMENUPOPUP main 0", "CAPTURECHANGED", "MENUSELECT main 3",
      "INITMENUPOPUP recent 3", "MENUSELECT recent 202", "UNINITMENUPOPUP recent", "UNINITMENUPOPUP main",
      "MENUSELECT closed", "EXITMENULOOP 1"}},
    {"EndedByItsOwnerAsItsLoopBegins",
     [](MenuTest& t) { static_cast<MenuOrder&>(t).onEnterLoop = [] { EndMenu(); }; },
     0,
     {"ENTERMENULOOP 1", "MENUSELECT closed", "EXITMENULOOP 1"}},
    {"EndedByItsOwnerWhenIdle",
     [](MenuTest& t) { static_cast<MenuOrder&>(t).onIdle = [](HWND) { EndMenu(); }; },
     0,
     {"ENTERMENULOOP 1", "INITMENU main", "INITMENUPOPUP main 0", "CAPTURECHANGED", "UNINITMENUPOPUP main",
      "MENUSELECT closed", "EXITMENULOOP 1"}},
};

INSTANTIATE_TEST_SUITE_P(Menus, MenuOrder, ::testing::ValuesIn(kOrder),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuTest, TheResponderChoosesByIdOrTextAndTheCommandCarriesTheLowWord) {
    const struct {
        const char* name;
        std::function<void()> answer;
        UINT flags;
        UINT returned;
        const char* command; // what the owner receives, or null
    } cases[] = {
        {"id, returned", [] { pal::test::pushAnswer(0x12345); }, TPM_RETURNCMD, 0x12345u, nullptr},
        {"id, posted", [] { pal::test::pushAnswer(0x12345); }, 0, TRUE, "COMMAND 0x2345 0"},
        {"text without marks", [] { pal::test::pushAnswer(L"open..."); }, TPM_RETURNCMD, 101u, nullptr},
        {"text as written", [] { pal::test::pushAnswer(L"&Save"); }, TPM_RETURNCMD, 0x12345u, nullptr},
        {"dismissed", [] { pal::test::pushAnswer(0); }, TPM_RETURNCMD, 0u, nullptr},
        {"no notification", [] { pal::test::pushAnswer(101); }, TPM_NONOTIFY, TRUE, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        c.answer();
        EXPECT_EQ(track(c.flags), c.returned);
        const bool commanded = !log.empty() && log.back().rfind("COMMAND", 0) == 0;
        EXPECT_EQ(commanded ? log.back() : std::string(), c.command ? c.command : "");
    }
    const auto prompts = journal("prompt");
    ASSERT_EQ(prompts.size(), std::size(cases));
    EXPECT_EQ(prompts[0].get("kind"), "PopupMenu");
    EXPECT_EQ(prompts[0].get("text"), "Open... | Close | Recent | Save");
    EXPECT_EQ(prompts[0].get("answer"), std::to_string(0x12345));
    EXPECT_EQ(prompts[0].get("by"), "responder");
}

TEST_F(MenuTest, ClicksOpenASubmenuAndChooseAnItem) {
    // The press on "Recent" opens its submenu; at the next idle moment the second item is clicked.
    onIdle = [this](HWND) {
        pal::test::click(itemCenter(main, 3));
        onIdle = [this](HWND) { pal::test::click(itemCenter(recent, 1)); };
    };
    EXPECT_EQ(track(), 202u);
    EXPECT_EQ(journal("prompt").at(0).get("by"), "input");
}

TEST_F(MenuTest, APressOutsideDismissesTheMenu) {
    onIdle = [](HWND) { pal::test::click(POINT{900, 900}); };
    EXPECT_EQ(track(), 0u);
}

TEST_F(MenuTest, MnemonicsChooseTheirItem) {
    onIdle = [](HWND) { keys({'S'}); };
    EXPECT_EQ(track(), 0x12345u);
    onIdle = [](HWND) { keys({'R', 'E'}); };
    EXPECT_EQ(track(), 202u);
}

TEST_F(MenuTest, ADisabledItemCannotBeChosen) {
    // Enter and a click on the disabled item leave the menu open; Escape then dismisses it.
    onIdle = [this](HWND) {
        keys({VK_DOWN, VK_DOWN, VK_RETURN, 'C'});
        pal::test::click(itemCenter(main, 1));
        keys({VK_ESCAPE});
    };
    EXPECT_EQ(track(), 0u);
    EXPECT_EQ(log.back(), "EXITMENULOOP 1");

    allowRefusedAnswers = true;
    answer(102);
    EXPECT_EQ(track(), 0u);
    const auto refused = journal("prompt.refused");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].get("reason"), "the item is disabled");
}

TEST_F(MenuTest, AnAnswerNamingNoItemIsRefused) {
    allowRefusedAnswers = true;
    const struct {
        std::function<void()> answer;
    } cases[] = {{[] { pal::test::pushAnswer(999); }}, {[] { pal::test::pushAnswer(L"Print"); }}, {[] {
                     pal::test::pushAnswer(L"Recent");
                 }}};
    for (const auto& c : cases) {
        c.answer();
        EXPECT_EQ(track(), 0u);
    }
    const auto refused = journal("prompt.refused");
    ASSERT_EQ(refused.size(), std::size(cases));
    EXPECT_EQ(refused[0].get("answer"), "999");
    EXPECT_EQ(refused[0].get("reason"), "the menu has no such item");
    EXPECT_EQ(refused[1].get("answer"), "Print");
    EXPECT_EQ(refused[2].get("reason"), "the item is a submenu");
}

TEST_F(MenuTest, AnUnansweredMenuIsDismissedAndRecorded) {
    allowUnansweredPrompts = true;
    EXPECT_EQ(track(), 0u);
    ASSERT_EQ(journal("prompt.unanswered").size(), 1u);
}

// An empty menu still asks its owner to fill it; one left empty shows nothing and returns zero,
// one filled then shows as any other.
TEST_F(MenuTest, AMenuWithNoItemsAsksItsOwnerToFillItAndShowsNothingWhenItStaysEmpty) {
    const HMENU empty = CreatePopupMenu();
    names[empty] = "empty";
    EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
    EXPECT_EQ(TrackPopupMenu(empty, 0, 10, 10, 0, owner, nullptr), 0);
    const Log once{"ENTERMENULOOP 1", "INITMENU empty", "INITMENUPOPUP empty 0", "MENUSELECT closed",
                   "EXITMENULOOP 1"};
    Log twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(log, twice);
    EXPECT_TRUE(journal("prompt").empty());

    onInitPopup = [](HMENU m) { AppendMenuW(m, MF_STRING, 301, L"&Filled"); };
    onIdle = [](HWND) { keys({VK_DOWN, VK_RETURN}); };
    EXPECT_EQ(TrackPopupMenu(empty, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 301);
    DestroyMenu(empty);
}

TEST_F(MenuTest, OddItemTextsAreLaidOutWithinTheScreen) {
    const std::wstring huge(10000, L'W');
    const HMENU odd = CreatePopupMenu();
    AppendMenuW(odd, MF_STRING, 1, L"&");
    AppendMenuW(odd, MF_STRING, 2, L"Fish & Chips");
    AppendMenuW(odd, MF_STRING, 3, huge.c_str());
    RECT item{};
    pal::gdi::Surface shot;
    onIdle = [&](HWND popup) {
        GetMenuItemRect(owner, odd, 2, &item);
        shot = pal::test::snapshot(popup, true);
        keys({VK_UP, VK_RETURN});
    };
    EXPECT_EQ(TrackPopupMenu(odd, TPM_RETURNCMD, 1800, 1000, 0, owner, nullptr), 3);
    EXPECT_GT(shot.width(), 0) << "the popup painted";
    EXPECT_GE(item.left, 0);
    EXPECT_LE(item.right, 1920);
    EXPECT_LE(item.bottom, 1040);
    answer(L"Fish & Chips");
    EXPECT_EQ(TrackPopupMenu(odd, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 2);
    DestroyMenu(odd);
}

TEST_F(MenuTest, TheSnapshotShowsTheSelectionSeparatorChecksAndSubmenuArrow) {
    CheckMenuItem(main, 101, MF_CHECKED);
    pal::gdi::Surface shot;
    RECT open{}, separator{}, more{};
    onIdle = [&](HWND) {
        keys({VK_DOWN});
        onIdle = [&](HWND popup) {
            ASSERT_TRUE(pal::test::saveSnapshot(popup, pal::sandbox::root() / "menu.png"));
            shot = pal::test::snapshot(popup, true);
            GetMenuItemRect(owner, main, 0, &open);
            GetMenuItemRect(owner, main, 2, &separator);
            GetMenuItemRect(owner, main, 3, &more);
            for (RECT* r : {&open, &separator, &more})
                MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(r), 2);
            keys({VK_ESCAPE});
        };
    };
    EXPECT_EQ(track(), 0u);
    ASSERT_GT(shot.width(), 0);
    EXPECT_EQ(shot.pixel(open.right - 3, open.top + 2), GetSysColor(COLOR_HIGHLIGHT)) << "the selected item";
    EXPECT_EQ(shot.pixel(more.right - 3, more.top + 2), GetSysColor(COLOR_MENU)) << "an item not selected";
    const int middle = (separator.top + separator.bottom) / 2;
    EXPECT_EQ(shot.pixel(separator.left + 20, middle - 1), GetSysColor(COLOR_BTNSHADOW)) << "the separator";
    EXPECT_EQ(shot.pixel(more.right - 12, (more.top + more.bottom) / 2), GetSysColor(COLOR_MENUTEXT))
        << "the submenu's arrow";
    EXPECT_EQ(shot.pixel(open.left + 13, (open.top + open.bottom) / 2 + 3), GetSysColor(COLOR_HIGHLIGHTTEXT))
        << "the check mark in the selected item's colour";
}

// The menu's default item is written in bold: with the same text, it holds more ink than another.
TEST_F(MenuTest, TheDefaultItemIsWrittenInBold) {
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Run the command");
    AppendMenuW(menu, MF_STRING, 2, L"Run the command");
    ASSERT_TRUE(SetMenuDefaultItem(menu, 2, FALSE));
    pal::gdi::Surface shot;
    RECT plain{}, heavy{};
    onIdle = [&](HWND popup) {
        shot = pal::test::snapshot(popup, true);
        GetMenuItemRect(owner, menu, 0, &plain);
        GetMenuItemRect(owner, menu, 1, &heavy);
        for (RECT* r : {&plain, &heavy})
            MapWindowPoints(nullptr, popup, reinterpret_cast<POINT*>(r), 2);
        keys({VK_ESCAPE});
    };
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0);
    ASSERT_GT(shot.width(), 0);
    const auto ink = [&](const RECT& r) {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count +=
                    GetRValue(shot.pixel(x, y)) + GetGValue(shot.pixel(x, y)) + GetBValue(shot.pixel(x, y)) <
                    3 * 128; // dark, as the text is on the menu's light ground
        return count;
    };
    EXPECT_GT(ink(heavy), ink(plain) * 5 / 4) << ink(heavy) << " against " << ink(plain);
    DestroyMenu(menu);
}

TEST_F(MenuTest, ThePopupIsPlacedByItsAlignmentAndKeptOnTheWorkArea) {
    const struct {
        const char* name;
        UINT flags;
        POINT at;
        std::function<bool(const RECT&, POINT)> placed;
    } cases[] = {
        {"left top", 0, {300, 200}, [](const RECT& r, POINT p) { return r.left == p.x && r.top == p.y; }},
        {"right",
         TPM_RIGHTALIGN,
         {300, 200},
         [](const RECT& r, POINT p) { return r.right == p.x && r.top == p.y; }},
        {"bottom",
         TPM_BOTTOMALIGN,
         {300, 500},
         [](const RECT& r, POINT p) { return r.left == p.x && r.bottom == p.y; }},
        {"centre",
         TPM_CENTERALIGN | TPM_VCENTERALIGN,
         {300, 300},
         [](const RECT& r, POINT p) {
             return std::abs((r.left + r.right) / 2 - p.x) <= 1 &&
                    std::abs((r.top + r.bottom) / 2 - p.y) <= 1;
         }},
        {"flipped at the right edge", 0, {1910, 200}, [](const RECT& r, POINT p) { return r.right == p.x; }},
        {"flipped at the taskbar", 0, {300, 1030}, [](const RECT& r, POINT p) { return r.bottom == p.y; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT r{};
        onIdle = [&](HWND popup) {
            GetWindowRect(popup, &r);
            keys({VK_ESCAPE});
        };
        TrackPopupMenu(main, TPM_RETURNCMD | c.flags, c.at.x, c.at.y, 0, owner, nullptr);
        EXPECT_TRUE(c.placed(r, c.at)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
        EXPECT_LE(r.bottom, 1040);
        EXPECT_LE(r.right, 1920);
    }
}

TEST_F(MenuTest, ItemsAreBuiltReadAndChanged) {
    const HMENU m = CreatePopupMenu();
    const HMENU sub = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, 10, L"&Ten");
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&More");
    AppendMenuW(sub, MF_STRING | MF_CHECKED, 30, L"Thirty");
    InsertMenuW(m, 10, MF_BYCOMMAND | MF_STRING, 5, L"Five");

    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_DATA;
    info.wID = 20;
    info.dwTypeData = const_cast<LPWSTR>(L"Twenty");
    info.fState = MFS_DEFAULT;
    info.dwItemData = 77;
    ASSERT_TRUE(InsertMenuItemW(m, 2, TRUE, &info));

    EXPECT_EQ(GetMenuItemCount(m), 4);
    EXPECT_EQ(GetMenuItemID(m, 0), 5u);
    EXPECT_EQ(GetMenuItemID(m, 1), 10u);
    EXPECT_EQ(GetMenuItemID(m, 2), 20u);
    EXPECT_EQ(GetMenuItemID(m, 3), static_cast<UINT>(-1)) << "a submenu has no id";
    EXPECT_EQ(GetSubMenu(m, 3), sub);
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), 20u);

    wchar_t buffer[4];
    MENUITEMINFOW read{};
    read.cbSize = sizeof read;
    read.fMask = MIIM_STRING | MIIM_DATA;
    read.dwTypeData = buffer;
    read.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoW(m, 20, FALSE, &read));
    EXPECT_STREQ(buffer, L"Twe") << "a short buffer takes what fits";
    EXPECT_EQ(read.dwItemData, 77u);

    // By command the search reaches into submenus.
    EXPECT_EQ(CheckMenuItem(m, 30, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(m, 30, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(EnableMenuItem(m, 1, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(m, 10, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(CheckMenuItem(m, 99, MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(m, 99, MF_GRAYED), -1);

    ASSERT_TRUE(ModifyMenuW(m, 0, MF_BYPOSITION | MF_STRING, 6, L"Six"));
    EXPECT_EQ(GetMenuItemID(m, 0), 6u);
    wchar_t text[16];
    EXPECT_EQ(GetMenuStringW(m, 6, text, 16, MF_BYCOMMAND), 3);
    EXPECT_STREQ(text, L"Six");

    // Removing keeps the submenu alive; deleting destroys it.
    ASSERT_TRUE(RemoveMenu(m, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub));
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&More");
    ASSERT_TRUE(DeleteMenu(m, 3, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(DeleteMenu(m, 3, MF_BYPOSITION));

    ASSERT_TRUE(DestroyMenu(m));
    EXPECT_FALSE(IsMenu(m));
    EXPECT_EQ(GetMenuItemCount(m), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(AppendMenuW(m, MF_STRING, 1, L"x"));
}

TEST_F(MenuTest, TheWindowMenuIsTheWindowsOwnCopy) {
    const HMENU sys = GetSystemMenu(owner, FALSE);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(GetSystemMenu(owner, FALSE), sys);
    EXPECT_EQ(GetMenuItemID(sys, GetMenuItemCount(sys) - 1), static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(GetSystemMenu(owner, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(sys));
}

TEST_F(MenuTest, AcceleratorsTurnKeysIntoCommands) {
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'S', 57603},
                       {FVIRTKEY | FCONTROL | FSHIFT, 'S', 57604},
                       {FVIRTKEY, VK_F5, 32771},
                       {FVIRTKEY | FALT, VK_RETURN, 32772},
                       {0, L'?', 32773},
                       {FVIRTKEY | FALT, VK_F4, static_cast<WORD>(SC_CLOSE)}};
    const HACCEL table = CreateAcceleratorTableW(entries, static_cast<int>(std::size(entries)));
    ASSERT_NE(table, nullptr);
    const struct {
        int key;
        std::initializer_list<int> modifiers;
        const char* expected; // null: no command
    } cases[] = {
        {'S', {VK_CONTROL}, "COMMAND 0xE103 1"},
        {'S', {VK_CONTROL, VK_SHIFT}, "COMMAND 0xE104 1"},
        {'S', {}, nullptr},
        {'S', {VK_SHIFT}, nullptr},
        {VK_F5, {}, "COMMAND 0x8003 1"},
        {VK_F5, {VK_CONTROL}, nullptr},
        {VK_RETURN, {VK_MENU}, "COMMAND 0x8004 1"},
        {VK_OEM_2, {VK_SHIFT}, "COMMAND 0x8005 1"},
        {VK_F4, {VK_MENU}, "SYSCOMMAND 0xF060"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        log.clear();
        pal::test::pressKey(c.key, c.modifiers);
        pal::test::PumpOptions options;
        options.preTranslate = [&](MSG& m) { return TranslateAcceleratorW(owner, table, &m) != 0; };
        pal::test::pump(options);
        EXPECT_EQ(log, c.expected ? Log{c.expected} : Log{});
    }

    EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 6);
    ACCEL copy[2]{};
    EXPECT_EQ(CopyAcceleratorTableW(table, copy, 2), 2);
    EXPECT_EQ(copy[1].cmd, 57604);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    MSG msg{owner, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(owner, table, &msg), 0);
}

TEST_F(MenuTest, ARightClickOrTheMenuKeyAsksForTheContextMenu) {
    POINT inside{0, 0};
    ClientToScreen(owner, &inside);
    inside.x += 40;
    inside.y += 30;
    pal::test::click(inside, pal::test::MouseButton::Right);
    pal::test::pressKey(VK_APPS);
    pal::test::pressKey(VK_F10, {VK_SHIFT});
    pal::test::pump();
    EXPECT_EQ(log,
              (Log{pal::format("CONTEXTMENU %d %d", static_cast<int>(inside.x), static_cast<int>(inside.y)),
                   "CONTEXTMENU -1 -1", "CONTEXTMENU -1 -1"}));
}

TEST_F(MenuTest, BeepsAreJournaled) {
    MessageBeep(0x40); // MB_ICONASTERISK
    MessageBeep(0xFFFFFFFF);
    const auto sounds = journal("sound");
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].get("type"), "0x40");
    EXPECT_EQ(sounds[1].get("type"), "0xFFFFFFFF");
}

} // namespace
