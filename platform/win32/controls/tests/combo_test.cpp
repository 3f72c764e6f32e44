// Combo boxes: choosing in the list by mouse and by keys, typing in the edit, and the order of
// CBN_* the parent hears for each.
#include "notifications.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

using ComboTest = ControlTest;

constexpr int kRow = 13;

HWND makeCombo(ControlTest& t, DWORD style) {
    const HWND combo = t.make(L"ComboBox", L"", style, {10, 10, 210, style == CBS_SIMPLE ? 150 : 34}, 4);
    for (const wchar_t* item : {L"A0", L"A1", L"A2", L"A3"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return combo;
}

HWND listOf(HWND combo) {
    COMBOBOXINFO info{sizeof info, {}, {}, 0, nullptr, nullptr, nullptr};
    EXPECT_TRUE(GetComboBoxInfo(combo, &info));
    return info.hwndList;
}

struct ComboCase {
    const char* name;
    DWORD style;
    std::function<void(ComboTest&, HWND)> act;
    Log expected;
    int selected;
    std::wstring text;
};

void PrintTo(const ComboCase& c, std::ostream* os) {
    *os << c.name;
}

class ComboOrder : public ComboTest, public ::testing::WithParamInterface<ComboCase> {};

void openByMouse(ComboTest& t, HWND combo) {
    t.clickAt(combo, 195, 10);
}

const ComboCase kCombos[] = {
    {"MousePicksInTheDroppedList",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         openByMouse(t, c);
         t.clickAt(listOf(c), 5, 2 * kRow + 2);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELENDOK", "4:CBN_CLOSEUP", "4:CBN_SELCHANGE"},
     2,
     L"A2"},
    {"ClickOutsideCancels",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         openByMouse(t, c);
         t.clickAt(t.parent, 400, 300);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELENDCANCEL", "4:CBN_CLOSEUP"},
     0,
     L"A0"},
    {"ArrowsInTheDroppedListThenEnter",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         SetFocus(c);
         t.press(VK_F4);
         t.press(VK_DOWN);
         t.press(VK_DOWN);
         t.press(VK_RETURN);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELCHANGE", "4:CBN_SELCHANGE", "4:CBN_SELENDOK",
      "4:CBN_CLOSEUP"},
     2,
     L"A2"},
    {"EscapeClosesTheListKeepingWhatTheArrowsChose",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         SetFocus(c);
         t.press(VK_DOWN, {VK_MENU});
         t.press(VK_DOWN);
         t.press(VK_ESCAPE);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELCHANGE", "4:CBN_SELENDCANCEL", "4:CBN_CLOSEUP"},
     1,
     L"A1"},
    {"ArrowsOnTheClosedBoxChooseAtOnce",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         SetFocus(c);
         t.press(VK_DOWN);
         t.press(VK_END);
         t.press(VK_DOWN);
     },
     {"4:CBN_SETFOCUS", "4:CBN_SELENDOK", "4:CBN_SELCHANGE", "4:CBN_SELENDOK", "4:CBN_SELCHANGE"},
     3,
     L"A3"},
    {"TypingALetterInADropDownList",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Beta"));
         SetFocus(c);
         t.type(L"b");
     },
     {"4:CBN_SETFOCUS", "4:CBN_SELENDOK", "4:CBN_SELCHANGE"},
     4,
     L"Beta"},
    {"TypingInTheEditOfADropDown",
     CBS_DROPDOWN,
     [](ComboTest& t, HWND c) {
         SetFocus(c);
         t.type(L"Щ");
     },
     {"4:CBN_SETFOCUS", "4:CBN_EDITUPDATE", "4:CBN_EDITCHANGE"},
     0,
     L"Щ"},
    {"DropDownPicksIntoItsEdit",
     CBS_DROPDOWN,
     [](ComboTest& t, HWND c) {
         openByMouse(t, c);
         t.clickAt(listOf(c), 5, 3 * kRow + 2);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELENDOK", "4:CBN_CLOSEUP", "4:CBN_SELCHANGE"},
     3,
     L"A3"},
    {"SimpleBoxListIsAlwaysThere",
     CBS_SIMPLE,
     [](ComboTest& t, HWND c) { t.clickAt(listOf(c), 5, kRow + 2); },
     {"4:CBN_SETFOCUS", "4:CBN_SELENDOK", "4:CBN_SELCHANGE"},
     1,
     L"A1"},
    {"LeavingTheBoxWhileDroppedCancels",
     CBS_DROPDOWNLIST,
     [](ComboTest& t, HWND c) {
         SetFocus(c);
         t.press(VK_F4);
         SetFocus(t.parent);
     },
     {"4:CBN_SETFOCUS", "4:CBN_DROPDOWN", "4:CBN_SELENDCANCEL", "4:CBN_CLOSEUP", "4:CBN_KILLFOCUS"},
     0,
     L"A0"},
};

TEST_P(ComboOrder, ParentHearsThePlatformsOrder) {
    const ComboCase& c = GetParam();
    const HWND combo = makeCombo(*this, c.style);
    take();
    c.act(*this, combo);
    EXPECT_EQ(take(), c.expected);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selected);
    EXPECT_EQ(textOf(combo), c.text);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(Combos, ComboOrder, ::testing::ValuesIn(kCombos),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ComboTest, TheDroppedListIsAPopupUnderTheBox) {
    const HWND combo = makeCombo(*this, CBS_DROPDOWNLIST);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    const HWND list = listOf(combo);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_POPUP);
    RECT box{}, dropped{};
    GetWindowRect(combo, &box);
    GetWindowRect(list, &dropped);
    EXPECT_EQ(dropped.top, box.bottom);
    EXPECT_EQ(dropped.left, box.left);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(IsWindowVisible(list));
    DestroyWindow(combo);
    EXPECT_FALSE(IsWindow(list)) << "the list goes with its box";
}

TEST_F(ComboTest, ScrollBarsAskedOfTheBoxAreItsListsAndTheBoxKeepsItsWholeWidth) {
    for (const DWORD kind : {DWORD(CBS_DROPDOWN), DWORD(CBS_DROPDOWNLIST)}) {
        SCOPED_TRACE(kind == CBS_DROPDOWN ? "drop-down" : "drop-down list");
        const HWND plain = makeCombo(*this, kind);
        const HWND scrolled = makeCombo(*this, kind | WS_VSCROLL | WS_HSCROLL);
        EXPECT_EQ(GetWindowLongW(scrolled, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
        RECT a{}, b{};
        GetClientRect(plain, &a);
        GetClientRect(scrolled, &b);
        EXPECT_EQ(b.right, a.right) << "no bar beside the box's own arrow";
        EXPECT_EQ(b.bottom, a.bottom);
        DestroyWindow(plain);
        DestroyWindow(scrolled);
    }
}

TEST_F(ComboTest, IndexesThatDoNotExistAnswerCbErr) {
    const HWND combo = makeCombo(*this, CBS_DROPDOWNLIST);
    wchar_t buffer[8] = {L'x', 0};
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {"GETLBTEXT", CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(buffer)},
        {"GETLBTEXTLEN", CB_GETLBTEXTLEN, static_cast<WPARAM>(-2), 0},
        {"GETITEMDATA", CB_GETITEMDATA, 10, 0},
        {"SETITEMDATA", CB_SETITEMDATA, 10, 1},
        {"DELETESTRING", CB_DELETESTRING, 4, 0},
        {"SETCURSEL", CB_SETCURSEL, 4, 0},
        {"FINDSTRINGEXACT", CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
         reinterpret_cast<LPARAM>(L"nothing")},
        {"GETEDITSEL without an edit", CB_GETEDITSEL, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendMessageW(combo, c.message, c.wParam, c.lParam), CB_ERR) << c.name;
    EXPECT_EQ(buffer[0], L'x');
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "a refused SETCURSEL clears the selection";
}

TEST_F(ComboTest, EditTextIsCutAtTheLimit) {
    const HWND combo = makeCombo(*this, CBS_DROPDOWN);
    SendMessageW(combo, CB_LIMITTEXT, 2, 0);
    SetFocus(combo);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, static_cast<WORD>(-1)));
    type(L"xyz");
    EXPECT_EQ(textOf(combo), L"xy");
}

} // namespace
} // namespace controlstest
