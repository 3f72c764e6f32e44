// The standard controls the dialogs are made of: what they keep and what they tell their parent.
#include "dialog_fixture.h"

#include "pal/format.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

class ControlsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &ControlsTest::parentProc;
        wc.lpszClassName = L"ControlParent";
        ASSERT_NE(RegisterClassExW(&wc), 0);
        parent = CreateWindowExW(0, L"ControlParent", L"", WS_POPUP | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
        notes().clear();
    }

    HWND make(const wchar_t* cls, const wchar_t* text, int id, DWORD style, RECT r = {10, 10, 200, 110}) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               nullptr, nullptr);
    }

    static std::vector<std::string>& notes() {
        static std::vector<std::string> n;
        return n;
    }

    static LRESULT parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND)
            notes().push_back(pal::format("%u:%u", LOWORD(wParam), HIWORD(wParam)));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND parent = nullptr;
};

TEST_F(ControlsTest, ButtonsClickAndKeepTheirCheck) {
    const HWND push = make(L"Button", L"OK", IDOK, BS_DEFPUSHBUTTON);
    const HWND box = make(L"Button", L"Flag", 20, BS_AUTOCHECKBOX);
    const HWND tri = make(L"Button", L"Maybe", 21, BS_AUTO3STATE);
    const HWND off = make(L"Button", L"Off", 22, BS_PUSHBUTTON | WS_DISABLED);
    SendMessageW(push, BM_CLICK, 0, 0);
    SendMessageW(box, BM_CLICK, 0, 0);
    SendMessageW(tri, BM_CLICK, 0, 0);
    SendMessageW(tri, BM_CLICK, 0, 0);
    SendMessageW(off, BM_CLICK, 0, 0);
    EXPECT_EQ(notes(), (std::vector<std::string>{"1:0", "20:0", "21:0", "21:0"}));
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(tri, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(SendMessageW(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    // A press released away from the button is no click.
    notes().clear();
    SendMessageW(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(push, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_TRUE(notes().empty());
}

TEST_F(ControlsTest, TheEditTakesTypedTextAndTellsItsParent) {
    const HWND edit = make(L"Edit", L"", 30, WS_BORDER | ES_AUTOHSCROLL);
    SetFocus(edit);
    notes().clear();
    for (wchar_t ch : std::wstring(L"plan.dwgx\b"))
        SendMessageW(edit, WM_CHAR, ch, 0);
    EXPECT_EQ(textOf(edit), L"plan.dwg");
    SendMessageW(edit, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(edit, WM_CHAR, L'a', 0);
    SendMessageW(edit, WM_KEYDOWN, VK_END, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_LEFT, 0);
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(textOf(edit), L"aplan.dw");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, L'z', 0);
    EXPECT_EQ(textOf(edit), L"z");
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"12345"));
    EXPECT_EQ(textOf(edit), L"z12");
    EXPECT_EQ(std::count(notes().begin(), notes().end(), "30:768"), 14) << "EN_CHANGE for every change";
    EXPECT_EQ(std::count(notes().begin(), notes().end(), "30:1281"), 1) << "EN_MAXTEXT once";
}

TEST_F(ControlsTest, TheListBoxKeepsSortedNamesAndMovesItsSelection) {
    const HWND list = make(L"ListBox", L"", 40, LBS_NOTIFY | LBS_SORT | WS_BORDER);
    for (const wchar_t* name : {L"plan.dwg", L"Detail.dwg", L"axle.dwg"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"[..]"));
    wchar_t text[32];
    std::vector<std::wstring> items;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    EXPECT_EQ(items, (std::vector<std::wstring>{L"[..]", L"axle.dwg", L"Detail.dwg", L"plan.dwg"}));
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(L"DETAIL.dwg")),
              2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    notes().clear();
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 18 + 2));
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 18 + 2));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(notes(), (std::vector<std::string>{"40:1", "40:1", "40:4", "40:1", "40:2"}));
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(text)), LB_ERR);
}

TEST_F(ControlsTest, TabMovesTheFocusThroughTabStopsInOrder) {
    const HWND a = make(L"Edit", L"", 1, WS_TABSTOP);
    make(L"Static", L"&Label", 2, 0);
    const HWND b = make(L"Button", L"B", 3, WS_TABSTOP);
    make(L"Button", L"Off", 4, WS_TABSTOP | WS_DISABLED);
    const HWND c = make(L"ListBox", L"", 5, WS_TABSTOP);
    EXPECT_EQ(GetNextDlgTabItem(parent, a, FALSE), b);
    EXPECT_EQ(GetNextDlgTabItem(parent, b, FALSE), c);
    EXPECT_EQ(GetNextDlgTabItem(parent, c, FALSE), a) << "it wraps around";
    EXPECT_EQ(GetNextDlgTabItem(parent, a, TRUE), c);
}

} // namespace
} // namespace controlstest
