// The ribbon: tab selection and its notifications, groups giving way as it narrows, the quick
// access bar's storage, the backstage, key tips and loading a damaged definition.
#include "ribbon_fixture.h"

#include "pal/test/hooks.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/PopupBar.h"

#include <climits>
#include <map>

namespace {

using toolkit_test::RibbonTest;
using Log = std::vector<std::string>;
namespace ids = toolkit_test;

TEST_F(RibbonTest, TheRibbonIsTheFramesTopBarWithItsTabsAndGroups) {
    EXPECT_EQ(frame->GetCommandBars()->GetMenuBar(), ribbon);
    ASSERT_EQ(ribbon->GetTabCount(), 2);
    EXPECT_EQ(ribbon->GetSelectedTab(), ribbon->GetTab(0)) << "the first tab comes selected";
    CRect bar;
    ribbon->GetWindowRect(&bar);
    frame->ScreenToClient(&bar);
    EXPECT_EQ(bar.top, 0);
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(bar.Width(), client.Width());
    // The three groups side by side under the tabs, each control inside its group.
    CXTPRibbonTab* home = ribbon->GetTab(0);
    ASSERT_EQ(home->GetGroups()->GetCount(), 3);
    for (int g = 0; g < 3; ++g) {
        CXTPRibbonGroup* group = home->GetGroups()->GetAt(g);
        EXPECT_EQ(group->GetReduceLevel(), 0);
        EXPECT_TRUE(ribbon->GetGroupsRect().PtInRect(group->GetRect().TopLeft()));
        if (g > 0) {
            EXPECT_EQ(group->GetRect().left, home->GetGroups()->GetAt(g - 1)->GetRect().right);
        }
        for (int i = 0; i < group->GetCount(); ++i) {
            CRect in;
            EXPECT_TRUE(in.IntersectRect(group->GetRect(), group->GetAt(i)->GetRect()) &&
                        in == group->GetAt(i)->GetRect());
        }
    }
    // A large button spans the group's height; small ones stack three to a column.
    CXTPControl* paste = home->GetGroups()->GetAt(0)->GetAt(0);
    CXTPControl* cut = home->GetGroups()->GetAt(0)->GetAt(1);
    CXTPControl* copy = home->GetGroups()->GetAt(0)->GetAt(2);
    EXPECT_GT(paste->GetRect().Height(), 2 * cut->GetRect().Height());
    EXPECT_EQ(cut->GetRect().left, copy->GetRect().left);
    EXPECT_EQ(cut->GetRect().bottom, copy->GetRect().top);
}

TEST_F(RibbonTest, TabsChangeByClickAndBySetCurSelWithTheNotificationsInOrder) {
    frame->log.clear();
    CXTPRibbonTab* view = ribbon->GetTab(1);
    pal::test::click(onScreen(view->GetRect().CenterPoint()));
    run.pump();
    EXPECT_EQ(frame->log,
              (Log{"OnTabChanging View", "TCN_SELCHANGING View", "OnTabChanged View", "TCN_SELCHANGE View"}));
    EXPECT_EQ(ribbon->GetSelectedTab(), view);
    EXPECT_EQ(ribbon->GetCurSel(), 1);

    frame->log.clear();
    EXPECT_TRUE(ribbon->SetCurSel(0));
    EXPECT_EQ(frame->log,
              (Log{"OnTabChanging Home", "TCN_SELCHANGING Home", "OnTabChanged Home", "TCN_SELCHANGE Home"}));
    // The groups shown are the new tab's.
    EXPECT_FALSE(ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetRect().IsRectEmpty());

    // Either side may refuse; the selection then stays and nobody hears of a change.
    for (int who = 0; who < 2; ++who) {
        frame->log.clear();
        ribbon->refuse = who == 0;
        frame->refuseChanging = who == 1;
        EXPECT_FALSE(ribbon->SetCurSel(1));
        EXPECT_EQ(ribbon->GetCurSel(), 0);
        EXPECT_EQ(frame->log.back(), who == 0 ? "OnTabChanging View" : "TCN_SELCHANGING View");
    }
    ribbon->refuse = frame->refuseChanging = false;
    // A hidden tab or an index out of range is not selected.
    view->SetVisible(FALSE);
    EXPECT_FALSE(ribbon->SetCurSel(1));
    EXPECT_FALSE(ribbon->SetCurSel(7));
}

// What the window below the ribbon is told while a tab changes: a subclass in front of it.
int gMovesBelow = 0;
WNDPROC gBelowProc = nullptr;
LRESULT countMovesBelow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE || message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED)
        ++gMovesBelow;
    return CallWindowProcW(gBelowProc, hwnd, message, wParam, lParam);
}

TEST_F(RibbonTest, AnotherTabLaysOutTheRibbonAloneAndTheWindowBelowIsNotMoved) {
    const HWND below = frame->m_hWndMDIClient;
    gBelowProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(below, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&countMovesBelow)));
    run.pump();
    RECT before{};
    ::GetWindowRect(below, &before);
    for (int tab : {1, 0}) {
        gMovesBelow = 0;
        pal::test::click(onScreen(ribbon->GetTab(tab)->GetRect().CenterPoint()));
        run.pump();
        EXPECT_EQ(ribbon->GetCurSel(), tab);
        // The new tab's groups are laid out, and nothing below the ribbon moved or was sized.
        EXPECT_FALSE(ribbon->GetTab(tab)->GetGroups()->GetAt(0)->GetRect().IsRectEmpty()) << tab;
        EXPECT_EQ(gMovesBelow, 0) << tab;
        RECT after{};
        ::GetWindowRect(below, &after);
        EXPECT_TRUE(::EqualRect(&before, &after)) << tab;
    }
    // A change of the ribbon's height still reaches the frame: the window below grows.
    ribbon->SetRibbonMinimized(TRUE);
    run.pump();
    RECT minimized{};
    ::GetWindowRect(below, &minimized);
    EXPECT_LT(minimized.top, before.top);
    ::SetWindowLongPtrW(below, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBelowProc));
}

TEST_F(RibbonTest, NarrowedStepByStepTheGroupsGiveWayInTheirOrderAndComeBackWhenWidened) {
    CXTPRibbonTab* home = ribbon->GetTab(0);
    std::map<std::string, int> level;
    // The changes of one step, listed in the order the groups give way (or come back).
    auto changes = [&](std::vector<int> order) {
        Log events;
        for (int g : order) {
            CXTPRibbonGroup* group = home->GetGroups()->GetAt(g);
            const std::string name(CStringA(group->GetCaption()));
            if (level[name] != group->GetReduceLevel())
                events.push_back(name + " " + std::to_string(group->GetReduceLevel()));
            level[name] = group->GetReduceLevel();
        }
        return events;
    };
    const std::vector<int> givingWay{1, 2, 0}; // Font (priority 0), Editing (1), Clipboard (2)
    const std::vector<int> comingBack{0, 2, 1};
    changes(givingWay);
    Log narrowing, widening;
    std::vector<int> clipped; // the widths at which the groups did not fit
    for (int width = 900; width >= 160; width -= 3) {
        setRibbonWidth(width);
        const Log step = changes(givingWay);
        narrowing.insert(narrowing.end(), step.begin(), step.end());
        if (home->GetGroups()->GetAt(2)->GetRect().right > ribbon->GetGroupsRect().right)
            clipped.push_back(width);
    }
    // One size per round, in the declared order. A size no narrower than the one before is
    // passed over: Font has no large controls (no medium size), Clipboard's caption is as wide
    // as its medium column (no small size), and neither Clipboard nor Editing gains by
    // collapsing into a button as wide as its caption.
    EXPECT_EQ(narrowing, (Log{"Editing 1", "Clipboard 1", "Font 2", "Editing 2", "Font 3"}));
    // Only with every group at its narrowest does anything go past the ribbon's end.
    ASSERT_FALSE(clipped.empty());
    for (int width = clipped.front(); width >= 160; width -= 3) {
        setRibbonWidth(width);
        EXPECT_TRUE(changes(givingWay).empty()) << width;
    }
    for (int width = 160; width <= 900; width += 3) {
        setRibbonWidth(width);
        const Log step = changes(comingBack);
        widening.insert(widening.end(), step.begin(), step.end());
    }
    EXPECT_EQ(widening, (Log{"Font 2", "Editing 1", "Font 0", "Clipboard 0", "Editing 0"}));
}

TEST_F(RibbonTest, ACollapsedGroupOpensItsControlsInAPopup) {
    setRibbonWidth(160);
    CXTPRibbonGroup* font = ribbon->GetTab(0)->GetGroups()->GetAt(1);
    ASSERT_TRUE(font->IsReduced());
    EXPECT_TRUE(ribbon->OpenCollapsedGroup(font));
    run.pump();
    frame->GetCommandBars()->ClosePopups();
    EXPECT_FALSE(ribbon->OpenCollapsedGroup(ribbon->GetTab(1)->GetGroups()->GetAt(0))) << "not collapsed";
}

// Two faults mended: a group of small icons, collapsed into a button wider than itself, made the
// ribbon wider as it narrowed; and a collapsed group showed a plain square, so groups collapsed
// side by side could not be told apart.
TEST_F(RibbonTest, NarrowingNeverWidensTheGroupsAndACollapsedGroupShowsItsFirstPicture) {
    // Two groups of nine small buttons, which collapse into buttons narrower than themselves,
    // and one of three icons that collapsed would be wider than its caption.
    CXTPRibbonTab* marks = ribbon->AddTab(L"Marks");
    std::vector<CXTPRibbonGroup*> groups;
    for (auto [caption, first] : {std::pair{L"Lines", 181}, {L"Fills", 191}}) {
        groups.push_back(marks->AddGroup(caption));
        for (int id = first; id < first + 9; ++id)
            groups.back()->Add(xtpControlButton, id, L"Style");
    }
    CXTPRibbonGroup* tiny = marks->AddGroup(L"Ab");
    for (int id : {201, 202, 203})
        tiny->Add(xtpControlButton, id, L"Mark")->SetStyle(xtpButtonIcon);
    groups.push_back(tiny);
    ASSERT_TRUE(ribbon->SetCurSel(2));
    run.pump();
    int before = INT_MAX;
    for (int width = 700; width >= 100; width -= 3) {
        setRibbonWidth(width);
        int used = 0;
        for (CXTPRibbonGroup* g : groups)
            used += g->GetRect().Width();
        EXPECT_LE(used, before) << "at " << width;
        before = used;
        EXPECT_LT(tiny->GetReduceLevel(), 3) << "collapsed it would be wider, at " << width;
    }
    ASSERT_TRUE(groups[0]->IsReduced());
    ASSERT_TRUE(groups[1]->IsReduced());

    ribbon->UpdateWindow();
    const pal::gdi::Surface shot = pal::test::snapshot(ribbon->m_hWnd, true);
    ASSERT_TRUE(pal::test::keepSnapshot(ribbon->m_hWnd, "ribbon-collapsed-groups.png"));
    // The large picture of each group's first button, above the centre of its band.
    const int icon = ribbon->GetLargeIconSize().cx;
    for (auto [g, first] : {std::pair{groups[0], 181}, {groups[1], 191}}) {
        const CRect rc = g->GetRect();
        EXPECT_EQ(shot.pixel(rc.CenterPoint().x, rc.top + 3 + 3 + icon / 4),
                  toolkit_test::LoggingRibbon::IconColor(first))
            << first;
    }
}

TEST_F(RibbonTest, AClickRunsAButtonsCommandAndTheLauncherSendsTheGroupsId) {
    CXTPRibbonGroup* font = ribbon->GetTab(0)->GetGroups()->GetAt(1);
    frame->log.clear();
    pal::test::click(onScreen(ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(0)->GetRect().CenterPoint()));
    run.pump();
    pal::test::click(
        onScreen(CXTPRibbonPaintManager::Current()->GetLauncherRect(font->GetRect()).CenterPoint()));
    run.pump();
    // The quick access bar's buttons run theirs too.
    pal::test::click(onScreen(ribbon->GetQuickAccessControls()->GetAt(1)->GetRect().CenterPoint()));
    run.pump();
    EXPECT_EQ(frame->log, (Log{"command 101", "command 152", "command 142"}));
}

TEST_F(RibbonTest, TheQuickAccessBarStoresItsCommands) {
    ribbon->ShowQuickAccessBelowRibbon(TRUE);
    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Layout");
    ribbon->DoPropExchange(&store);
    const CString xml = store.GetXML();
    EXPECT_NE(xml.Find(L"<QuickAccess"), -1);

    ribbon->GetQuickAccessControls()->RemoveAll();
    ribbon->ShowQuickAccessBelowRibbon(FALSE);
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Layout");
    ASSERT_TRUE(load.LoadFromString(xml));
    ribbon->DoPropExchange(&load);
    CXTPControls* quick = ribbon->GetQuickAccessControls();
    ASSERT_EQ(quick->GetCount(), 3);
    EXPECT_EQ(quick->GetAt(0)->GetID(), ids::ID_SAVE);
    EXPECT_EQ(quick->GetAt(2)->GetID(), ids::ID_REDO);
    EXPECT_EQ(quick->GetAt(1)->GetCaption(), L"Undo");
    EXPECT_TRUE(ribbon->IsQuickAccessBelowRibbon());
    // Below the ribbon, under the groups.
    EXPECT_GE(quick->GetAt(0)->GetRect().top, ribbon->GetGroupsRect().bottom);
    // The tabs, groups and controls came back with it.
    ASSERT_EQ(ribbon->GetTabCount(), 2);
    EXPECT_EQ(ribbon->GetTab(0)->GetGroups()->GetAt(2)->GetAt(0)->GetStyle(), xtpButtonIconAndCaptionBelow);
    EXPECT_TRUE(ribbon->GetTab(0)->GetGroups()->GetAt(1)->IsOptionButtonVisible());
}

TEST_F(RibbonTest, ADamagedDefinitionLoadsWhatIsValid) {
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Layout");
    ASSERT_TRUE(load.LoadFromFile(
        sourcePath("platform/toolkit/tests/fixtures/ribbon_damaged.xml").wstring().c_str()));
    ribbon->DoPropExchange(&load);
    // Tab 7 twice: the second goes. The empty group and the group repeating an id go. The
    // controls of an unknown type, without an id or repeating one go. A tab left without
    // groups stays, and a colour that is no number is none.
    ASSERT_EQ(ribbon->GetTabCount(), 3);
    EXPECT_EQ(ribbon->GetTab(2)->GetGroups()->GetCount(), 0);
    EXPECT_EQ(ribbon->GetTab(2)->GetContextColor(), xtpRibbonTabContextColorNone);
    EXPECT_EQ(ribbon->GetTab(0)->GetCaption(), L"Start");
    EXPECT_EQ(ribbon->GetTab(1)->GetCaption(), L"Tools");
    CXTPRibbonGroups* groups = ribbon->GetTab(0)->GetGroups();
    ASSERT_EQ(groups->GetCount(), 1);
    EXPECT_EQ(groups->GetAt(0)->GetCaption(), L"Shapes");
    ASSERT_EQ(groups->GetAt(0)->GetCount(), 2);
    EXPECT_EQ(groups->GetAt(0)->GetAt(0)->GetID(), 201);
    EXPECT_EQ(groups->GetAt(0)->GetAt(1)->GetID(), 202);
    EXPECT_EQ(ribbon->GetTab(1)->GetGroups()->GetCount(), 1);
    EXPECT_EQ(ribbon->GetTab(1)->GetContextColor(), xtpRibbonTabContextColorGreen);
    EXPECT_EQ(ribbon->GetQuickAccessControls()->GetCount(), 1);
    // What loaded lays out and paints.
    run.pump();
    EXPECT_FALSE(groups->GetAt(0)->GetRect().IsRectEmpty());
}

TEST_F(RibbonTest, TheFileButtonOpensTheBackstageAndEscClosesIt) {
    CXTPRibbonBackstageView* view = CXTPRibbonBackstageView::CreateBackstageView(frame->GetCommandBars());
    CXTPRibbonBackstagePageRecent recent;
    ASSERT_TRUE(recent.Create(XTP_IDD_RIBBONBACKSTAGEPAGE_RECENT, frame));
    view->AddCommand(ids::ID_BACKSTAGE_SAVEAS, L"Save &As");
    CXTPRibbonBackstageTab* tab = view->AddTab(&recent, ids::ID_BACKSTAGE_RECENT, L"&Recent");
    ribbon->SetBackstageView(view);
    view->InternalRelease(); // the File button holds it now

    pal::test::click(onScreen(ribbon->GetSystemButton()->GetRect().CenterPoint()));
    run.pump();
    ASSERT_TRUE(view->IsOpen());
    EXPECT_EQ(view->GetActiveTab(), tab);
    EXPECT_TRUE(recent.IsWindowVisible());
    CRect covered, client;
    view->GetWindowRect(&covered);
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    EXPECT_EQ(covered.bottom, client.bottom);
    EXPECT_EQ(covered.top, client.top + ribbon->GetCaptionRect().Height()) << "the quick access row stays";

    pal::test::pressKey(VK_ESCAPE);
    run.pump();
    EXPECT_FALSE(view->IsOpen());
    EXPECT_FALSE(recent.IsWindowVisible());

    // A command closes the view and runs; OnCancel closes it.
    ribbon->GetSystemButton()->OnClick();
    ASSERT_TRUE(view->IsOpen());
    frame->log.clear();
    CPoint command = view->GetControl(0)->GetRect().CenterPoint();
    view->ClientToScreen(&command);
    pal::test::click(command);
    run.pump();
    EXPECT_FALSE(view->IsOpen());
    EXPECT_EQ(frame->log, Log{"command 161"});
    ribbon->GetSystemButton()->OnClick();
    view->OnCancel();
    EXPECT_FALSE(view->IsOpen());
    recent.DestroyWindow();
}

TEST_F(RibbonTest, KeyTipsSelectATabAndRunACommand) {
    pal::test::pressKey(VK_MENU);
    run.pump();
    ASSERT_TRUE(ribbon->IsKeyboardTipsVisible());
    std::vector<std::wstring> shown;
    for (const XTP_RIBBON_KEYTIP& tip : ribbon->GetKeyboardTips())
        shown.emplace_back(tip.strText);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"F", L"H", L"V", L"1", L"2", L"3"}));

    frame->log.clear();
    pal::test::pressKey('V');
    run.pump();
    EXPECT_EQ(ribbon->GetCurSel(), 1);
    ASSERT_TRUE(ribbon->IsKeyboardTipsVisible()) << "the tab's controls show theirs";
    pal::test::pressKey('N');
    run.pump();
    EXPECT_EQ(frame->log.back(), "command 133");
    EXPECT_FALSE(ribbon->IsKeyboardTipsVisible());

    // Two controls sharing a letter get a digit each; Esc goes back a level, then out.
    pal::test::pressKey(VK_MENU);
    pal::test::pressKey('H');
    run.pump();
    std::map<std::wstring, int> tips;
    for (const XTP_RIBBON_KEYTIP& tip : ribbon->GetKeyboardTips())
        tips[std::wstring(tip.strText)] = tip.pControl ? tip.pControl->GetID() : 0;
    EXPECT_EQ(tips[L"F"], ids::ID_FIND);
    EXPECT_EQ(tips[L"C"], ids::ID_COPY);
    EXPECT_EQ(tips[L"S1"], ids::ID_SHRINK);
    EXPECT_EQ(tips[L"S2"], ids::ID_SELECT);
    frame->log.clear();
    pal::test::pressKey('F');
    run.pump();
    EXPECT_EQ(frame->log, Log{"command 121"});
    pal::test::pressKey(VK_MENU);
    pal::test::pressKey('H');
    pal::test::pressKey(VK_ESCAPE);
    run.pump();
    ASSERT_TRUE(ribbon->IsKeyboardTipsVisible());
    EXPECT_EQ(ribbon->GetKeyboardTips().front().strText, L"F") << "back at the first level";
    pal::test::pressKey(VK_ESCAPE);
    run.pump();
    EXPECT_FALSE(ribbon->IsKeyboardTipsVisible());
}

// A popup that makes its list each time it opens, as a list of panes does.
class FillingPopup : public CXTPControlPopup {
public:
    int fills = 0;
    BOOL OnSetPopup(BOOL bPopup) override {
        if (bPopup) {
            ++fills;
            if (GetCommandBar() == nullptr) {
                CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
                SetCommandBar(bar);
                bar->InternalRelease();
            }
            GetCommandBar()->GetControls()->RemoveAll();
            for (int i = 0; i < 3; ++i)
                GetCommandBar()->GetControls()->Add(xtpControlButton, 170 + i, L"Item");
        }
        return CXTPControlPopup::OnSetPopup(bPopup);
    }
};

TEST_F(RibbonTest, APopupOpenedByItsKeyTipFillsItselfAndOpensOnItsFirstItem) {
    auto* filling = new FillingPopup;
    ribbon->GetTab(1)->GetGroups()->GetAt(0)->Add(filling, 169);
    filling->SetCaption(L"&Panes");
    frame->RecalcLayout();
    run.pump();
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "before it has a list" : "again, with the list it made");
        pal::test::pressKey(VK_MENU);
        pal::test::pressKey('V');
        pal::test::pressKey('P');
        run.pump();
        EXPECT_EQ(filling->fills, round);
        ASSERT_TRUE(filling->GetPopuped());
        CXTPCommandBar* list = filling->GetCommandBar();
        EXPECT_EQ(list->GetSelected(), 0) << "its first item is chosen";
        pal::test::pressKey(VK_ESCAPE);
        pal::test::pressKey(VK_ESCAPE);
        pal::test::pressKey(VK_ESCAPE);
        run.pump();
        frame->GetCommandBars()->ClosePopups();
        run.pump();
    }
}

TEST_F(RibbonTest, AMinimisedRibbonShowsCopiesOfATabsGroupsInAPopup) {
    ribbon->GetTab(1)->GetGroups()->GetAt(0)->GetAt(1)->SetVisible(FALSE);
    CRect full;
    ribbon->GetWindowRect(&full);
    pal::test::doubleClick(onScreen(ribbon->GetTab(0)->GetRect().CenterPoint()));
    run.pump();
    ASSERT_TRUE(ribbon->IsRibbonMinimized());
    CRect small;
    ribbon->GetWindowRect(&small);
    EXPECT_EQ(full.Height() - small.Height(), CXTPRibbonPaintManager::Current()->GetGroupsHeight());

    pal::test::click(onScreen(ribbon->GetTab(1)->GetRect().CenterPoint()));
    run.pump();
    CXTPRibbonTabPopupToolBar* popup = ribbon->GetTabPopupToolBar();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->IsOpen());
    EXPECT_EQ(popup->GetRibbonTab(), ribbon->GetTab(1));
    // A group for each of the tab's, holding copies of its shown controls, in the popup.
    CXTPRibbonGroups* sources = ribbon->GetTab(1)->GetGroups();
    ASSERT_EQ(popup->GetGroups()->GetCount(), sources->GetCount());
    CXTPRibbonGroup* copies = popup->GetGroups()->GetAt(0);
    ASSERT_EQ(copies->GetCount(), sources->GetAt(0)->GetCount() - 1) << "the hidden control is left out";
    CXTPControl* copy = copies->GetAt(0);
    EXPECT_NE(copy, sources->GetAt(0)->GetAt(0));
    EXPECT_EQ(copy->GetID(), sources->GetAt(0)->GetAt(0)->GetID());
    EXPECT_EQ(copy->GetParent(), popup);
    frame->log.clear();
    CPoint zoom = copy->GetRect().CenterPoint();
    popup->ClientToScreen(&zoom);
    pal::test::click(zoom);
    run.pump();
    EXPECT_EQ(frame->log, Log{"command 131"});
    EXPECT_FALSE(popup->IsOpen());
    ribbon->SetRibbonMinimized(FALSE);
    run.pump();
    ribbon->GetWindowRect(&small);
    EXPECT_EQ(small.Height(), full.Height());
}

// A ribbon made as a copy has the source's tabs, groups, controls and quick access, a File
// button and tab strip of its own.
TEST_F(RibbonTest, ACopiedRibbonHasTheSourcesTabsGroupsAndControls) {
    ribbon->GetTab(1)->SetVisible(FALSE);
    ribbon->GetControls()->Add(xtpControlButton, 191);
    CXTPCommandBar* made = ribbon->Clone(TRUE);
    auto* copy = dynamic_cast<CXTPRibbonBar*>(made);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetTabCount(), 2);
    EXPECT_EQ(copy->GetTab(0)->GetCaption(), ribbon->GetTab(0)->GetCaption());
    EXPECT_FALSE(copy->GetTab(1)->IsVisible());
    CXTPRibbonGroups* groups = copy->GetTab(0)->GetGroups();
    ASSERT_EQ(groups->GetCount(), 3);
    EXPECT_EQ(groups->GetAt(1)->GetCaption(), CString(L"Font"));
    ASSERT_EQ(groups->GetAt(0)->GetCount(), 3);
    EXPECT_EQ(groups->GetAt(0)->GetAt(0)->GetID(), toolkit_test::ID_PASTE);
    EXPECT_NE(groups->GetAt(0)->GetAt(0), ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(0));
    EXPECT_EQ(groups->GetAt(0)->GetAt(0)->GetParent(), copy);
    EXPECT_EQ(copy->GetQuickAccessControls()->GetCount(), ribbon->GetQuickAccessControls()->GetCount());
    EXPECT_NE(copy->GetSystemButton(), ribbon->GetSystemButton());
    EXPECT_EQ(copy->GetControls()->IndexOf(copy->GetSystemButton()), 0);
    EXPECT_NE(copy->GetControls()->FindControl(191), nullptr);
    EXPECT_EQ(copy->GetControls()->GetCount(), ribbon->GetControls()->GetCount());
    made->InternalRelease();
}

TEST_F(RibbonTest, TheSiteHearsEachChangeOfTheMinimisedStateOnce) {
    frame->log.clear();
    pal::test::doubleClick(onScreen(ribbon->GetTab(0)->GetRect().CenterPoint()));
    run.pump();
    ribbon->SetRibbonMinimized(TRUE); // no change: nothing to tell
    ribbon->SetRibbonMinimized(FALSE);
    Log told;
    for (const std::string& line : frame->log)
        if (line.find("ribbon") != std::string::npos)
            told.push_back(line);
    EXPECT_EQ(told, (Log{"our ribbon minimised", "our ribbon restored"}));
}

TEST_F(RibbonTest, TheFrameThemeDrawsTheCaptionWithItsButtonsOnTheRibbon) {
    ribbon->EnableFrameTheme();
    run.pump();
    EXPECT_FALSE(::GetWindowLongPtrW(frame->m_hWnd, GWL_STYLE) & WS_CAPTION);
    const CRect caption = ribbon->GetCaptionRect();
    EXPECT_EQ(caption.Height(), CXTPRibbonPaintManager::Current()->GetCaptionHeight());
    EXPECT_GE(ribbon->GetTabsRect().top, caption.bottom);
    EXPECT_TRUE(caption.PtInRect(ribbon->GetQuickAccessControls()->GetAt(0)->GetRect().CenterPoint()));
    // The title written across the middle of the caption.
    const auto picture = pal::test::snapshot(ribbon->m_hWnd, true);
    int title = 0;
    for (int x = caption.CenterPoint().x - 60; x < caption.CenterPoint().x + 60; ++x) {
        for (int y = caption.top; y < caption.bottom; ++y)
            title += picture.pixel(x, y) != CXTPRibbonPaintManager::Current()->GetCaptionFace();
    }
    EXPECT_GT(title, 20);
    // Its minimise button minimises the frame.
    CPoint minimise(caption.right - 2 * CXTPDpi::ScaleX(46) - CXTPDpi::ScaleX(23), caption.CenterPoint().y);
    pal::test::click(onScreen(minimise));
    run.pump();
    EXPECT_TRUE(::IsIconic(frame->m_hWnd));
    frame->ShowWindow(SW_RESTORE);
    ribbon->EnableFrameTheme(FALSE);
    EXPECT_TRUE(::GetWindowLongPtrW(frame->m_hWnd, GWL_STYLE) & WS_CAPTION);
}

TEST_F(RibbonTest, LargeButtonsTakeTheRibbonsLargeIconSize) {
    ribbon->UpdateWindow();
    EXPECT_EQ(ribbon->iconAsked[ids::ID_PASTE], CXTPDpi::ScaleIcon(32));
    EXPECT_EQ(ribbon->iconAsked[ids::ID_CUT], CXTPDpi::ScaleIcon(16));
    ribbon->largeIcon = 48;
    ribbon->RecalcLayout();
    ribbon->UpdateWindow();
    EXPECT_EQ(ribbon->iconAsked[ids::ID_PASTE], 48);
    EXPECT_GE(ribbon->GetTab(0)->GetGroups()->GetAt(0)->GetAt(0)->GetRect().Width(), 48);
}

TEST_F(RibbonTest, ContextualTabsShowTheirColourAndCaptionWhenVisible) {
    CXTPRibbonTab* format = ribbon->AddTab(L"Format");
    format->SetContextTab(xtpRibbonTabContextColorGreen, L"Picture Tools");
    format->AddGroup(L"Adjust")->Add(xtpControlButton, 171, L"Brightness");
    ribbon->EnableFrameTheme();
    run.pump();
    const CRect tab = format->GetRect();
    ASSERT_FALSE(tab.IsRectEmpty());
    const auto picture = pal::test::snapshot(ribbon->m_hWnd, true);
    const COLORREF green = CXTPRibbonPaintManager::Current()->GetContextColor(xtpRibbonTabContextColorGreen);
    EXPECT_EQ(picture.pixel(tab.CenterPoint().x, ribbon->GetCaptionRect().top + 1), green) << "the header";
    EXPECT_EQ(picture.pixel(tab.left + 3, tab.top), green) << "the tab's own band";
    format->SetVisible(FALSE);
    run.pump();
    EXPECT_TRUE(format->GetRect().IsRectEmpty());
    ribbon->EnableFrameTheme(FALSE);
}

} // namespace
