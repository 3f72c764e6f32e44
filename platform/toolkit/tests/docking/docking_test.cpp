// Panes in a frame: groups and tabs made from a table, closing with refusal, content windows,
// layouts stored and loaded, places kept across close and show, the bars and the sides.
#include "docking_fixture.h"

#include "pal/notice.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <ostream>

namespace dockingtest {
namespace {

enum Group { Left, Bottom, BelowLeft, Right };

struct PaneRow {
    int id;
    const wchar_t* title;
    Group group;
};

// As a frame builds its panes: the first of a group docks, the others become its tabs.
const PaneRow kPanes[] = {
    {1012, L"Archives", Bottom},  {1013, L"Desktop", Bottom},  {1006, L"Model tree", Left},
    {1004, L"Documents", Left},   {1007, L"Properties", Left}, {1003, L"Overview", BelowLeft},
    {1005, L"Errors", BelowLeft}, {1023, L"Assembly", Right},  {1021, L"Materials", Right},
};

void build(CXTPDockingPaneManager& m) {
    std::map<Group, std::vector<CXTPDockingPane*>> groups;
    for (const PaneRow& row : kPanes) {
        std::vector<CXTPDockingPane*>& group = groups[row.group];
        CXTPDockingPane* pane = nullptr;
        if (!group.empty()) {
            pane = m.CreatePane(row.id, CRect(0, 0, 200, 120), xtpPaneDockLeft);
            m.AttachPane(pane, group.back());
        } else {
            switch (row.group) {
            case Left:
                pane = m.CreatePane(row.id, CRect(0, 0, 300, 140), xtpPaneDockLeft);
                break;
            case Bottom:
                pane = m.CreatePane(row.id, CRect(0, 0, 270, 240), xtpPaneDockBottom);
                break;
            case BelowLeft:
                pane = m.CreatePane(row.id, CRect(0, 0, 270, 140), xtpPaneDockBottom,
                                    groups[Left].empty() ? nullptr : groups[Left].front());
                break;
            case Right:
                pane = m.CreatePane(row.id, CRect(0, 0, 270, 40), xtpPaneDockRight);
                break;
            }
        }
        ASSERT_NE(pane, nullptr) << row.id;
        pane->SetTitle(row.title);
        group.push_back(pane);
    }
}

CRect rectOf(Site* site, CXTPDockingPane* pane) {
    CRect rc;
    pane->GetTabbedContainer()->GetWindowRect(&rc);
    site->ScreenToClient(&rc);
    return rc;
}

TEST_F(DockingTest, PanesMadeFromATableLieInTheirGroupsInTabOrder) {
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    build(m);
    m.ShowPane(1004, FALSE);
    pump();
    EXPECT_EQ(describe(m), "S|(S-([1006,1004*,1007] [1003,1005*]) S-(C [1012,1013*]) [1023,1021*])");

    const CRect client = site->clientRect();
    const CRect left = rectOf(site, m.FindPane(1004)), below = rectOf(site, m.FindPane(1003));
    const CRect bottom = rectOf(site, m.FindPane(1012)), right = rectOf(site, m.FindPane(1023));
    EXPECT_EQ(left.Width(), 300);
    EXPECT_LE(left.right, client.left);
    EXPECT_EQ(below.left, left.left) << "below the left group, as wide";
    EXPECT_EQ(below.right, left.right);
    EXPECT_GT(below.top, left.bottom);
    EXPECT_GE(bottom.top, client.bottom);
    EXPECT_EQ(bottom.Height(), 240);
    EXPECT_EQ(bottom.left, client.left) << "the bottom group spans the client's width";
    EXPECT_GE(right.left, client.right);
    EXPECT_EQ(right.Width(), 270);
    // The selected pane shows its content, the others' stay hidden.
    ASSERT_NE(m.FindPane(1004)->GetChild(), nullptr);
    EXPECT_TRUE(m.FindPane(1004)->GetChild()->IsWindowVisible());
    ASSERT_NE(m.FindPane(1007)->GetChild(), nullptr) << "each pane was selected when attached";
    EXPECT_FALSE(m.FindPane(1007)->GetChild()->IsWindowVisible());
    EXPECT_EQ(checkSane(m, site), "");
}

TEST_F(DockingTest, APaneThatRefusesToCloseStays) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    build(m);
    site->refuseClose = {1004};
    site->heard.clear();
    EXPECT_FALSE(m.ClosePane(1004));
    EXPECT_FALSE(m.FindPane(1004)->IsClosed());
    EXPECT_EQ(site->heard, (std::vector<std::pair<int, int>>{{XTP_DPN_CLOSEPANE, 1004}}));

    // The caption's close button asks the same question.
    m.ShowPane(1004);
    pump();
    CXTPDockingPaneTabbedContainer* container = m.FindPane(1004)->GetTabbedContainer();
    CPoint close = container->GetCloseButtonRect().CenterPoint();
    container->ClientToScreen(&close);
    pal::test::click(close);
    pump();
    EXPECT_FALSE(m.FindPane(1004)->IsClosed());

    site->refuseClose.clear();
    site->heard.clear();
    pal::test::click(close);
    pump();
    EXPECT_TRUE(m.FindPane(1004)->IsClosed());
    EXPECT_EQ(site->heard, (std::vector<std::pair<int, int>>{{XTP_DPN_CLOSEPANE, 1004},
                                                             {100 + xtpPaneActionClosing, 1004},
                                                             {XTP_DPN_SHOWWINDOW, 1006},
                                                             {100 + xtpPaneActionClosed, 1004}}))
        << "the first open tab comes into view";
    EXPECT_TRUE(m.FindPane(1006)->IsSelected());
}

// The site may destroy a pane on hearing that it closed, from a call or from the close button:
// the manager touches it no more, and the rest of the layout stands.
TEST_F(DockingTest, APaneTheSiteDestroysOnHearingItClosedIsGone) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    build(m);
    site->destroyWhenClosed = {1004, 1006};
    EXPECT_TRUE(m.ClosePane(1004));
    pump();
    EXPECT_EQ(m.FindPane(1004), nullptr);

    m.ShowPane(1006);
    pump();
    CXTPDockingPaneTabbedContainer* container = m.FindPane(1006)->GetTabbedContainer();
    CPoint close = container->GetCloseButtonRect().CenterPoint();
    container->ClientToScreen(&close);
    pal::test::click(close);
    pump();
    EXPECT_EQ(m.FindPane(1006), nullptr);
    EXPECT_NE(m.FindPane(1007), nullptr);
    EXPECT_NE(
        std::find(site->heard.begin(), site->heard.end(), std::make_pair(100 + xtpPaneActionClosed, 1006)),
        site->heard.end());
}

TEST_F(DockingTest, AnAttachedWindowIsTheContentAndComesBackUnparented) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* pane = m.CreatePane(7, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    Content own;
    ASSERT_TRUE(own.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD, CRect(0, 0, 5, 5), site, 77));
    pane->Attach(&own);
    pump();
    EXPECT_EQ(pane->GetChild(), &own);
    EXPECT_EQ(::GetParent(own.m_hWnd), pane->GetTabbedContainer()->m_hWnd);
    EXPECT_TRUE(own.IsWindowVisible());
    CRect rc;
    own.GetWindowRect(&rc);
    EXPECT_EQ(rc, pane->GetPaneWindowRect()) << "it fills the pane";

    m.ShowPane(pane, TRUE);
    EXPECT_EQ(::GetFocus(), own.m_hWnd) << "the keyboard focus moves into the content";

    EXPECT_EQ(pane->Detach(), &own);
    EXPECT_EQ(pane->GetChild(), nullptr);
    EXPECT_EQ(::GetParent(own.m_hWnd), nullptr);
    EXPECT_FALSE(own.IsWindowVisible());
    own.DestroyWindow();
}

// Builds a layout that has every kind of place: docked groups with tabs, a floating pane, a
// collapsed one and a closed one.
void buildMixed(CXTPDockingPaneManager& m) {
    build(m);
    m.FloatPane(m.FindPane(1021), CRect(1300, 200, 1600, 520));
    m.FindPane(1003)->Hide();
    m.ClosePane(1013);
    m.ShowPane(1006, FALSE);
}

TEST_F(DockingTest, ALayoutStoredAndLoadedIntoAFreshManagerIsTheSame) {
    Site* first = makeSite(CRect(0, 0, 1200, 800));
    buildMixed(*first->manager);
    pump();
    const std::string before = describe(*first->manager, true);
    EXPECT_EQ(before, "S|(S-([1006*,1004,1007] [1003,1005*]^0) S-(C [1012*,1013!]) [1023*]) "
                      "F[1021*]@1300,200,1600,520");
    const std::string xml = store(*first->manager);

    Site* second = makeSite(CRect(0, 0, 1200, 800));
    ASSERT_TRUE(load(*second->manager, xml));
    pump();
    EXPECT_EQ(describe(*second->manager, true), before);
    EXPECT_EQ(second->manager->FindPane(1006)->GetTitle(), L"Model tree");
    EXPECT_TRUE(second->manager->FindPane(1003)->IsHidden());
    EXPECT_TRUE(second->manager->FindPane(1021)->IsFloating());
    EXPECT_TRUE(second->manager->FindPane(1013)->IsClosed());
    EXPECT_EQ(rectOf(second, second->manager->FindPane(1006)), rectOf(first, first->manager->FindPane(1006)));
    EXPECT_EQ(store(*second->manager), xml);
}

TEST_F(DockingTest, LoadingKeepsTheContentOfPanesItKnowsAndThePanesItDoesNot) {
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    m.CreatePane(1, CRect(0, 0, 200, 100), xtpPaneDockLeft)->SetTitle(L"One");
    const std::string xml = store(m);
    m.CreatePane(2, CRect(0, 0, 200, 100), xtpPaneDockRight)->SetTitle(L"Two");
    pump();
    CWnd* content = m.FindPane(1)->GetChild();
    ASSERT_NE(content, nullptr);
    ASSERT_TRUE(load(m, xml));
    pump();
    EXPECT_EQ(m.FindPane(1)->GetChild(), content);
    EXPECT_TRUE(content->IsWindowVisible());
    ASSERT_NE(m.FindPane(2), nullptr) << "a pane the layout does not know is not lost";
    EXPECT_TRUE(m.FindPane(2)->IsClosed());
    m.ShowPane(2);
    pump();
    EXPECT_FALSE(m.FindPane(2)->GetPaneWindowRect().IsRectEmpty());
}

struct PlaceCase {
    const char* name;
    int pane;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

class ClosedAndShown : public DockingTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(ClosedAndShown, APaneComesBackToItsPlace) {
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    buildMixed(m);
    CXTPDockingPane* pane = m.FindPane(GetParam().pane);
    m.ShowPane(pane, FALSE);
    pump();
    const std::string before = describe(m, true);
    const CRect rc = pane->GetPaneWindowRect();
    ASSERT_TRUE(m.ClosePane(pane));
    pump();
    EXPECT_NE(describe(m), before);
    m.ShowPane(pane, FALSE);
    pump();
    EXPECT_EQ(describe(m, true), before);
    EXPECT_EQ(pane->GetPaneWindowRect(), rc);
}

INSTANTIATE_TEST_SUITE_P(Places, ClosedAndShown,
                         ::testing::Values(PlaceCase{"Tabbed", 1007}, PlaceCase{"DockedAlone", 1023},
                                           PlaceCase{"Floating", 1021}, PlaceCase{"Collapsed", 1005}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DockingTest, TheBarBetweenAGroupAndTheClientMovesRoomUnlessLocked) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* pane = m.CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    pump();
    const CRect before = rectOf(site, pane);
    CPoint bar(before.right + 2, before.CenterPoint().y);
    site->ClientToScreen(&bar);
    auto drag = [&](int dx) {
        pal::test::mouseMove(bar);
        pal::test::mouseDown(bar);
        pump();
        pal::test::mouseMove(CPoint(bar.x + dx / 2, bar.y));
        pump();
        pal::test::mouseMove(CPoint(bar.x + dx, bar.y));
        pump();
        pal::test::mouseUp(CPoint(bar.x + dx, bar.y));
        pump();
    };
    drag(60);
    EXPECT_EQ(rectOf(site, pane).Width(), 310);
    EXPECT_EQ(site->clientRect().left, rectOf(site, pane).right + 5);
    bar.x += 60;
    m.LockPanes(TRUE);
    drag(-100);
    EXPECT_EQ(rectOf(site, pane).Width(), 310);
    m.LockPanes(FALSE);
    drag(-2000);
    EXPECT_EQ(rectOf(site, pane).Width(), 20) << "a pane keeps a sliver";
}

TEST_F(DockingTest, ACollapsedPaneSlidesOutFromItsSideAndBackWhenLeft) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* pane = m.CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockRight);
    pane->SetTitle(L"Layers");
    pump();
    pane->Hide();
    pump();
    EXPECT_TRUE(pane->IsHidden());
    CXTPDockingPaneAutoHidePanel* panel = m.GetAutoHidePanel(xtpPaneDockRight);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->IsWindowVisible());
    CRect strip;
    panel->GetWindowRect(&strip);
    site->ScreenToClient(&strip);
    EXPECT_EQ(site->clientRect().right, strip.left) << "the client gives the strip its room only";
    ASSERT_EQ(panel->GetTabs().size(), 1u);

    // Resting the pointer on the tab slides the pane out, over the client; leaving takes it back.
    CPoint tab = panel->GetTabs().front().first.CenterPoint();
    panel->ClientToScreen(&tab);
    pal::test::mouseMove(tab);
    pump();
    EXPECT_EQ(m.GetActiveAutoHidePane(), nullptr);
    advance(CXTPDockingPaneAutoHidePanel::kHoverDelay);
    pump();
    ASSERT_EQ(m.GetActiveAutoHidePane(), pane);
    CRect fly = pane->GetTabbedContainer()->GetPaneWindowRect();
    site->ScreenToClient(&fly);
    EXPECT_EQ(fly.right, strip.left);
    EXPECT_EQ(fly.Width(), 250);
    pal::test::mouseMove(CPoint(100, 300));
    advance(CXTPDockingPaneAutoHidePanel::kDismissDelay);
    pump();
    EXPECT_EQ(m.GetActiveAutoHidePane(), nullptr);
    EXPECT_FALSE(pane->GetTabbedContainer()->IsWindowVisible());

    // A click slides it out with the focus; the pin puts it back in its place.
    pal::test::click(tab);
    pump();
    ASSERT_EQ(m.GetActiveAutoHidePane(), pane);
    EXPECT_EQ(::GetFocus(), pane->GetChildHwnd());
    advance(CXTPDockingPaneAutoHidePanel::kDismissDelay);
    pump();
    EXPECT_EQ(m.GetActiveAutoHidePane(), pane) << "it stays while it has the focus";
    CXTPDockingPaneTabbedContainer* container = pane->GetTabbedContainer();
    CPoint pin = container->GetPinButtonRect().CenterPoint();
    container->ClientToScreen(&pin);
    pal::test::click(pin);
    pump();
    EXPECT_FALSE(pane->IsHidden());
    EXPECT_FALSE(panel->IsWindowVisible());
    EXPECT_EQ(rectOf(site, pane).Width(), 250);
    EXPECT_GE(rectOf(site, pane).left, site->clientRect().right);
}

TEST_F(DockingTest, DestroyedPanesAreGoneAndTheirContentIsGivenBack) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    build(m);
    pump();
    CWnd* content = m.FindPane(1004)->GetChild();
    ASSERT_NE(content, nullptr);
    m.DestroyPane(1004);
    EXPECT_EQ(m.FindPane(1004), nullptr);
    EXPECT_EQ(::GetParent(content->m_hWnd), nullptr);
    m.DestroyPane(1006);
    m.DestroyPane(1007);
    pump();
    EXPECT_EQ(describe(m), "S|([1003,1005*] S-(C [1012,1013*]) [1023,1021*])")
        << "a group that lost its panes leaves no empty place";
    EXPECT_EQ(checkSane(m, site), "");
}

// A derived manager makes its own panes; one of them cannot exchange itself.
class NotePane : public CXTPDockingPane {
public:
    using CXTPDockingPane::CXTPDockingPane;
    CString note;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override {
        if (!CXTPDockingPane::DoPropExchange(pPX) || GetID() == 13)
            return FALSE;
        PX_String(pPX, L"Note", note);
        return TRUE;
    }
};

class NoteManager : public CXTPDockingPaneManager {
public:
    CXTPDockingPaneBase* OnCreatePane(XTPDockingPaneType type, CXTPDockingPaneLayout* pLayout) override {
        if (type == xtpPaneTypeDockingPane)
            return new NotePane(pLayout);
        return CXTPDockingPaneManager::OnCreatePane(type, pLayout);
    }
};

std::vector<std::string> g_notices;
void collect(const std::string& line) {
    g_notices.push_back(line);
}

TEST_F(DockingTest, TheFactoryMakesThePanesAndOneThatCannotExchangeIsSkipped) {
    Site* site = makeSite(CRect(0, 0, 1000, 700), std::make_unique<NoteManager>());
    CXTPDockingPaneManager& m = *site->manager;
    for (int id : {11, 12, 13}) {
        auto* pane = dynamic_cast<NotePane*>(m.CreatePane(id, CRect(0, 0, 200, 100), xtpPaneDockLeft));
        ASSERT_NE(pane, nullptr);
        pane->note.Format(L"note %d", id);
    }
    g_notices.clear();
    pal::notice::setSink(&collect);
    const std::string xml = store(m);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_NE(g_notices[0].find("13"), std::string::npos);

    Site* other = makeSite(CRect(0, 0, 1000, 700), std::make_unique<NoteManager>());
    ASSERT_TRUE(load(*other->manager, xml));
    pal::notice::setSink(nullptr);
    EXPECT_EQ(describe(*other->manager), "S|([12*] [11*] C)");
    auto* twelve = dynamic_cast<NotePane*>(other->manager->FindPane(12));
    ASSERT_NE(twelve, nullptr);
    EXPECT_EQ(twelve->note, L"note 12");
}

TEST_F(DockingTest, AFrameThatGrowsOrShrinksKeepsItsPanesAndAClient) {
    Site* site = makeSite(CRect(0, 0, 1200, 800));
    CXTPDockingPaneManager& m = *site->manager;
    build(m);
    pump();
    site->MoveWindow(0, 0, 400, 300);
    pump();
    EXPECT_EQ(checkSane(m, site), "");
    EXPECT_GE(site->clientRect().Width(), 32);
    site->MoveWindow(0, 0, 1900, 1000);
    pump();
    EXPECT_EQ(rectOf(site, m.FindPane(1004)).Width(), 300) << "docked sizes come back";
    EXPECT_EQ(checkSane(m, site), "");
}

} // namespace
} // namespace dockingtest

namespace dockingtest {
namespace {

// Presses at `from`, moves in two steps and lets go at `to` (screen points), pumping between.
void dragMouse(CPoint from, CPoint to) {
    pal::test::mouseMove(from);
    pal::test::mouseDown(from);
    pal::test::pump();
    pal::test::mouseMove(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
    pal::test::pump();
    pal::test::mouseMove(to);
    pal::test::pump();
    pal::test::mouseUp(to);
    pal::test::pump();
}

TEST_F(DockingTest, TheMouseTearsAPaneOffMovesItsFrameAndSizesIt) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* pane = m.CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    pump();
    CXTPDockingPaneTabbedContainer* container = pane->GetTabbedContainer();
    CRect caption = container->GetCaptionRect();
    container->ClientToScreen(&caption);
    const CPoint grip(caption.left + 40, caption.CenterPoint().y);
    dragMouse(grip, grip + CSize(200, 100));
    ASSERT_TRUE(pane->IsFloating());
    CXTPDockingPaneMiniWnd* mini = m.GetLayout()->GetFloatingFrames().front();
    CRect first;
    mini->GetWindowRect(&first);
    EXPECT_EQ(first.Width(), 250 + 8) << "it floats at its docked size";

    // Its caption moves the frame; its border sizes it.
    container->GetWindowRect(&caption);
    const CPoint title(caption.left + 40, caption.top + 10);
    dragMouse(title, title + CSize(50, 40));
    CRect moved;
    mini->GetWindowRect(&moved);
    EXPECT_EQ(moved, first + CPoint(50, 40));
    EXPECT_EQ(mini->GetFloatingRect(), moved);
    const CPoint corner(moved.right - 2, moved.bottom - 2);
    dragMouse(corner, corner + CSize(60, 30));
    CRect sized;
    mini->GetWindowRect(&sized);
    EXPECT_EQ(sized, CRect(moved.left, moved.top, moved.right + 60, moved.bottom + 30));
    EXPECT_EQ(mini->GetFloatingRect(), sized);

    // Rolled up, the frame keeps its caption only, and nothing below is covered by the rest.
    mini->Collapse();
    CRect rolled;
    mini->GetWindowRect(&rolled);
    EXPECT_EQ(rolled.TopLeft(), sized.TopLeft());
    EXPECT_LT(rolled.Height(), 40);
    mini->Expand();
    mini->GetWindowRect(&rolled);
    EXPECT_EQ(rolled, sized);

    // Docked again, its frame goes and its window comes back into the main frame.
    m.DockPane(pane, xtpPaneDockRight);
    pump();
    EXPECT_FALSE(pane->IsFloating());
    EXPECT_TRUE(m.GetLayout()->GetFloatingFrames().empty());
    EXPECT_EQ(::GetParent(pane->GetTabbedContainer()->m_hWnd), site->m_hWnd);
    EXPECT_GE(rectOf(site, pane).left, site->clientRect().right);

    // Locked panes do not tear off.
    CXTPDockingPane* other = m.CreatePane(2, CRect(0, 0, 250, 100), xtpPaneDockRight);
    pump();
    m.LockPanes(TRUE);
    other->GetTabbedContainer()->GetWindowRect(&caption);
    dragMouse(CPoint(caption.left + 30, caption.top + 10), CPoint(caption.left - 200, caption.top + 200));
    EXPECT_FALSE(other->IsFloating());
}

// Docked beside what moving it takes away (its own floating frame, the splitter it leaves), a
// pane goes to the frame's side; the neighbour that went is not looked at again.
TEST_F(DockingTest, APaneDockedBesideWhatItsMoveTakesAwayGoesToTheFramesSide) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    CXTPDockingPaneManager& m = *site->manager;
    CXTPDockingPane* first = m.CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    CXTPDockingPane* second = m.CreatePane(2, CRect(0, 0, 250, 100), xtpPaneDockBottom, first);
    pump();
    CXTPDockingPaneMiniWnd* mini = m.FloatPane(first, CRect(300, 200, 600, 500));
    ASSERT_NE(mini, nullptr);
    pump();
    m.DockPane(first, xtpPaneDockRight, mini);
    pump();
    EXPECT_FALSE(first->IsFloating());
    EXPECT_TRUE(m.GetLayout()->GetFloatingFrames().empty());
    EXPECT_GE(rectOf(site, first).left, site->clientRect().right);
    EXPECT_EQ(checkSane(m, site), "");

    // The splitter that held the two goes when the second leaves it for a place beside it.
    m.DockPane(first, xtpPaneDockTop, second);
    pump();
    CXTPDockingPaneBase* split = second->GetTabbedContainer()->GetContainer();
    ASSERT_NE(split, nullptr);
    ASSERT_EQ(split->GetType(), xtpPaneTypeSplitterContainer);
    m.DockPane(second, xtpPaneDockLeft, split);
    pump();
    EXPECT_FALSE(second->IsFloating());
    EXPECT_EQ(checkSane(m, site), "");
}

} // namespace
} // namespace dockingtest

namespace dockingtest {
namespace {

WNDPROC g_before = nullptr;
int g_seen = 0;
LRESULT laterHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_seen;
    return ::CallWindowProcW(g_before, hwnd, message, wParam, lParam);
}

TEST_F(DockingTest, AManagerThatGoesBeforeItsFrameLeavesTheFrameWhole) {
    Site* site = makeSite(CRect(0, 0, 1000, 700));
    site->manager->CreatePane(1, CRect(0, 0, 250, 100), xtpPaneDockLeft);
    pump();
    Content* content = site->contents.at(1).get();
    // Someone else hooks the frame after the manager did.
    g_before = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(site->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&laterHook)));
    content->manager = nullptr;
    site->manager = nullptr;
    managers_.clear();
    EXPECT_EQ(::GetParent(content->m_hWnd), site->m_hWnd) << "the content window stays the frame's";
    EXPECT_FALSE(content->IsWindowVisible());
    g_seen = 0;
    site->MoveWindow(0, 0, 800, 600);
    pump();
    EXPECT_GT(g_seen, 0);
    CRect client;
    site->GetClientRect(&client);
    EXPECT_EQ(site->clientRect(), client) << "the view has the whole frame again";
}

} // namespace
} // namespace dockingtest
