// The MDI tab client: tabs follow the document windows, clicks and drags select and regroup
// them, and the groups survive a save and a load.
#include "tab_client_fixture.h"

#include "pal/test/hooks.h"
#include "pal/test/user_hooks.h"

#include <set>

namespace {

using toolkit_test::TabClientTest;

// Screen point of a tab's centre, or of a point in a group's client area.
CPoint onScreen(CWnd* client, CPoint point) {
    client->ClientToScreen(&point);
    return point;
}

TEST_F(TabClientTest, EveryDocumentWindowHasATabAndOnlyTheSelectedOneShows) {
    open(3);
    ASSERT_EQ(tabs.GetWorkspaceCount(), 1);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    ASSERT_EQ(ws->GetItemCount(), 3);
    EXPECT_EQ(ws->GetItem(0)->GetCaption(), L"Sheet1");
    EXPECT_EQ(ws->GetItem(2)->GetCaption(), L"Sheet3");
    EXPECT_EQ(ws->GetItem(2)->GetTooltip(), L"Sheet3");
    EXPECT_EQ(ws->GetSelectedItem(), ws->GetItem(2)) << "the active document's tab";
    for (int i = 0; i < 3; ++i) {
        const HWND h = ws->GetItem(i)->GetHandle();
        EXPECT_EQ(::IsWindowVisible(h) != FALSE, i == 2);
        EXPECT_FALSE(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION) << "the tab is its caption";
    }
    // The selected document fills the area under the strip.
    CRect child;
    ::GetWindowRect(ws->GetItem(2)->GetHandle(), &child);
    tabs.ScreenToClient(&child);
    EXPECT_EQ(child, ws->GetClientRect());
    EXPECT_EQ(ws->GetHeaderRect().bottom, ws->GetClientRect().top);

    // Activating another document through the frame selects its tab; closing it drops the tab.
    main->MDIActivate(CWnd::FromHandle(ws->GetItem(0)->GetHandle()));
    EXPECT_EQ(ws->GetCurSel(), 0);
    const HWND closing = ws->GetItem(0)->GetHandle();
    ::SendMessageW(closing, WM_CLOSE, 0, 0);
    run.pump();
    EXPECT_FALSE(::IsWindow(closing));
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);
    ASSERT_EQ(ws->GetItemCount(), 2);
    EXPECT_EQ(ws->GetItem(0)->GetCaption(), L"Sheet2");
    EXPECT_EQ(ws->GetSelectedItem()->GetHandle(), activeChild()) << "a neighbour takes over";
}

TEST_F(TabClientTest, AClickSelectsATabUnlessTheBeforeClickHookRefuses) {
    open(2);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    auto* hooked = dynamic_cast<toolkit_test::RecordingWorkspace*>(ws);
    ASSERT_NE(hooked, nullptr) << "the factory made the workspace";
    const HWND first = ws->GetItem(0)->GetHandle();
    pal::test::click(onScreen(&tabs, ws->GetItem(0)->GetRect().CenterPoint()));
    run.pump();
    EXPECT_EQ(activeChild(), first);
    EXPECT_EQ(hooked->selections.back(), first);

    hooked->refuse = true;
    pal::test::click(onScreen(&tabs, ws->GetItem(1)->GetRect().CenterPoint()));
    run.pump();
    EXPECT_EQ(activeChild(), first) << "the refused click changes nothing";
    EXPECT_EQ(hooked->clicks, 2);
}

TEST_F(TabClientTest, ATabDraggedIntoItsDocumentMakesANewGroupAndDraggedBackLeavesOne) {
    tabs.EnableGroups();
    open(3);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    const HWND moved = ws->GetItem(1)->GetHandle();
    const CRect client = ws->GetClientRect();
    // Dragged to the right half of the document area: a group beside the first.
    drag(onScreen(&tabs, ws->GetItem(1)->GetRect().CenterPoint()),
         onScreen(&tabs, CPoint(client.right - 40, client.CenterPoint().y)));
    ASSERT_EQ(tabs.GetWorkspaceCount(), 2);
    EXPECT_FALSE(tabs.IsHorizSplitting()) << "side by side";
    CXTPTabClientWnd::CWorkspace* second = tabs.GetWorkspace(1);
    ASSERT_EQ(second->GetItemCount(), 1);
    EXPECT_EQ(second->GetItem(0)->GetHandle(), moved);
    EXPECT_EQ(activeChild(), moved);
    EXPECT_EQ(tabs.GetWorkspace(0)->GetItemCount(), 2);
    // Both groups show their selected document, side by side.
    CRect left, right;
    ::GetWindowRect(tabs.GetWorkspace(0)->GetSelectedItem()->GetHandle(), &left);
    ::GetWindowRect(moved, &right);
    EXPECT_TRUE(::IsWindowVisible(tabs.GetWorkspace(0)->GetSelectedItem()->GetHandle()));
    EXPECT_EQ(left.top, right.top);
    EXPECT_EQ(right.left, left.right + tabs.GetSplitterSize());

    // Dropped on the first group's strip, the tab goes home and its emptied group goes.
    const CRect header = tabs.GetWorkspace(0)->GetHeaderRect();
    drag(onScreen(&tabs, second->GetItem(0)->GetRect().CenterPoint()),
         onScreen(&tabs, CPoint(header.right - 20, header.CenterPoint().y)));
    ASSERT_EQ(tabs.GetWorkspaceCount(), 1);
    EXPECT_EQ(tabs.GetWorkspace(0)->GetItemCount(), 3);
    EXPECT_EQ(tabs.GetWorkspace(0)->GetSelectedItem()->GetHandle(), moved);
}

TEST_F(TabClientTest, DraggingWithinTheStripReordersTheTabs) {
    open(3);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    const HWND first = ws->GetItem(0)->GetHandle();
    drag(onScreen(&tabs, ws->GetItem(0)->GetRect().CenterPoint()),
         onScreen(&tabs, ws->GetItem(2)->GetRect().CenterPoint()));
    EXPECT_EQ(ws->GetItem(2)->GetHandle(), first);
    EXPECT_EQ(ws->GetItemCount(), 3);
    EXPECT_EQ(tabs.GetWorkspaceCount(), 1) << "grouping is off";

    // MoveItem and Move by index do the same without the mouse.
    ws->MoveItem(ws->GetItem(2), 0);
    EXPECT_EQ(ws->GetItem(0)->GetHandle(), first);
    ws->GetItem(0)->Move(1);
    EXPECT_EQ(ws->GetItem(1)->GetHandle(), first);
}

TEST_F(TabClientTest, TheContextMenuMakesAndJoinsGroups) {
    tabs.EnableGroups();
    open(3);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    const HWND third = ws->GetItem(2)->GetHandle();
    pal::test::pushAnswer(static_cast<int>(XTP_ID_WORKSPACE_NEWHORIZONTAL));
    tabs.ContextMenu(onScreen(&tabs, ws->GetItem(2)->GetRect().CenterPoint()));
    ASSERT_EQ(tabs.GetWorkspaceCount(), 2);
    EXPECT_TRUE(tabs.IsHorizSplitting()) << "one above the other";
    EXPECT_EQ(tabs.GetWorkspace(1)->GetItem(0)->GetHandle(), third);
    // The groups run one way only: a vertical group is refused now.
    EXPECT_FALSE(tabs.MoveToNewGroup(tabs.GetWorkspace(0)->GetItem(0), FALSE));

    pal::test::pushAnswer(static_cast<int>(XTP_ID_WORKSPACE_MOVEPREVIOUS));
    tabs.ContextMenu(onScreen(&tabs, tabs.GetWorkspace(1)->GetItem(0)->GetRect().CenterPoint()));
    EXPECT_EQ(tabs.GetWorkspaceCount(), 1);
    EXPECT_EQ(pal::test::pendingAnswers(), 0u);

    // Outside the tabs there is no menu.
    tabs.ContextMenu(onScreen(&tabs, tabs.GetWorkspace(0)->GetClientRect().CenterPoint()));
    EXPECT_EQ(tabs.GetWorkspaceCount(), 1);
}

TEST_F(TabClientTest, TheCloseButtonOnATabClosesItsDocument) {
    tabs.SetFlags(xtpWorkspaceShowCloseTab);
    open(2);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    const CRect close = ws->GetItem(0)->GetCloseButtonRect();
    ASSERT_FALSE(close.IsRectEmpty());
    EXPECT_TRUE(ws->GetItem(0)->GetRect().PtInRect(close.CenterPoint()));
    pal::test::click(onScreen(&tabs, close.CenterPoint()));
    run.pump();
    EXPECT_EQ(ws->GetItemCount(), 1);
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
}

TEST_F(TabClientTest, TabsAtTheBottomLeaveTheDocumentAbove) {
    open(1);
    tabs.SetTabPosition(xtpTabPositionBottom);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    CRect all;
    tabs.GetClientRect(&all);
    EXPECT_EQ(ws->GetHeaderRect().bottom, all.bottom);
    EXPECT_EQ(ws->GetClientRect().top, all.top);
}

TEST_F(TabClientTest, HiddenTabsAndDetachGiveTheWindowsTheirFramesBack) {
    open(2);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    ws->GetItem(0)->SetVisible(FALSE);
    EXPECT_TRUE(ws->GetItem(0)->GetRect().IsRectEmpty());
    EXPECT_FALSE(ws->GetItem(0)->IsVisible());
    ws->GetItem(1)->SetCaption(L"Renamed");
    EXPECT_EQ(ws->GetItem(1)->GetCaption(), L"Renamed");

    const HWND a = ws->GetItem(0)->GetHandle();
    const HWND b = ws->GetItem(1)->GetHandle();
    tabs.Detach();
    EXPECT_FALSE(tabs.IsAttached());
    EXPECT_EQ(tabs.GetWorkspaceCount(), 0);
    for (HWND h : {a, b}) {
        EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION);
        EXPECT_TRUE(::IsWindowVisible(h));
    }
    EXPECT_TRUE(tabs.Attach(main)) << "and it can come back";
    EXPECT_EQ(tabs.GetWorkspace(0)->GetItemCount(), 2);
}

// ---- saved state ------------------------------------------------------------------------------

TEST_F(TabClientTest, TheGroupsAreSavedAndRestored) {
    tabs.EnableGroups();
    open(4);
    CXTPTabClientWnd::CWorkspace* ws = tabs.GetWorkspace(0);
    ASSERT_TRUE(tabs.MoveToNewGroup(ws->GetItem(3), FALSE));
    ASSERT_TRUE(tabs.MoveToWorkspace(tabs.GetWorkspace(0)->GetItem(1), tabs.GetWorkspace(1), 0));
    tabs.GetWorkspace(0)->SetSize(0.7);
    tabs.GetWorkspace(1)->SetSize(0.3);
    tabs.GetWorkspace(0)->SetCurSel(1);
    const auto before = layout();
    ASSERT_EQ(before, (Layout{{L"Sheet1", L"Sheet3"}, {L"Sheet2", L"Sheet4"}}));
    tabs.SaveState();

    // Everything back into one group, then the stored state again.
    while (tabs.GetWorkspaceCount() > 1)
        tabs.MoveToWorkspace(tabs.GetWorkspace(1)->GetItem(0), tabs.GetWorkspace(0));
    ASSERT_EQ(tabs.GetWorkspaceCount(), 1);
    tabs.LoadState();
    EXPECT_EQ(layout(), before);
    EXPECT_FALSE(tabs.IsHorizSplitting());
    EXPECT_NEAR(tabs.GetWorkspace(0)->GetSize(), 0.7, 1e-3);
    EXPECT_EQ(tabs.GetWorkspace(0)->GetSelectedItem()->GetCaption(), L"Sheet3");
}

TEST_F(TabClientTest, DocumentsOpenedAfterTheLoadJoinTheirStoredGroup) {
    tabs.EnableGroups();
    writeState(L"1", {L"0.5|Sheet1|Sheet1", L"0.5|Sheet2|Sheet3|Sheet2"});
    tabs.LoadState();
    open(3);
    EXPECT_EQ(layout(), (Layout{{L"Sheet1"}, {L"Sheet3", L"Sheet2"}}));
    EXPECT_TRUE(tabs.IsHorizSplitting());
}

struct BadState {
    const char* name;
    int groups;
    std::vector<std::wstring> entries;
    std::vector<std::vector<std::wstring>> expected;
};

void PrintTo(const BadState& s, std::ostream* os) {
    *os << s.name;
}

class TabClientBadStateTest : public TabClientTest, public ::testing::WithParamInterface<BadState> {};

TEST_P(TabClientBadStateTest, LoadsWhatIsValid) {
    const BadState& s = GetParam();
    tabs.EnableGroups();
    open(3);
    writeState(L"0", s.entries, s.groups);
    tabs.LoadState();
    EXPECT_EQ(layout(), s.expected);
    EXPECT_EQ(app.GetOpenDocumentCount(), 3) << "nothing is opened or closed by a load";
}

const BadState kBadStates[] = {
    {"missing documents leave their group out",
     2,
     {L"0.5|Gone.sht|Gone.sht|Other.sht", L"0.5|Sheet2|Sheet2|Missing.sht|Sheet1"},
     {{L"Sheet2", L"Sheet1", L"Sheet3"}}},
    {"a document named twice stays where it is named first",
     2,
     {L"1|Sheet1|Sheet1|Sheet2", L"1|Sheet2|Sheet2|Sheet3"},
     {{L"Sheet1", L"Sheet2"}, {L"Sheet3"}}},
    {"a group without its fields is skipped",
     2,
     {L"garbage", L"x|Sheet3|Sheet3"},
     {{L"Sheet3", L"Sheet1", L"Sheet2"}}},
    {"an absurd group count is ignored", 100000, {L"1|Sheet3|Sheet3"}, {{L"Sheet1", L"Sheet2", L"Sheet3"}}},
    {"no state changes nothing", 0, {}, {{L"Sheet1", L"Sheet2", L"Sheet3"}}},
};
INSTANTIATE_TEST_SUITE_P(States, TabClientBadStateTest, ::testing::ValuesIn(kBadStates));

} // namespace
