// Tree views: expanding, selecting, editing, dragging and ticking by mouse and keys, each in the
// platform's order of notifications; handles that are gone answer failure.
#include "item_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace controlstest {
namespace {

class TreeViewTest : public ItemControlTest {
public:
    // "Drawings" (with "Gear" and "Bracket") and "Macros" (with "Export"), at (10, 10).
    void build(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                             TVS_EDITLABELS) {
        tree = make(WC_TREEVIEWW, L"", style, {10, 10, 260, 210}, 50);
        drawings = add(nullptr, L"Drawings", 1);
        gear = add(drawings, L"Gear", 2);
        bracket = add(drawings, L"Bracket", 3);
        macros = add(nullptr, L"Macros", 4);
        exportMacro = add(macros, L"Export", 5);
        take();
    }
    HTREEITEM add(HTREEITEM parent, const wchar_t* text, LPARAM param, HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCTW in{};
        in.hParent = parent ? parent : TVI_ROOT;
        in.hInsertAfter = after;
        in.item.mask = TVIF_TEXT | TVIF_PARAM;
        in.item.pszText = const_cast<LPWSTR>(text);
        in.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&in)));
    }
    RECT rectOf(HTREEITEM item, bool textOnly = true) {
        RECT r{};
        std::memcpy(&r, &item, sizeof item); // the item goes in where the rectangle comes out
        SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void clickLabel(HTREEITEM item) {
        const RECT r = rectOf(item);
        clickAt(tree, r.left + 5, (r.top + r.bottom) / 2);
    }
    void clickButton(HTREEITEM item) {
        TVHITTESTINFO hit{};
        const RECT r = rectOf(item, false);
        for (int x = 0; x < 60; ++x) {
            hit.pt = POINT{x, (r.top + r.bottom) / 2};
            SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.flags & TVHT_ONITEMBUTTON)
                break;
        }
        ASSERT_TRUE(hit.flags & TVHT_ONITEMBUTTON);
        clickAt(tree, hit.pt.x, hit.pt.y);
    }
    HTREEITEM next(UINT code, HTREEITEM item = nullptr) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    bool expanded(HTREEITEM item) {
        return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    }
    HWND tree = nullptr;
    HTREEITEM drawings = nullptr, gear = nullptr, bracket = nullptr, macros = nullptr, exportMacro = nullptr;
};

struct TreeCase {
    const char* name;
    std::function<void(TreeViewTest&)> prepare;
    std::function<void(TreeViewTest&)> act;
    Log expected;
};

TEST_F(TreeViewTest, ExpandingSelectingAndKeysAreToldInOrder) {
    const TreeCase cases[] = {
        {"a click on the button expands",
         nullptr,
         [](TreeViewTest& t) { t.clickButton(t.drawings); },
         {"TVN_ITEMEXPANDING \"Drawings\" expand", "TVN_ITEMEXPANDED \"Drawings\" expand", "NM_CLICK"}},
        {"a click on a label selects",
         nullptr,
         [](TreeViewTest& t) { t.clickLabel(t.macros); },
         {"TVN_SELCHANGING none>\"Macros\" mouse", "TVN_SELCHANGED none>\"Macros\" mouse", "NM_CLICK"}},
        {"Down selects the next visible item",
         [](TreeViewTest& t) {
             SendMessageW(t.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(t.drawings));
             t.clickLabel(t.drawings);
         },
         [](TreeViewTest& t) { t.press(VK_DOWN); },
         {"TVN_KEYDOWN 40", "TVN_SELCHANGING \"Drawings\">\"Gear\" keyboard",
          "TVN_SELCHANGED \"Drawings\">\"Gear\" keyboard"}},
        {"Right expands, a second Right goes to the first child",
         [](TreeViewTest& t) { t.clickLabel(t.macros); },
         [](TreeViewTest& t) {
             t.press(VK_RIGHT);
             t.press(VK_RIGHT);
         },
         {"TVN_KEYDOWN 39", "TVN_ITEMEXPANDING \"Macros\" expand", "TVN_ITEMEXPANDED \"Macros\" expand",
          "TVN_KEYDOWN 39", "TVN_SELCHANGING \"Macros\">\"Export\" keyboard",
          "TVN_SELCHANGED \"Macros\">\"Export\" keyboard"}},
        {"Left on a child goes to its parent, a second Left collapses",
         [](TreeViewTest& t) {
             SendMessageW(t.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(t.drawings));
             t.clickLabel(t.bracket);
         },
         [](TreeViewTest& t) {
             t.press(VK_LEFT);
             t.press(VK_LEFT);
         },
         {"TVN_KEYDOWN 37", "TVN_SELCHANGING \"Bracket\">\"Drawings\" keyboard",
          "TVN_SELCHANGED \"Bracket\">\"Drawings\" keyboard", "TVN_KEYDOWN 37",
          "TVN_ITEMEXPANDING \"Drawings\" collapse", "TVN_ITEMEXPANDED \"Drawings\" collapse"}},
        {"collapsing over the selection moves it to the collapsed item",
         [](TreeViewTest& t) {
             SendMessageW(t.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(t.drawings));
             t.clickLabel(t.gear);
         },
         [](TreeViewTest& t) { t.clickButton(t.drawings); },
         {"TVN_ITEMEXPANDING \"Drawings\" collapse", "TVN_SELCHANGED \"Gear\">\"Drawings\" unknown",
          "TVN_ITEMEXPANDED \"Drawings\" collapse", "NM_CLICK"}},
        {"a double click toggles the item",
         nullptr,
         [](TreeViewTest& t) {
             const RECT r = t.rectOf(t.macros);
             t.doubleClickAt(t.tree, r.left + 5, (r.top + r.bottom) / 2);
         },
         {"TVN_SELCHANGING none>\"Macros\" mouse", "TVN_SELCHANGED none>\"Macros\" mouse", "NM_CLICK",
          "NM_DBLCLK", "TVN_ITEMEXPANDING \"Macros\" expand", "TVN_ITEMEXPANDED \"Macros\" expand"}},
        {"typing selects by the first letters",
         nullptr,
         [](TreeViewTest& t) { t.type(L"m"); },
         {"TVN_SELCHANGING none>\"Macros\" keyboard", "TVN_SELCHANGED none>\"Macros\" keyboard"}},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        SetFocus(tree);
        if (c.prepare)
            c.prepare(*this);
        take();
        c.act(*this);
        EXPECT_EQ(take(), c.expected);
        DestroyWindow(tree);
        take();
    }
}

TEST_F(TreeViewTest, ByMessageTheParentHearsOfExpandingOnlyTheFirstTime) {
    build();
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(drawings)));
    EXPECT_EQ(take(), (Log{"TVN_ITEMEXPANDING \"Drawings\" expand", "TVN_ITEMEXPANDED \"Drawings\" expand"}));
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(drawings)));
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(drawings)));
    EXPECT_EQ(take(), Log{});
    EXPECT_TRUE(expanded(drawings));
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(gear))) << "no children";
    // The parent may refuse.
    replies[TVN_ITEMEXPANDINGW] = TRUE;
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(macros)));
    EXPECT_FALSE(expanded(macros));
    EXPECT_EQ(take(), Log{"TVN_ITEMEXPANDING \"Macros\" expand"});
}

TEST_F(TreeViewTest, ARefusedSelectionStays) {
    build();
    clickLabel(drawings);
    replies[TVN_SELCHANGINGW] = TRUE;
    take();
    clickLabel(macros);
    EXPECT_EQ(take(), (Log{"TVN_SELCHANGING \"Drawings\">\"Macros\" mouse", "NM_CLICK"}));
    EXPECT_EQ(next(TVGN_CARET), drawings);
}

TEST_F(TreeViewTest, LabelEditingEndsWithTheTextOrWithNoneAfterEsc) {
    struct Case {
        const char* name;
        std::function<void(TreeViewTest&)> start;
        int key;
        Log expected;
        std::wstring after;
    } cases[] = {
        {"by message, Enter",
         [](TreeViewTest& t) { SendMessageW(t.tree, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(t.macros)); },
         VK_RETURN,
         {"TVN_SELCHANGING none>\"Macros\" unknown", "TVN_SELCHANGED none>\"Macros\" unknown",
          "TVN_BEGINLABELEDIT \"Macros\"", "TVN_ENDLABELEDIT \"Scripts\""},
         L"Scripts"},
        {"by a second click on the selected label, Esc",
         [](TreeViewTest& t) {
             t.clickLabel(t.macros);
             t.take();
             pal::test::advanceClock(1000); // no double click
             t.clickLabel(t.macros);
             pal::test::advanceClock(GetDoubleClickTime() + 1);
             t.pump();
         },
         VK_ESCAPE,
         {"NM_CLICK", "TVN_BEGINLABELEDIT \"Macros\"", "TVN_ENDLABELEDIT null"},
         L"Macros"},
        {"by F2, Enter",
         [](TreeViewTest& t) {
             t.clickLabel(t.macros);
             t.take();
             t.press(VK_F2);
         },
         VK_RETURN,
         {"TVN_KEYDOWN 113", "TVN_BEGINLABELEDIT \"Macros\"", "TVN_ENDLABELEDIT \"Scripts\""},
         L"Scripts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        pal::test::setManualClock(true);
        replies[TVN_ENDLABELEDITW] = TRUE;
        c.start(*this);
        const auto edit = reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(edit);
        SetWindowTextW(edit, L"Scripts");
        press(c.key);
        EXPECT_EQ(take(), c.expected);
        EXPECT_FALSE(IsWindow(edit));
        wchar_t text[32] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = macros;
        item.pszText = text;
        item.cchTextMax = 32;
        EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(std::wstring(text), c.after);
        DestroyWindow(tree);
        take();
    }
}

TEST_F(TreeViewTest, MovingThePressedMouseStartsADrag) {
    build();
    const RECT r = rectOf(macros);
    POINT from{r.left + 5, (r.top + r.bottom) / 2}, to{from.x + 20, from.y + 40};
    ClientToScreen(tree, &from);
    ClientToScreen(tree, &to);
    pal::test::mouseDown(from);
    pal::test::mouseMove(to);
    pal::test::mouseUp(to);
    pump();
    EXPECT_EQ(take(), (Log{"TVN_SELCHANGING none>\"Macros\" mouse", "TVN_SELCHANGED none>\"Macros\" mouse",
                           "TVN_BEGINDRAG \"Macros\""}));
}

TEST_F(TreeViewTest, CheckBoxesTickByClickAndSpaceUnlessTheParentTakesTheClick) {
    build(TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_LINESATROOT);
    auto ticked = [&](HTREEITEM item) {
        return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK) >>
                12);
    };
    EXPECT_EQ(ticked(macros), 1u) << "a new item is unticked";
    TVHITTESTINFO hit{};
    const RECT r = rectOf(macros, false);
    for (int x = 0; x < 80 && !(hit.flags & TVHT_ONITEMSTATEICON); ++x) {
        hit.pt = POINT{x, (r.top + r.bottom) / 2};
        SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    }
    ASSERT_EQ(hit.hItem, macros);
    clickAt(tree, hit.pt.x, hit.pt.y);
    EXPECT_EQ(ticked(macros), 2u);
    press(VK_SPACE);
    EXPECT_EQ(ticked(macros), 1u);
    replies[NM_CLICK] = TRUE;
    clickAt(tree, hit.pt.x, hit.pt.y);
    EXPECT_EQ(ticked(macros), 1u);
}

TEST_F(TreeViewTest, DeletingTellsOfChildrenFirstAndMovesTheSelection) {
    build();
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(exportMacro));
    take();
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(macros)));
    EXPECT_EQ(take(),
              (Log{"TVN_DELETEITEM \"Export\"", "TVN_DELETEITEM \"Macros\"",
                   "TVN_SELCHANGING none>\"Drawings\" unknown", "TVN_SELCHANGED none>\"Drawings\" unknown"}))
        << "each item can still be read while its deletion is told";
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(next(TVGN_CARET), drawings);
}

TEST_F(TreeViewTest, HandlesThatAreGoneOrWereNeverAnswerFailure) {
    build();
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(gear));
    take();
    wchar_t text[8] = L"keep";
    for (HTREEITEM bad : {gear, reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(0x1234)), TVI_LAST}) {
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_STATE;
        item.hItem = bad;
        item.pszText = text;
        item.cchTextMax = 8;
        const auto p = reinterpret_cast<LPARAM>(bad);
        EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_FALSE(SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_FALSE(SendMessageW(tree, TVM_DELETEITEM, 0, p));
        EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, p));
        EXPECT_FALSE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, p));
        EXPECT_FALSE(SendMessageW(tree, TVM_ENSUREVISIBLE, 0, p));
        EXPECT_EQ(SendMessageW(tree, TVM_EDITLABELW, 0, p), 0);
        EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, p), 0);
        EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, p), 0);
        EXPECT_EQ(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(bad), ~0u), 0);
        EXPECT_EQ(add(bad, L"orphan", 0), nullptr);
    }
    EXPECT_EQ(std::wstring(text), L"keep");
    EXPECT_EQ(SendMessageW(tree, TVM_INSERTITEMW, 0, 0), 0);
    EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMRECT, 0, 0));
    EXPECT_EQ(SendMessageW(tree, TVM_HITTEST, 0, 0), 0);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(take(), Log{});
}

std::mt19937* noise = nullptr;
int coinToss(LPARAM, LPARAM, LPARAM) {
    return static_cast<int>((*noise)() % 3) - 1;
}

TEST_F(TreeViewTest, SortingByTextAndByAContradictoryCallback) {
    build();
    add(drawings, L"axle", 6);
    EXPECT_TRUE(SendMessageW(tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(drawings)));
    std::vector<HTREEITEM> order;
    for (HTREEITEM c = next(TVGN_CHILD, drawings); c; c = next(TVGN_NEXT, c))
        order.push_back(c);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[1], bracket);
    EXPECT_EQ(order[2], gear);
    for (int i = 0; i < 500; ++i)
        add(macros, L"m", 100 + i);
    std::mt19937 random(3);
    noise = &random;
    TVSORTCB sort{macros, &coinToss, 0};
    EXPECT_TRUE(SendMessageW(tree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    noise = nullptr;
    int count = 0;
    for (HTREEITEM c = next(TVGN_CHILD, macros); c; c = next(TVGN_NEXT, c))
        ++count;
    EXPECT_EQ(count, 501);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 506);
}

TEST_F(TreeViewTest, AFilledTreeSetsItsScrollBarOnceTheMessagesAreDone) {
    build();
    for (int i = 0; i < 20000; ++i)
        add(macros, L"m", i);
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(macros));
    pump();
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(tree, SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 20002) << "Drawings, Macros and the macros under it";
    EXPECT_EQ(static_cast<int>(bar.nPage), static_cast<int>(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0)));
    SendMessageW(tree, WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageW(tree, WM_VSCROLL, SB_PAGEDOWN, 0); // no further than the end
    RECT last = rectOf(next(TVGN_LASTVISIBLE), false), client{};
    GetClientRect(tree, &client);
    EXPECT_GE(last.top, 0);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_GT(last.bottom, client.bottom - (last.bottom - last.top)) << "the last row at the bottom";
    EXPECT_TRUE(SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(gear)));
    EXPECT_TRUE(expanded(drawings)) << "made visible by opening its parent";
}

TEST_F(TreeViewTest, TextAndChildrenTheParentKeepsAreAskedFor) {
    build();
    TVINSERTSTRUCTW in{};
    in.hParent = TVI_ROOT;
    in.hInsertAfter = TVI_LAST;
    in.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
    in.item.pszText = LPSTR_TEXTCALLBACKW;
    in.item.cChildren = I_CHILDRENCALLBACK;
    in.item.lParam = 77;
    const auto lazy =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&in)));
    ASSERT_TRUE(lazy);
    bool hasChildren = false;
    onNotify = [&](const NMHDR* h) {
        if (h->code == TVN_GETDISPINFOW) {
            auto* di = reinterpret_cast<NMTVDISPINFOW*>(const_cast<NMHDR*>(h));
            EXPECT_EQ(di->item.lParam, 77);
            if (di->item.mask & TVIF_TEXT)
                wcscpy(di->item.pszText, L"Library");
            if (di->item.mask & TVIF_CHILDREN)
                di->item.cChildren = hasChildren ? 1 : 0;
        }
        // Children are added when the parent hears of the expansion.
        if (h->code == TVN_ITEMEXPANDINGW)
            add(lazy, L"Bolts", 8);
    };
    wchar_t text[32] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = lazy;
    item.pszText = text;
    item.cchTextMax = 32;
    EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::wstring(text), L"Library");
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lazy)))
        << "none, says the parent";
    hasChildren = true;
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lazy)));
    EXPECT_TRUE(expanded(lazy));
    EXPECT_TRUE(next(TVGN_CHILD, lazy));
}

TEST_F(TreeViewTest, CustomDrawStagesNameTheItemAndItsLevel) {
    build();
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(macros));
    quietPaint = false;
    std::vector<int> levels;
    onNotify = [&](const NMHDR* h) {
        if (h->code != NM_CUSTOMDRAW)
            return;
        const auto* cd = reinterpret_cast<const NMTVCUSTOMDRAW*>(h);
        replies[NM_CUSTOMDRAW] = cd->nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            levels.push_back(cd->iLevel);
    };
    take();
    levels.clear();
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
    EXPECT_EQ(levels, (std::vector<int>{0, 0, 1}));
}

// Tabs and the header on their own.
TEST_F(TreeViewTest, TabsChangeByClickAndKeysUnlessRefused) {
    const HWND tabs = make(WC_TABCONTROLW, L"", 0, {10, 10, 300, 200}, 60);
    for (const wchar_t* name : {L"General", L"Profiles", L"Keyboard"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(name);
        SendMessageW(tabs, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    RECT r{};
    SendMessageW(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
    take();
    clickAt(tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(take(), (Log{"TCN_SELCHANGING", "TCN_SELCHANGE", "NM_CLICK"}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
    SetFocus(tabs);
    replies[TCN_SELCHANGING] = TRUE;
    press(VK_LEFT);
    EXPECT_EQ(take(), (Log{"TCN_KEYDOWN", "TCN_SELCHANGING"}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 1, 0), 2) << "by message: no notification";
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_FALSE(SendMessageW(tabs, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&r)));
    EXPECT_FALSE(SendMessageW(tabs, TCM_DELETEITEM, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(take(), Log{});
}

// A right click asks for the context menu as on any window, unless the parent takes it.
TEST_F(TreeViewTest, ARightClickThatTheParentLeavesAsksForTheContextMenu) {
    build();
    expectRightClickAsksForTheContextMenu(*this, tree, [&] {
        const RECT r = rectOf(macros);
        return POINT{r.left + 5, (r.top + r.bottom) / 2};
    }());
}

} // namespace
} // namespace controlstest
