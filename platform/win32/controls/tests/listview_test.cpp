// List views: the notifications a person's clicks, keys, edits and drags send, in order; owner
// data asking only for what is shown; sorting, finding and the answers to items that do not exist.
#include "item_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace controlstest {
namespace {

class ListViewTest : public ItemControlTest {
public:
    // A report of four rows under two columns, 360x200 at (10, 10).
    HWND report(DWORD style = LVS_EDITLABELS) {
        list = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | style, {10, 10, 370, 210}, 40);
        addColumn(0, L"Name", 150);
        addColumn(1, L"Size", 80);
        const wchar_t* names[] = {L"Gear.dvd", L"Bracket.dvd", L"Assembly.dva", L"Bolt M8.dvd"};
        const wchar_t* sizes[] = {L"120", L"45", L"980", L"12"};
        for (int i = 0; i < 4; ++i) {
            insert(i, names[i], 100 + i);
            setSub(i, 1, sizes[i]);
        }
        take();
        return list;
    }
    void addColumn(int at, const wchar_t* text, int width) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<LPWSTR>(text);
        c.cx = width;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&c));
    }
    int insert(int at, const wchar_t* text, LPARAM param) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = at;
        item.pszText = const_cast<LPWSTR>(text);
        item.lParam = param;
        return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    void setSub(int index, int sub, const wchar_t* text) {
        LVITEMW item{};
        item.iSubItem = sub;
        item.pszText = const_cast<LPWSTR>(text);
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    std::wstring text(int index, int sub = 0) {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = sub;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    POINT center(int index) {
        RECT r{LVIR_LABEL, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return POINT{r.left + 10, (r.top + r.bottom) / 2};
    }
    void clickItem(int index) {
        const POINT p = center(index);
        clickAt(list, p.x, p.y);
    }
    void select(int index) {
        LVITEMW item{};
        item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    std::vector<int> selected() {
        std::vector<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                            LVNI_SELECTED))) >= 0;)
            out.push_back(i);
        return out;
    }
    HWND list = nullptr;
};

struct OrderCase {
    const char* name;
    std::function<void(ListViewTest&)> prepare;
    std::function<void(ListViewTest&)> act;
    Log expected;
};

TEST_F(ListViewTest, PeopleSelectingByMouseAndKeysAreToldInOrder) {
    const OrderCase cases[] = {
        {"a click on an unselected row",
         nullptr,
         [](ListViewTest& t) { t.clickItem(1); },
         {"LVN_ITEMCHANGED 1 +S+F", "NM_CLICK 1"}},
        {"a click moves the selection",
         [](ListViewTest& t) { t.clickItem(1); },
         [](ListViewTest& t) { t.clickItem(2); },
         {"LVN_ITEMCHANGED 1 -S", "LVN_ITEMCHANGED 1 -F", "LVN_ITEMCHANGED 2 +S+F", "NM_CLICK 2"}},
        {"Ctrl+click adds a row",
         [](ListViewTest& t) { t.clickItem(0); },
         [](ListViewTest& t) {
             pal::test::keyDown(VK_CONTROL);
             t.clickItem(2);
             pal::test::keyUp(VK_CONTROL);
         },
         {"LVN_KEYDOWN 17", "LVN_ITEMCHANGED 0 -F", "LVN_ITEMCHANGED 2 +S+F", "NM_CLICK 2"}},
        {"a click below the rows clears the selection",
         [](ListViewTest& t) { t.clickItem(3); },
         [](ListViewTest& t) { t.clickAt(t.list, 20, 180); },
         {"LVN_ITEMCHANGED 3 -S", "NM_CLICK -1"}},
        {"Down moves selection and focus",
         [](ListViewTest& t) { t.clickItem(0); },
         [](ListViewTest& t) { t.press(VK_DOWN); },
         {"LVN_KEYDOWN 40", "LVN_ITEMCHANGED 0 -S", "LVN_ITEMCHANGED 0 -F", "LVN_ITEMCHANGED 1 +S+F"}},
        {"Shift+End extends to the last row",
         [](ListViewTest& t) { t.clickItem(1); },
         [](ListViewTest& t) { t.press(VK_END, {VK_SHIFT}); },
         {"LVN_KEYDOWN 16", "LVN_KEYDOWN 35", "LVN_ITEMCHANGED 2 +S", "LVN_ITEMCHANGED 3 +S",
          "LVN_ITEMCHANGED 1 -F", "LVN_ITEMCHANGED 3 +F"}},
        {"Up on the first row changes nothing",
         [](ListViewTest& t) { t.clickItem(0); },
         [](ListViewTest& t) { t.press(VK_UP); },
         {"LVN_KEYDOWN 38"}},
        {"typing finds a row by its first letters",
         [](ListViewTest& t) { t.clickItem(0); },
         [](ListViewTest& t) { t.type(L"bo"); },
         {"LVN_ITEMCHANGED 0 -S", "LVN_ITEMCHANGED 0 -F", "LVN_ITEMCHANGED 1 +S+F", "LVN_ITEMCHANGED 1 -S",
          "LVN_ITEMCHANGED 1 -F", "LVN_ITEMCHANGED 3 +S+F"}},
        {"Enter activates the focused row",
         [](ListViewTest& t) { t.clickItem(2); },
         [](ListViewTest& t) { t.press(VK_RETURN); },
         {"LVN_KEYDOWN 13", "LVN_ITEMACTIVATE 2"}},
        {"a double click",
         nullptr,
         [](ListViewTest& t) {
             const POINT p = t.center(2);
             t.doubleClickAt(t.list, p.x, p.y);
         },
         {"LVN_ITEMCHANGED 2 +S+F", "NM_CLICK 2", "NM_DBLCLK 2", "LVN_ITEMACTIVATE 2"}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        report(0);
        pal::test::setManualClock(true);
        if (c.prepare)
            c.prepare(*this);
        pal::test::advanceClock(2000); // type-ahead of an earlier case is forgotten
        take();
        c.act(*this);
        EXPECT_EQ(take(), c.expected);
        DestroyWindow(list);
        take();
    }
}

TEST_F(ListViewTest, ARefusedChangeLeavesTheSelection) {
    report(0);
    clickItem(0);
    replies[LVN_ITEMCHANGING] = TRUE;
    take();
    clickItem(2);
    EXPECT_EQ(take(), Log{"NM_CLICK 2"});
    EXPECT_EQ(selected(), std::vector<int>{0});
}

TEST_F(ListViewTest, LabelEditingEndsWithTheTextOrWithNoneAfterEsc) {
    struct Case {
        const char* name;
        LRESULT acceptEnd;
        int key;
        Log expected;
        std::wstring textAfter;
    } cases[] = {
        {"Enter commits and the parent accepts",
         TRUE,
         VK_RETURN,
         {"LVN_BEGINLABELEDITW 1 \"Bracket.dvd\"", "LVN_ENDLABELEDITW 1 \"Plate.dvd\""},
         L"Plate.dvd"},
        {"Enter commits but the parent refuses",
         FALSE,
         VK_RETURN,
         {"LVN_BEGINLABELEDITW 1 \"Bracket.dvd\"", "LVN_ENDLABELEDITW 1 \"Plate.dvd\""},
         L"Bracket.dvd"},
        {"Esc cancels: the end comes with no text",
         TRUE,
         VK_ESCAPE,
         {"LVN_BEGINLABELEDITW 1 \"Bracket.dvd\"", "LVN_ENDLABELEDITW 1 null"},
         L"Bracket.dvd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report();
        replies[LVN_ENDLABELEDITW] = c.acceptEnd;
        const auto edit = reinterpret_cast<HWND>(SendMessageW(list, LVM_EDITLABELW, 1, 0));
        ASSERT_TRUE(edit);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0)), edit);
        EXPECT_EQ(textOf(edit), L"Bracket.dvd");
        EXPECT_EQ(GetFocus(), edit);
        SetWindowTextW(edit, L"Plate.dvd");
        press(c.key);
        EXPECT_EQ(take(), c.expected);
        EXPECT_FALSE(IsWindow(edit));
        EXPECT_EQ(GetFocus(), list);
        EXPECT_EQ(text(1), c.textAfter);
        DestroyWindow(list);
        take();
    }
}

TEST_F(ListViewTest, TheParentMayRefuseAnEditAndF2StartsOne) {
    report();
    replies[LVN_BEGINLABELEDITW] = TRUE;
    EXPECT_EQ(SendMessageW(list, LVM_EDITLABELW, 2, 0), 0);
    EXPECT_EQ(take(), Log{"LVN_BEGINLABELEDITW 2 \"Assembly.dva\""});
    replies.erase(LVN_BEGINLABELEDITW);
    clickItem(3);
    take();
    press(VK_F2);
    EXPECT_EQ(take(), (Log{"LVN_KEYDOWN 113", "LVN_BEGINLABELEDITW 3 \"Bolt M8.dvd\""}));
    EXPECT_TRUE(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
    clickItem(0); // a click elsewhere ends the edit with its text
    const Log log = take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "LVN_ENDLABELEDITW 3 \"Bolt M8.dvd\"");
}

TEST_F(ListViewTest, ASecondClickOnTheSelectedLabelRenamesItAfterAPause) {
    report();
    pal::test::setManualClock(true);
    clickItem(1);
    pal::test::advanceClock(2000); // no double click
    take();
    clickItem(1);
    EXPECT_EQ(take(), Log{"NM_CLICK 1"});
    pal::test::advanceClock(GetDoubleClickTime() + 1);
    EXPECT_EQ(take(), Log{"LVN_BEGINLABELEDITW 1 \"Bracket.dvd\""});
    press(VK_ESCAPE);
    EXPECT_EQ(take(), Log{"LVN_ENDLABELEDITW 1 null"});
}

TEST_F(ListViewTest, CheckBoxesTickByClickOnTheBoxAndBySpace) {
    report(0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    auto ticked = [&](int i) {
        return SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK) >> 12;
    };
    EXPECT_EQ(ticked(2), 1);
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    LVHITTESTINFO hit{};
    hit.pt = POINT{r.left + 6, (r.top + r.bottom) / 2};
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.flags, LVHT_ONITEMSTATEICON);
    clickAt(list, hit.pt.x, hit.pt.y);
    EXPECT_EQ(ticked(2), 2);
    press(VK_SPACE);
    EXPECT_EQ(ticked(2), 1);
}

TEST_F(ListViewTest, AnOwnerDataRangeIsToldAtOnce) {
    list = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_OWNERDATA, {10, 10, 370, 210}, 41);
    addColumn(0, L"Name", 200);
    SendMessageW(list, LVM_SETITEMCOUNT, 100000, 0);
    clickItem(2);
    take();
    press(VK_END, {VK_SHIFT});
    EXPECT_EQ(take(), (Log{"LVN_KEYDOWN 16", "LVN_KEYDOWN 35", "LVN_ODSTATECHANGED 2-99999 +S",
                           "LVN_ITEMCHANGED 2 -F", "LVN_ITEMCHANGED 99999 +F"}));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 99998);
    press(VK_HOME);
    EXPECT_EQ(take(), (Log{"LVN_KEYDOWN 36", "LVN_ITEMCHANGED -1 -S", "LVN_ITEMCHANGED 99999 -F",
                           "LVN_ITEMCHANGED 0 +S+F"}));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

int bySize(LPARAM a, LPARAM b, LPARAM list) {
    // The data of each row is 100 + its first index; the size column is read by finding it.
    auto size = [&](LPARAM param) {
        LVFINDINFOW find{};
        find.flags = LVFI_PARAM;
        find.lParam = param;
        const auto index = SendMessageW(reinterpret_cast<HWND>(list), LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(&find));
        wchar_t buffer[16] = {};
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = buffer;
        item.cchTextMax = 16;
        SendMessageW(reinterpret_cast<HWND>(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return std::stoi(buffer);
    };
    return size(a) - size(b);
}

TEST_F(ListViewTest, AClickOnAColumnAsksTheParentToSort) {
    report(0);
    clickItem(2); // the selection follows its row
    onNotify = [this](const NMHDR* h) {
        if (h->code == LVN_COLUMNCLICK)
            SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(list),
                         reinterpret_cast<LPARAM>(&bySize));
    };
    take();
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    clickAt(header, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(take(), Log{"LVN_COLUMNCLICK 1"});
    EXPECT_EQ(text(0), L"Bolt M8.dvd");
    EXPECT_EQ(text(1), L"Bracket.dvd");
    EXPECT_EQ(text(2), L"Gear.dvd");
    EXPECT_EQ(text(3), L"Assembly.dva");
    EXPECT_EQ(text(3, 1), L"980");
    EXPECT_EQ(selected(), std::vector<int>{3});
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
}

TEST_F(ListViewTest, DraggingADividerResizesTheColumn) {
    report(0);
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    POINT from{150, 5}, to{200, 5};
    ClientToScreen(header, &from);
    ClientToScreen(header, &to);
    pal::test::mouseDown(from);
    pal::test::mouseMove(to);
    pal::test::mouseUp(to);
    pump();
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 200);
    EXPECT_EQ(take(), (Log{"HDN_BEGINTRACK 0", "HDN_TRACK 0", "HDN_ITEMCHANGING 0", "HDN_ITEMCHANGED 0",
                           "HDN_ENDTRACK 0"}))
        << "the header's notices reach the list's parent; resizing is no click";
    POINT divider{200, 5};
    ClientToScreen(header, &divider);
    pal::test::doubleClick(divider);
    pump();
    const auto fitted = SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0);
    EXPECT_LT(fitted, 200) << "a double click on the divider fits the column to its text";
    EXPECT_GT(fitted, SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(L"Assembly.dva")));
}

TEST_F(ListViewTest, MovingThePressedMouseStartsADragInsteadOfAClick) {
    report(0);
    POINT from = center(1), to{from.x + 30, from.y + 30};
    ClientToScreen(list, &from);
    ClientToScreen(list, &to);
    pal::test::mouseDown(from);
    pal::test::mouseMove(POINT{from.x + 2, from.y + 1}); // within the drag distance
    pal::test::mouseMove(to);
    pal::test::mouseUp(to);
    pump();
    EXPECT_EQ(take(), (Log{"LVN_ITEMCHANGED 1 +S+F", "LVN_BEGINDRAG 1"}));
}

TEST_F(ListViewTest, DeletingTellsTheParentOfEachItem) {
    report(0);
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
    EXPECT_EQ(take(), Log{"LVN_DELETEITEM 1"});
    EXPECT_EQ(text(1), L"Assembly.dva");
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(take(),
              (Log{"LVN_DELETEALLITEMS", "LVN_DELETEITEM 0", "LVN_DELETEITEM 1", "LVN_DELETEITEM 2"}));
    report(0);
    replies[LVN_DELETEALLITEMS] = TRUE; // the parent needs no word for each
    DestroyWindow(list);
    EXPECT_EQ(take(), Log{"LVN_DELETEALLITEMS"});
}

TEST_F(ListViewTest, FindingAndWalkingTheItems) {
    report(0);
    select(1);
    select(3);
    auto find = [&](int start, UINT flags, const wchar_t* text, LPARAM param) {
        LVFINDINFOW info{};
        info.flags = flags;
        info.psz = text;
        info.lParam = param;
        return static_cast<int>(
            SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&info)));
    };
    struct Case {
        int start;
        UINT flags;
        const wchar_t* text;
        LPARAM param;
        int expected;
    } cases[] = {
        {-1, LVFI_PARAM, nullptr, 102, 2},
        {-1, LVFI_STRING, L"bracket.DVD", 0, 1},
        {-1, LVFI_STRING, L"Bracket", 0, -1},
        {-1, LVFI_PARTIAL | LVFI_STRING, L"b", 0, 1},
        {1, LVFI_PARTIAL | LVFI_STRING, L"b", 0, 3},
        {3, LVFI_PARTIAL | LVFI_STRING, L"b", 0, -1},
        {3, LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP, L"b", 0, 1},
        {-1, LVFI_PARAM, nullptr, 7, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find(c.start, c.flags, c.text, c.param), c.expected) << c.start << " " << c.flags;
    EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 1, LVNI_BELOW), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 0, LVNI_ABOVE), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_TRUE(SendMessageW(list, LVM_UPDATE, 2, 0));
}

TEST_F(ListViewTest, ItemsThatDoNotExistAnswerFailure) {
    report(0);
    wchar_t buffer[8] = L"keep";
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = buffer;
    item.cchTextMax = 8;
    RECT r{};
    LVFINDINFOW find{LVFI_STRING, L"Gear.dvd", 0, {}, 0};
    for (int index : {-2, 4, 1 << 30}) {
        SCOPED_TRACE(index);
        item.iItem = index;
        EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_FALSE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)),
            0);
        EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0));
        EXPECT_FALSE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED), 0);
        EXPECT_FALSE(
            SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
        EXPECT_FALSE(SendMessageW(list, LVM_UPDATE, static_cast<WPARAM>(index), 0));
        EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), 0));
        EXPECT_EQ(SendMessageW(list, LVM_EDITLABELW, static_cast<WPARAM>(index), 0), 0);
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_ALL), -1);
        EXPECT_EQ(
            SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&find)),
            -1);
        EXPECT_FALSE(
            SendMessageW(list, LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0), 0);
    }
    EXPECT_EQ(std::wstring(buffer), L"keep");
    // No structure at all.
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, 0), -1);
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), 0), -1);
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, 0), -1);
    EXPECT_FALSE(SendMessageW(list, LVM_SORTITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(take(), Log{});
}

std::mt19937* noise = nullptr;
int coinToss(LPARAM, LPARAM, LPARAM) {
    return static_cast<int>((*noise)() % 3) - 1;
}
int alwaysLess(LPARAM, LPARAM, LPARAM) {
    return -1;
}
int deletesWhileSorting(LPARAM a, LPARAM b, LPARAM list) {
    // The list is not to change under a sort; the request is refused.
    EXPECT_FALSE(SendMessageW(reinterpret_cast<HWND>(list), LVM_DELETEITEM, 0, 0));
    EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(list), LVM_INSERTITEMW, 0, 0), -1);
    return static_cast<int>(a - b);
}

TEST_F(ListViewTest, ASortWithAContradictoryComparisonEndsWithEveryItemOnce) {
    report(0);
    for (int i = 4; i < 3000; ++i)
        insert(i, L"x", 100 + i);
    std::mt19937 random(7);
    noise = &random;
    for (PFNLVCOMPARE compare : {&coinToss, &alwaysLess, &deletesWhileSorting}) {
        EXPECT_TRUE(SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(list),
                                 reinterpret_cast<LPARAM>(compare)));
        std::vector<LPARAM> params;
        for (int i = 0; i < 3000; ++i) {
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = i;
            SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            params.push_back(item.lParam);
        }
        std::sort(params.begin(), params.end());
        EXPECT_EQ(params.front(), 100);
        EXPECT_EQ(std::adjacent_find(params.begin(), params.end()), params.end());
        EXPECT_EQ(params.back(), 3099);
    }
    noise = nullptr;
}

TEST_F(ListViewTest, OwnerDataOfAHundredThousandItemsAsksOnlyForTheRowsInView) {
    list = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_OWNERDATA, {10, 10, 370, 210}, 41);
    addColumn(0, L"Name", 200);
    quietPaint = false;
    int lowest = 1 << 30, highest = -1, asked = 0;
    onNotify = [&](const NMHDR* h) {
        if (h->code != LVN_GETDISPINFOW)
            return;
        auto* di = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(h));
        lowest = std::min(lowest, di->item.iItem);
        highest = std::max(highest, di->item.iItem);
        ++asked;
        if (di->item.mask & LVIF_TEXT)
            swprintf(di->item.pszText, static_cast<size_t>(di->item.cchTextMax), L"Row %d", di->item.iItem);
    };
    SendMessageW(list, LVM_SETITEMCOUNT, 100000, 0);
    UpdateWindow(list);
    const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(page, 5);
    EXPECT_EQ(lowest, 0);
    EXPECT_LE(highest, page);
    EXPECT_LE(asked, 2 * (page + 1));
    Log hints;
    for (const std::string& line : take())
        if (line.rfind("LVN_ODCACHEHINT", 0) == 0)
            hints.push_back(line);
    EXPECT_EQ(hints, Log{"LVN_ODCACHEHINT 0-" + std::to_string(highest)});
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 99999);
    EXPECT_EQ(static_cast<int>(bar.nPage), page);

    lowest = 1 << 30, highest = -1, asked = 0;
    EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 99999, 0));
    UpdateWindow(list);
    EXPECT_EQ(highest, 99999);
    EXPECT_GE(lowest, 99999 - page);
    EXPECT_LE(asked, 2 * (page + 1));
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 100000 - page);

    // Selection lives in the control; the text is the parent's.
    pal::test::advanceClock(2000);
    select(99990);
    EXPECT_EQ(selected(), std::vector<int>{99990});
    EXPECT_EQ(text(99990), L"Row 99990");
    SendMessageW(list, LVM_SETITEMCOUNT, 10, 0);
    EXPECT_EQ(selected(), std::vector<int>{});
}

TEST_F(ListViewTest, CustomDrawAsksForTheStagesTheParentWants) {
    report(0);
    SendMessageW(list, LVM_DELETEITEM, 3, 0);
    SendMessageW(list, LVM_DELETEITEM, 2, 0);
    struct Case {
        LRESULT prepaint, item;
        Log expected;
    } cases[] = {
        {CDRF_DODEFAULT, CDRF_DODEFAULT, {"NM_CUSTOMDRAW PREPAINT"}},
        {CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT,
         CDRF_DODEFAULT,
         {"NM_CUSTOMDRAW PREPAINT", "NM_CUSTOMDRAW ITEMPREPAINT 0", "NM_CUSTOMDRAW ITEMPREPAINT 1",
          "NM_CUSTOMDRAW POSTPAINT"}},
        {CDRF_NOTIFYITEMDRAW,
         CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT,
         {"NM_CUSTOMDRAW PREPAINT", "NM_CUSTOMDRAW ITEMPREPAINT 0", "NM_CUSTOMDRAW SUBITEMPREPAINT 0.1",
          "NM_CUSTOMDRAW ITEMPOSTPAINT 0", "NM_CUSTOMDRAW ITEMPREPAINT 1",
          "NM_CUSTOMDRAW SUBITEMPREPAINT 1.1", "NM_CUSTOMDRAW ITEMPOSTPAINT 1"}},
        {CDRF_SKIPDEFAULT, CDRF_DODEFAULT, {"NM_CUSTOMDRAW PREPAINT"}},
    };
    quietPaint = false;
    for (const Case& c : cases) {
        onNotify = [&](const NMHDR* h) {
            if (h->code == NM_CUSTOMDRAW)
                replies[NM_CUSTOMDRAW] =
                    reinterpret_cast<const NMCUSTOMDRAW*>(h)->dwDrawStage == CDDS_PREPAINT ? c.prepaint
                                                                                           : c.item;
        };
        take();
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        Log drawn;
        for (const std::string& line : take())
            if (line.rfind("NM_CUSTOMDRAW", 0) == 0)
                drawn.push_back(line);
        EXPECT_EQ(drawn, c.expected);
    }
}

TEST_F(ListViewTest, ColoursAndViewsAreKept) {
    report(0);
    EXPECT_TRUE(SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(1, 2, 3)));
    EXPECT_TRUE(SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(4, 5, 6)));
    EXPECT_TRUE(SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, CLR_NONE));
    EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0), RGB(4, 5, 6));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);
    for (int view : {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS}) {
        SCOPED_TRACE(view);
        EXPECT_EQ(SendMessageW(list, LVM_SETVIEW, static_cast<WPARAM>(view), 0), 1);
        EXPECT_EQ(SendMessageW(list, LVM_GETVIEW, 0, 0), view);
        // Every item is found where it is said to be.
        for (int i = 0; i < 4; ++i) {
            LVHITTESTINFO hit{};
            hit.pt = center(i);
            EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), i);
        }
    }
    EXPECT_EQ(SendMessageW(list, LVM_SETVIEW, 9, 0), -1);
}

} // namespace
} // namespace controlstest

namespace controlstest {
namespace {

// An owner-drawn report: the parent is asked the row height once and draws every row in view,
// the selected one told so; the control draws none of them itself.
TEST_F(ListViewTest, AnOwnerDrawnReportAsksItsParentForTheRowHeightOnceAndLeavesTheRowsToIt) {
    int measured = 0;
    std::vector<std::pair<UINT, UINT>> drawn; // item, state
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == WM_MEASUREITEM) {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(m->CtlType, 102u);
            EXPECT_EQ(m->CtlID, 40u);
            m->itemHeight = 60;
            ++measured;
            result = TRUE;
            return true;
        }
        if (message == WM_DRAWITEM) {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            EXPECT_EQ(d->rcItem.bottom - d->rcItem.top, 60);
            EXPECT_EQ(d->itemData, 100u + d->itemID);
            drawn.push_back({d->itemID, d->itemState & ODS_SELECTED});
            result = TRUE;
            return true;
        }
        return false;
    };
    report(LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER);
    select(1);
    drawn.clear();
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    // 200 pixels show rows 0 to 3 (the fourth in part); the second is selected.
    const std::vector<std::pair<UINT, UINT>> expected{{0, 0}, {1, ODS_SELECTED}, {2, 0}, {3, 0}};
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(measured, 1);
    RECT second{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.top, 60);
    clickAt(list, 20, 150);
    EXPECT_EQ(selected(), std::vector<int>{2}) << "the rows are hit where they are drawn";
    answer = nullptr;
}

// A parent that closes the list as soon as a row is chosen (a drop-down list) destroys it in the
// middle of its own notification: the list finishes without touching what it has let go.
TEST_F(ListViewTest, AParentDestroyingTheListWhileItTellsOfAChoiceLeavesItWhole) {
    report();
    answer = [&](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_ITEMCHANGED &&
            IsWindow(list))
            DestroyWindow(list);
        return false;
    };
    select(2);
    answer = nullptr;
    EXPECT_FALSE(IsWindow(list));
}

// A right click asks for the context menu as on any window, unless the parent takes it.
TEST_F(ListViewTest, ARightClickThatTheParentLeavesAsksForTheContextMenu) {
    report();
    expectRightClickAsksForTheContextMenu(*this, list, center(1));
}

} // namespace
} // namespace controlstest
