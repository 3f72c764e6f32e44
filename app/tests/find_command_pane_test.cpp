// The find-command pane in the running program and the showing of a command's place on the
// frame's bars, on the bundled configuration: the pane lists what the box finds with pictures,
// disabled commands grey, in a light and a dark theme; a located control is highlighted with its
// popups open and the pointer on it; what no bar holds opens nothing.
#include "main_initialisation_fixture.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/HelpWindowArgs.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/PopupControls.h"
#include "app/FindCommandPane.h"
#include "frame/CommandBars.h"
#include "frame/FindInToolBars.h"
#include "frame/MainFrameRouting.h"
#include "frame/TabToolBar.h"
#include "pal/test/pump.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "pal/text.h"
#include "ribbon/ExtendedToolTip.h"
#include "ribbon/FindCommandWnd.h"
#include "xtp/CommandBars.h"
#include "xtp/PopupBar.h"
#include "xtp/RibbonBar.h"
#include "xtp/RibbonGroup.h"
#include "xtp/RibbonTab.h"

#include <optional>

namespace dvapp::test {
namespace {

class FindCommandPane : public MainInitialisation {
protected:
    // The program up with its ribbon and the pane floating beside it.
    CMainFrame* startWithPane() {
        if (!start())
            return nullptr;
        pal::test::pump();
        CMainFrame* frame = onlyFrame();
        if (frame == nullptr)
            return nullptr;
        frame->GetRibbonCommandBars()->SetRibbonMode(true);
        frame->SetWindowPos(nullptr, 0, 0, 1400, 900, SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout();
        CXTPDockingPane* pane = frame->GetPaneManager().FindPane(1028);
        if (pane == nullptr)
            return nullptr;
        frame->GetPaneManager().FloatPane(pane, CRect(1450, 100, 1810, 760));
        frame->GetPaneManager().ShowPane(pane);
        pal::test::pump();
        return frame;
    }

    CFindCommandWnd* paneWindow() { return dynamic_cast<CFindCommandWnd*>(app->GetFindCommandWindow(false)); }

    CXTPRibbonBar* ribbonOf(CMainFrame* frame) { return frame->GetRibbonBar(); }

    // The first visible control with this id in a group of the tab, or null.
    static CXTPControl* controlOnTab(CXTPRibbonTab* tab, int id) {
        for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
            if (!group->IsVisible())
                continue;
            for (int c = 0; c < group->GetCount(); ++c)
                if (group->GetAt(c)->GetID() == id && group->GetAt(c)->IsVisible())
                    return group->GetAt(c);
        }
        return nullptr;
    }

    static std::optional<int> tabHolding(CXTPRibbonBar* ribbon, int id) {
        for (int t = 0; t < ribbon->GetTabCount(); ++t)
            if (ribbon->GetTab(t)->IsVisible() && controlOnTab(ribbon->GetTab(t), id) != nullptr)
                return t;
        return std::nullopt;
    }

    static bool inQuickAccess(CXTPRibbonBar* ribbon, int id) {
        CXTPControls* quick = ribbon->GetQuickAccessControls();
        for (int i = 0; quick != nullptr && i < quick->GetCount(); ++i)
            if (quick->GetAt(i)->GetID() == id)
                return true;
        return false;
    }

    static CPoint centreOnScreen(CXTPControl* control) {
        CRect r = control->GetRect();
        control->GetParent()->ClientToScreen(&r);
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(FindCommandPane, ThePaneListsWhatTheBoxFindsInBothThemesWithDisabledCommandsGrey) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    CFindCommandWnd* pane = paneWindow();
    ASSERT_NE(pane, nullptr) << "pane 1028 holds the find-command window";
    FindCommandDialog* dialog = pane->GetDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsListCurrent()) << "filled when shown";
    const int everything = dialog->GetList().GetItemCount();
    EXPECT_GT(everything, 50);

    // Typed key by key into the box: each key narrows the list.
    dialog->GetSearchBox().SetFocus();
    int previous = everything;
    for (wchar_t key : std::wstring(L"LINE")) {
        pal::test::pressKey(key);
        pal::test::pump();
        const int now = dialog->GetList().GetItemCount();
        EXPECT_LE(now, previous) << "after " << static_cast<char>(key);
        previous = now;
    }
    EXPECT_EQ(dialog->GetTypedFilter(), L"line");
    ASSERT_GT(previous, 2);
    // Saving needs a document: most of these rows are grey.
    dialog->GetSearchBox().SetWindowText(L"");
    for (wchar_t key : std::wstring(L"SAVE"))
        pal::test::pressKey(key);
    pal::test::pump();
    EXPECT_EQ(dialog->GetTypedFilter(), L"save");

    // Some of what it lists cannot run without a document.
    int disabled = 0;
    for (int row = 0; row < dialog->GetList().GetItemCount(); ++row)
        disabled += !FindCommandHost::Instance().IsCommandEnabled(
            static_cast<int>(dialog->GetList().GetItemData(row)), &dialog->GetList(), nullptr);
    EXPECT_GT(disabled, 0);
    dialog->GetList().SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (const char* theme : {"office2013light", "office2013dark"}) {
        ASSERT_TRUE(UIModuleProxy::Instance().SetTheme(pal::text::fromUtf8(theme)));
        frame->RecalcLayout();
        pal::test::pump();
        EXPECT_TRUE(pal::test::keepSnapshot(::GetAncestor(pane->m_hWnd, GA_ROOT),
                                            std::string("find-command-pane-") + theme));
    }
    UIModuleProxy::Instance().SetTheme(L"office2013light");

    // The menu of the selected row, as the list shows it.
    HMENU menu = dialog->GetList().BuildContextMenu(frame);
    EXPECT_EQ(::GetMenuItemCount(menu),
              5 - (FindCommandHost::Instance().IsCommandEnabled(
                       static_cast<int>(dialog->GetList().GetItemData(1)), &dialog->GetList(), frame)
                       ? 0
                       : 1));
    bool kept = false;
    // The snapshot is taken while the menu is open; Escape closes it then.
    struct Snap : CWnd {
        bool* kept;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !*kept) {
                *kept = pal::test::keepSnapshot(reinterpret_cast<HWND>(lParam), "find-command-menu", true);
                pal::test::pressKey(VK_ESCAPE);
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
    };
    Snap snap;
    snap.kept = &kept;
    ASSERT_TRUE(snap.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 1500, 300, 10, 10, nullptr, nullptr));
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, 1500, 300, 0, snap.m_hWnd, nullptr);
    EXPECT_TRUE(kept);
    snap.DestroyWindow();
    ::DestroyMenu(menu);
}

class HelpHeard : public TypedApplicationEventListener<HelpWindowArgs::kEvent> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs& args) override {
        auto& help = static_cast<HelpWindowArgs&>(args);
        topics.push_back(help.TopicId);
        help.Handled = true;
    }
    std::vector<int> topics;
};

TEST_F(FindCommandPane, F1OverACardOpensItsCommandsHelpThroughTheFrame) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    CFindCommandWnd* pane = paneWindow();
    ASSERT_NE(pane, nullptr);
    HelpHeard heard;
    // Without a card the frame keeps F1 for itself.
    EXPECT_FALSE(MainFrameRouting::Instance().ShowFindCommandToolTipHelp(pane));
    EXPECT_FALSE(MainFrameRouting::Instance().ShowFindCommandToolTipHelp(nullptr));

    // The pointer resting on the row of the line command shows its card.
    FindCommandDialog* dialog = pane->GetDialog();
    dialog->SetFilter(L"1640");
    ASSERT_EQ(dialog->GetList().GetItemCount(), 1);
    CRect row;
    dialog->GetList().GetItemRect(0, &row, LVIR_BOUNDS);
    POINT at = row.CenterPoint();
    dialog->GetList().ClientToScreen(&at);
    pal::test::mouseMove(at);
    pal::test::pump();
    advance(::GetDoubleClickTime());
    pal::test::pump();
    ASSERT_NE(dialog->GetList().GetToolTipContext(), nullptr);
    ASSERT_TRUE(dialog->GetList().GetToolTipContext()->GetToolTip()->IsWindowVisible());
    const UINT context = app->GetHelpContextId();
    frame->SendMessage(WM_COMMAND, ID_HELP);
    EXPECT_EQ(heard.topics, std::vector<int>{164000});
    EXPECT_EQ(app->GetHelpContextId(), context) << "the help context is put back";
}

struct LocateCase {
    const char* name;
    // Arranges the frame; the id to look for.
    std::function<int(CMainFrame*, CXTPRibbonBar*)> arrange;
    // Checks what shows, given the frame and the id; null: nothing may be open and the pointer
    // stays where it was.
    std::function<void(CMainFrame*, CXTPRibbonBar*, int)> shown;
};

TEST_F(FindCommandPane, LocatingShowsTheControlWithItsPopupsOpenAndThePointerOnIt) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    CXTPRibbonBar* ribbon = ribbonOf(frame);
    ASSERT_NE(ribbon, nullptr);
    ASSERT_TRUE(ribbon->IsVisible());

    const auto pointerOn = [](CXTPControl* control) {
        POINT at{};
        ::GetCursorPos(&at);
        EXPECT_EQ(CPoint(at), centreOnScreen(control));
        CXTPCommandBar* bar = control->GetParent();
        const bool listed = bar->GetControl(control->GetIndex()) == control;
        EXPECT_TRUE(listed ? bar->GetSelected() == control->GetIndex() : control->GetSelected() != FALSE)
            << "highlighted";
    };
    const auto nothingOpen = [](CMainFrame*, CXTPRibbonBar* ribbon, int) {
        EXPECT_EQ(ribbon->GetPopuped(), -1);
        CXTPControl* split = controlOnTab(ribbon->GetTab(1), 64001);
        if (split != nullptr) {
            EXPECT_FALSE(static_cast<CXTPControlPopup*>(split)->GetPopuped());
        }
        POINT at{};
        ::GetCursorPos(&at);
        EXPECT_EQ(CPoint(at), CPoint(3, 3));
    };
    const std::vector<LocateCase> cases{
        {"only on a tab that is not selected",
         [](CMainFrame*, CXTPRibbonBar* ribbon) {
             ribbon->SetCurSel(0);
             for (int t = ribbon->GetTabCount() - 1; t > 0; --t) {
                 CXTPRibbonTab* tab = ribbon->GetTab(t);
                 if (!tab->IsVisible())
                     continue;
                 for (int g = 0; g < tab->GetGroups()->GetCount(); ++g)
                     for (int c = 0; c < tab->GetGroups()->GetAt(g)->GetCount(); ++c) {
                         const int id = tab->GetGroups()->GetAt(g)->GetAt(c)->GetID();
                         if (id > 0 && !inQuickAccess(ribbon, id) && tabHolding(ribbon, id) == t)
                             return id;
                     }
             }
             return 0;
         },
         [&](CMainFrame*, CXTPRibbonBar* ribbon, int id) {
             const std::optional<int> tab = tabHolding(ribbon, id);
             ASSERT_TRUE(tab.has_value());
             EXPECT_EQ(ribbon->GetSelectedTab(), ribbon->GetTab(*tab));
             pointerOn(controlOnTab(ribbon->GetTab(*tab), id));
         }},
        {"in quick access and on a tab",
         [](CMainFrame*, CXTPRibbonBar* ribbon) {
             CXTPControls* quick = ribbon->GetQuickAccessControls();
             for (int i = 0; quick != nullptr && i < quick->GetCount(); ++i)
                 if (quick->GetAt(i)->IsVisible() && quick->GetAt(i)->GetID() != 900 &&
                     tabHolding(ribbon, quick->GetAt(i)->GetID()))
                     return quick->GetAt(i)->GetID();
             return 0;
         },
         [&](CMainFrame*, CXTPRibbonBar* ribbon, int id) {
             CXTPControls* quick = ribbon->GetQuickAccessControls();
             for (int i = 0; i < quick->GetCount(); ++i)
                 if (quick->GetAt(i)->GetID() == id)
                     pointerOn(quick->GetAt(i));
         }},
        {"in a split popup of a group on another tab",
         [](CMainFrame*, CXTPRibbonBar* ribbon) {
             CXTPRibbonGroup* group = ribbon->GetTab(1)->GetGroups()->GetAt(0);
             auto* split = CXTPControlPopup::CreateControlPopup(xtpControlSplitButtonPopup);
             group->Add(split, 64001);
             split->SetCaption(L"Split");
             auto* bar = CXTPPopupBar::CreatePopupBar(ribbon->GetCommandBars());
             bar->GetControls()->Add(xtpControlButton, 64002)->SetCaption(L"First");
             bar->GetControls()->Add(xtpControlButton, 64003)->SetCaption(L"Inside");
             split->SetCommandBar(bar);
             bar->InternalRelease();
             ribbon->SetCurSel(0);
             return 64003;
         },
         [&](CMainFrame*, CXTPRibbonBar* ribbon, int id) {
             EXPECT_EQ(ribbon->GetSelectedTab(), ribbon->GetTab(1));
             CXTPControl* split = controlOnTab(ribbon->GetTab(1), 64001);
             ASSERT_NE(split, nullptr);
             EXPECT_TRUE(static_cast<CXTPControlPopup*>(split)->GetPopuped()) << "its popup open";
             CXTPCommandBar* bar = static_cast<CXTPControlPopup*>(split)->GetCommandBar();
             ASSERT_TRUE(bar->IsVisible());
             pointerOn(bar->GetControl(1));
             // The frame, and the popup, which is a window of its own.
             EXPECT_TRUE(pal::test::keepSnapshot(ribbon->GetSite()->m_hWnd, "find-command-located"));
             EXPECT_TRUE(pal::test::keepSnapshot(bar->m_hWnd, "find-command-located-popup"));
         }},
        {"held by no bar", [](CMainFrame*, CXTPRibbonBar*) { return 64999; }, nothingOpen},
        {"only on a transient control",
         [](CMainFrame*, CXTPRibbonBar* ribbon) {
             CXTPControl* control =
                 ribbon->GetTab(0)->GetGroups()->GetAt(0)->Add(xtpControlButton, 64010, L"Transient");
             control->SetTemporary(TRUE);
             ribbon->SetCurSel(0);
             return 64010;
         },
         nothingOpen},
    };
    for (const LocateCase& c : cases) {
        SCOPED_TRACE(c.name);
        frame->GetCommandBars()->ClosePopups();
        frame->RecalcLayout();
        pal::test::pump();
        const int id = c.arrange(frame, ribbon);
        ASSERT_NE(id, 0);
        frame->RecalcLayout();
        pal::test::pump();
        ::SetCursorPos(3, 3);
        const bool found = FindInToolBars(frame, id);
        pal::test::pump();
        EXPECT_EQ(found, c.shown != nullptr && c.name != std::string("held by no bar") &&
                             c.name != std::string("only on a transient control"));
        c.shown(frame, ribbon, id);
    }
    frame->GetCommandBars()->ClosePopups();
}

TEST_F(FindCommandPane, AddingToARibbonTabWithoutGroupsMakesANewGroup) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    CXTPRibbonBar* ribbon = ribbonOf(frame);
    ASSERT_NE(ribbon, nullptr);
    CXTPRibbonTab* empty = ribbon->AddTab(L"Empty");
    ribbon->SetCurSel(empty->GetIndex());
    ASSERT_TRUE(AddCommandToRibbon(*frame, 1029));
    ASSERT_EQ(empty->GetGroups()->GetCount(), 1);
    CXTPRibbonGroup* group = empty->GetGroups()->GetAt(0);
    EXPECT_EQ(std::wstring(group->GetCaption().GetString()),
              Dravik::I18n::Translate("panels.ribbon.new_group"));
    ASSERT_EQ(group->GetCount(), 1);
    EXPECT_EQ(group->GetAt(0)->GetID(), 1029);
    // A second one joins that group.
    ASSERT_TRUE(AddCommandToRibbon(*frame, 1001));
    EXPECT_EQ(group->GetCount(), 2);
}

} // namespace
} // namespace dvapp::test

namespace dvapp::test {
namespace {

// Without the ribbon: a command of the File menu opens that menu and rests on its item.
TEST_F(FindCommandPane, WithoutTheRibbonACommandOfAMenuOpensTheMenu) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    frame->RecalcLayout();
    pal::test::pump();
    CXTPMenuBar* menu = frame->GetMenuBar();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->IsVisible());
    ::SetCursorPos(3, 3);
    ASSERT_TRUE(FindInToolBars(frame, 1019));
    pal::test::pump();
    ASSERT_EQ(menu->GetPopuped(), 0) << "the File menu is open";
    CXTPCommandBar* file = static_cast<CXTPControlPopup*>(menu->GetControl(0))->GetCommandBar();
    ASSERT_TRUE(file->IsVisible());
    CXTPControl* exit = file->GetControl(file->GetSelected());
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->GetID(), 1019);
    CRect r = exit->GetRect();
    file->ClientToScreen(&r);
    POINT at{};
    ::GetCursorPos(&at);
    EXPECT_EQ(CPoint(at), CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_TRUE(pal::test::keepSnapshot(file->m_hWnd, "find-command-located-menu"));
    frame->GetCommandBars()->ClosePopups();
}

// The list of panes fills itself each time it opens, so a pane's item exists only once the search
// has filled it; opening the list to show that item must keep it, and the list fills itself
// again at its next opening.
TEST_F(FindCommandPane, APaneListedOnlyInThePanesListIsShownThereAndTheListFillsItselfAgainAfter) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    CXTPRibbonBar* ribbon = ribbonOf(frame);
    ASSERT_NE(ribbon, nullptr);
    constexpr int kProbe = 64020;
    CXTPDockingPane* probe =
        frame->GetPaneManager().CreatePane(kProbe, CRect(0, 0, 200, 200), xtpPaneDockLeft);
    ASSERT_NE(probe, nullptr);
    probe->SetTitle(L"Probe");
    frame->GetPaneManager().ClosePane(probe);
    // The list as the frame makes it for 2852, on the second tab (the bundled one lists it on
    // tabs of the drawing modes).
    auto* list = new Dravik::UI::DockingPanesPopup(&frame->GetPaneManager());
    ribbon->GetTab(1)->GetGroups()->GetAt(0)->Add(list, 2852);
    list->SetCaption(L"Panes");
    ribbon->SetCurSel(0);
    frame->RecalcLayout();
    pal::test::pump();
    ::SetCursorPos(3, 3);
    ASSERT_TRUE(FindInToolBars(frame, kProbe));
    pal::test::pump();
    Dravik::UI::DockingPanesPopup* panes = nullptr;
    for (int t = 0; t < ribbon->GetTabCount() && panes == nullptr; ++t)
        if (auto* open = dynamic_cast<Dravik::UI::DockingPanesPopup*>(controlOnTab(ribbon->GetTab(t), 2852));
            open != nullptr && open->GetPopuped()) {
            panes = open;
            EXPECT_EQ(ribbon->GetSelectedTab(), ribbon->GetTab(t));
        }
    ASSERT_NE(panes, nullptr) << "a list of the panes is open";
    CXTPCommandBar* items = panes->GetCommandBar();
    CXTPControl* item = items->GetControl(items->GetSelected());
    ASSERT_NE(item, nullptr) << "an item is highlighted";
    EXPECT_EQ(item->GetID(), kProbe);
    POINT at{};
    ::GetCursorPos(&at);
    EXPECT_EQ(CPoint(at), centreOnScreen(item));
    EXPECT_TRUE(panes->IsPendingFill()) << "the list fills itself again when it next opens";
    frame->GetCommandBars()->ClosePopups();
}

// Beyond the ribbon: a command only on a tab of the tabbed bar that is not current makes that
// tab current; one on a floating bar under a floating pane has the pane collapse off it.
TEST_F(FindCommandPane, WithoutTheRibbonTheTabbedBarSwitchesTabAndAFloatingPaneMovesOffAFloatingBar) {
    CMainFrame* frame = startWithPane();
    ASSERT_NE(frame, nullptr);
    frame->GetRibbonCommandBars()->SetRibbonMode(false);
    CDVTabToolBar* tabs = frame->GetTabToolBar();
    ASSERT_NE(tabs, nullptr);
    tabs->SetVisible(TRUE);
    const UINT onTab[] = {64030};
    CXTPTabManagerItem* probeTab = tabs->InsertCategory(-1, L"Probe", onTab, 1);
    ASSERT_NE(probeTab, nullptr);
    tabs->SelectCategory(0);
    CXTPToolBar* floating = frame->GetCommandBars()->Add(L"Probe bar", xtpBarFloating);
    ASSERT_NE(floating, nullptr);
    floating->GetControls()->Add(xtpControlButton, 64040)->SetCaption(L"Covered");
    // Under the find-command pane, which floats at 1450,100 to 1810,760.
    floating->SetFloatingPosition(CPoint(1500, 300));
    floating->SetPosition(xtpBarFloating);
    frame->RecalcLayout();
    pal::test::pump();
    CXTPDockingPane* pane = frame->GetPaneManager().FindPane(1028);
    ASSERT_NE(pane, nullptr);
    CXTPDockingPaneMiniWnd* mini = nullptr;
    for (CXTPDockingPaneBase* up = pane->GetContainer(); up != nullptr && mini == nullptr;
         up = up->GetContainer())
        mini = dynamic_cast<CXTPDockingPaneMiniWnd*>(up);
    ASSERT_NE(mini, nullptr) << "the pane floats";
    ASSERT_FALSE(mini->IsCollapsed());

    ASSERT_TRUE(FindInToolBars(frame, 64030));
    pal::test::pump();
    EXPECT_EQ(tabs->GetSelectedCategory(), probeTab);
    CXTPControl* onProbe = tabs->GetControl(tabs->GetSelected());
    ASSERT_NE(onProbe, nullptr);
    EXPECT_EQ(onProbe->GetID(), 64030);
    POINT at{};
    ::GetCursorPos(&at);
    EXPECT_EQ(CPoint(at), centreOnScreen(onProbe));

    ASSERT_TRUE(FindInToolBars(frame, 64040));
    pal::test::pump();
    EXPECT_TRUE(mini->IsCollapsed()) << "the pane no longer covers the bar";
    EXPECT_EQ(floating->GetControl(floating->GetSelected())->GetID(), 64040);
    ::GetCursorPos(&at);
    EXPECT_EQ(CPoint(at), centreOnScreen(floating->GetControl(0)));
}

} // namespace
} // namespace dvapp::test
