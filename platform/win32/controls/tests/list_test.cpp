// List boxes: items, sorting and data, the selection modes by mouse and keys, and the answers to
// indexes that do not exist.
#include "notifications.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

using ListTest = ControlTest;

constexpr int kRow = 13; // the item height of the system's dialog font

HWND fill(ControlTest& t, HWND list, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    return list;
}

std::wstring itemText(HWND list, int index) {
    wchar_t buffer[64] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

TEST_F(ListTest, SortedListOrdersWithoutCaseAndKeepsItemData) {
    const HWND list = make(L"ListBox", L"", LBS_SORT | LBS_NOTIFY, {10, 10, 210, 110}, 9);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Times")), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"arial")), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"GOST type A")), 1);
    SendMessageW(list, LB_SETITEMDATA, 1, 77);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"zzz")), 0)
        << "inserting does not sort";
    EXPECT_EQ(itemText(list, 0), L"zzz");
    EXPECT_EQ(itemText(list, 2), L"GOST type A");
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), 77);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"ti")), 3);
    EXPECT_EQ(
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"ti")),
        LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
}

TEST_F(ListTest, IndexesThatDoNotExistAnswerLbErr) {
    const HWND list = fill(*this, make(L"ListBox", L"", LBS_NOTIFY, {10, 10, 210, 110}, 9), {L"a", L"b"});
    const HWND multi = fill(*this, make(L"ListBox", L"", LBS_MULTIPLESEL, {220, 10, 420, 110}, 10), {L"a"});
    wchar_t buffer[4] = {L'x', 0, 0, 0};
    RECT r{};
    const struct {
        const char* name;
        HWND list;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {"GETTEXT past the end", list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)},
        {"GETTEXT negative", list, LB_GETTEXT, static_cast<WPARAM>(-5), reinterpret_cast<LPARAM>(buffer)},
        {"GETTEXTLEN", list, LB_GETTEXTLEN, 2, 0},
        {"GETITEMDATA", list, LB_GETITEMDATA, 99, 0},
        {"SETITEMDATA", list, LB_SETITEMDATA, 99, 1},
        {"DELETESTRING", list, LB_DELETESTRING, 2, 0},
        {"INSERTSTRING past the end", list, LB_INSERTSTRING, 5, reinterpret_cast<LPARAM>(L"x")},
        {"SETCURSEL past the end", list, LB_SETCURSEL, 2, 0},
        {"SETCURSEL -1 clears and says so", list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0},
        {"GETCURSEL with nothing selected", list, LB_GETCURSEL, 0, 0},
        {"GETSEL", list, LB_GETSEL, 7, 0},
        {"GETITEMRECT", list, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&r)},
        {"SETSEL on a single-selection list", list, LB_SETSEL, TRUE, 0},
        {"GETSELCOUNT on a single-selection list", list, LB_GETSELCOUNT, 0, 0},
        {"SETCURSEL on a multiple-selection list", multi, LB_SETCURSEL, 0, 0},
        {"SETSEL past the end", multi, LB_SETSEL, TRUE, 4},
        {"FINDSTRING of nothing there", list, LB_FINDSTRING, static_cast<WPARAM>(-1),
         reinterpret_cast<LPARAM>(L"q")},
        {"SETITEMHEIGHT too tall", list, LB_SETITEMHEIGHT, 0, 300},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendMessageW(c.list, c.message, c.wParam, c.lParam), LB_ERR) << c.name;
    EXPECT_EQ(buffer[0], L'x') << "a refused GETTEXT leaves the buffer alone";
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
}

TEST_F(ListTest, MouseAndKeysSelectInEachMode) {
    const struct {
        const char* name;
        DWORD style;
        std::function<void(ListTest&, HWND)> act;
        std::vector<int> selected;
        Log heard;
    } cases[] = {
        {"single by click",
         LBS_NOTIFY,
         [](ListTest& t, HWND l) { t.clickAt(l, 5, kRow + 2); },
         {1},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE"}},
        {"a press selects, the release tells",
         LBS_NOTIFY,
         [](ListTest& t, HWND l) {
             PostMessageW(l, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, kRow + 2));
             t.pump();
         },
         {1},
         {"9:LBN_SETFOCUS"}},
        {"single by arrows",
         LBS_NOTIFY,
         [](ListTest& t, HWND l) {
             SetFocus(l);
             t.press(VK_DOWN);
             t.press(VK_DOWN);
             t.press(VK_UP);
         },
         {1},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE"}},
        {"single without notify", 0, [](ListTest& t, HWND l) { t.clickAt(l, 5, 2 * kRow + 2); }, {2}, {}},
        {"double click",
         LBS_NOTIFY,
         [](ListTest& t, HWND l) { t.doubleClickAt(l, 5, 2); },
         {0},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE", "9:LBN_DBLCLK"}},
        {"multiple toggles",
         LBS_NOTIFY | LBS_MULTIPLESEL,
         [](ListTest& t, HWND l) {
             t.clickAt(l, 5, 2);
             t.clickAt(l, 5, 2 * kRow + 2);
             t.clickAt(l, 5, 2);
         },
         {2},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE"}},
        {"extended with shift",
         LBS_NOTIFY | LBS_EXTENDEDSEL,
         [](ListTest& t, HWND l) {
             t.clickAt(l, 5, kRow + 2);
             SetFocus(l);
             t.press(VK_DOWN, {VK_SHIFT});
             t.press(VK_DOWN, {VK_SHIFT});
         },
         {1, 2, 3},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE", "9:LBN_SELCHANGE"}},
        {"typing a letter",
         LBS_NOTIFY,
         [](ListTest& t, HWND l) {
             SetFocus(l);
             t.type(L"d");
         },
         {3},
         {"9:LBN_SETFOCUS", "9:LBN_SELCHANGE"}},
    };
    for (const auto& c : cases) {
        const HWND list =
            fill(*this, make(L"ListBox", L"", c.style, {10, 10, 210, 110}, 9), {L"a", L"b", L"c", L"d"});
        take();
        c.act(*this, list);
        EXPECT_EQ(take(), c.heard) << c.name;
        std::vector<int> selected;
        for (int i = 0; i < 4; ++i) {
            if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                selected.push_back(i);
        }
        EXPECT_EQ(selected, c.selected) << c.name;
        DestroyWindow(list);
        SetFocus(parent);
        take();
    }
}

TEST_F(ListTest, OwnerDrawnVariableItemsAskTheirHeightAndAreDeletedThroughTheParent) {
    std::vector<std::string> heard;
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == WM_MEASUREITEM) {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            m->itemHeight = 20 + static_cast<UINT>(m->itemData);
            heard.push_back("measure " + std::to_string(m->itemID));
            result = TRUE;
            return true;
        }
        if (message == WM_DELETEITEM) {
            heard.push_back("delete data " +
                            std::to_string(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData));
            result = TRUE;
            return true;
        }
        return false;
    };
    const HWND list = make(L"ListBox", L"", LBS_OWNERDRAWVARIABLE, {10, 10, 210, 110}, 9);
    SendMessageW(list, LB_ADDSTRING, 0, 5);
    SendMessageW(list, LB_ADDSTRING, 0, 7);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 1, 0), 27);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 0, 0), 5)
        << "without LBS_HASSTRINGS the value is the item's data";
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(heard, (std::vector<std::string>{"measure 0", "measure 1", "delete data 5", "delete data 7"}));
}

TEST_F(ListTest, OwnerDrawnFixedItemsAreMeasuredOnceAndDrawnByTheParent) {
    std::vector<std::string> heard;
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 21;
            heard.push_back("measure");
            result = TRUE;
            return true;
        }
        if (message == WM_DRAWITEM) {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            heard.push_back("draw " + std::to_string(d->itemID) +
                            ((d->itemState & ODS_SELECTED) ? " selected" : "") + " at " +
                            std::to_string(d->rcItem.top));
            result = TRUE;
            return true;
        }
        return false;
    };
    const HWND list = make(L"ListBox", L"", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, {10, 10, 210, 110}, 9);
    fill(*this, list, {L"first", L"second"});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    pump();
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 21);
    EXPECT_EQ(heard, (std::vector<std::string>{"measure", "draw 0 at 0", "draw 1 selected at 21"}));
}

TEST_F(ListTest, HorizontalExtentSetsTheScrollRange) {
    const HWND list = make(L"ListBox", L"", WS_HSCROLL | WS_VSCROLL, {10, 10, 210, 110}, 9);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 500, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 500);
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 499);
    SendMessageW(list, WM_HSCROLL, SB_RIGHT, 0);
    SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_HORZ, &pos);
    EXPECT_GT(pos.nPos, 0);
}

} // namespace
} // namespace controlstest
