// The main frame's command bars on a live frame: the menu bar and the ribbon by mode, the
// tool-bar list popup, and the buttons of split-button popups.
#include "frame/CommandBars.h"
#include "frame/CommandPopups.h"
#include "frame/ControlFactory.h"
#include "frame/FixedToolBars.h"

#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/PopupControls.h"
#include "DravikUI/ToolBars.h"
#include "DravikUI/XML.h"
#include "frame/TabToolBar.h"
#include "frame/TabbedMainToolBarAdapter.h"
#include "panels/SysPanelControls.h"
#include "xtp/PropExchange.h"

#include "win/user/menu.h"

#include "XTToolkitPro.h"
#include "afxwin.h"
#include "pal/test/mfc_app.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/snapshot.h"
#include "pal/test/user_hooks.h"
#include "xtp/PropExchange.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Frame : public CXTPMDIFrameWnd {
public:
    std::vector<UINT> commands;
    int OnCreate(LPCREATESTRUCTW lpcs) {
        if (CXTPMDIFrameWnd::OnCreate(lpcs) == -1 || !InitCommandBars(RUNTIME_CLASS(CDVRibbonCommandBars)))
            return -1;
        return 0;
    }
    void OnAnyCommand(UINT id) { commands.push_back(id); }
    void OnUpdateAny(CCmdUI* ui) { ui->Enable(TRUE); }
    CDVRibbonCommandBars* bars() const { return static_cast<CDVRibbonCommandBars*>(GetCommandBars()); }

protected:
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Frame, CXTPMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(1, 60000, &Frame::OnAnyCommand)
ON_UPDATE_COMMAND_UI_RANGE(1, 60000, &Frame::OnUpdateAny)
END_MESSAGE_MAP()

using App = pal::test::OneFrameApp<Frame>;

class CommandBarsTest : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        run = std::make_unique<pal::test::AppRun>(app);
        ASSERT_TRUE(run->init());
    }
    void TearDown() override {
        SetToolBarListMenuSource(nullptr);
        run.reset();
        pal::test::resetUserState();
        SandboxTest::TearDown();
    }
    CDVRibbonCommandBars* bars() { return app.frame.bars(); }
    static void snapshot(HWND hwnd, const std::string& name) {
        ASSERT_TRUE(pal::test::keepSnapshot(hwnd, name));
    }
    // The buttons of a popup run while it is open, as a person chooses them.
    void open(CXTPToolBar* bar, CXTPControlPopup* popup) {
        bars()->RecalcFrameLayout();
        run->pump();
        bar->SetTrackingMode(TRUE, FALSE);
        ASSERT_TRUE(popup->OnSetPopup(TRUE));
        ASSERT_EQ(popup->GetCommandBar()->GetRootParent(), bar);
    }
    CXTPToolBar* addBar(const wchar_t* title, UINT id) {
        CXTPToolBar* bar = bars()->Add(title, xtpBarTop, RUNTIME_CLASS(CDVToolBar));
        bar->SetBarID(id);
        return bar;
    }

    App app{L"Bars", CRect(40, 40, 900, 400)};
    std::unique_ptr<pal::test::AppRun> run;
};

TEST_F(CommandBarsTest, RibbonModeSwitchesBetweenMenuBarAndRibbon) {
    CDVRibbonCommandBars* set = bars();
    EXPECT_FALSE(set->IsRibbonMode());
    CXTPMenuBar* menu = set->GetMainMenuBar();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(set->GetMainMenuBar(), menu);
    EXPECT_EQ(set->GetMenuBar(), menu);
    EXPECT_EQ(menu->GetBarID(), 1u);
    EXPECT_TRUE(Dravik::UI::IsFixable(menu));
    EXPECT_FALSE(menu->IsCustomizable());

    set->SetRibbonMode(true);
    CXTPRibbonBar* ribbon = set->GetRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(set->GetMenuBar(), ribbon);
    EXPECT_TRUE(ribbon->IsVisible());
    EXPECT_FALSE(menu->IsVisible());
    EXPECT_FALSE(menu->IsContextMenuPresent());
    EXPECT_FALSE(set->IsToolBarContextMenuEnabled());
    EXPECT_TRUE(set->GetCommandBarsOptions()->bShowRibbon);
    EXPECT_FALSE(IsToolBarListed(set, ribbon));
    EXPECT_FALSE(IsToolBarListed(set, menu));

    set->SetRibbonMode(false);
    EXPECT_TRUE(menu->IsVisible());
    EXPECT_TRUE(menu->IsContextMenuPresent());
    EXPECT_FALSE(ribbon->IsVisible());
    EXPECT_TRUE(set->IsToolBarContextMenuEnabled());
    EXPECT_FALSE(set->GetCommandBarsOptions()->bShowRibbon);

    set->Remove(menu); // forgotten when the tool kit removes it, made anew when asked
    CXTPMenuBar* again = set->GetMainMenuBar();
    ASSERT_NE(again, nullptr);
    int menuBars = 0;
    for (int i = 0; i < set->GetCount(); ++i)
        menuBars += set->GetAt(i) == again ? 1 : 0;
    EXPECT_EQ(menuBars, 1);
}

TEST_F(CommandBarsTest, TheListPopupListsBarsByGroupAndTitle) {
    addBar(L"B", 59392);
    addBar(L"A", 59393);
    CXTPToolBar* hidden = addBar(L"C", 59394);
    hidden->SetVisible(FALSE);
    addBar(L"", 59395);
    bars()->GetMainMenuBar();
    SetToolBarListMenuSource([](UINT id) -> HMENU {
        EXPECT_EQ(id, 1100u);
        HMENU menu = CreatePopupMenu();
        HMENU outer = CreatePopupMenu();
        HMENU list = CreatePopupMenu();
        AppendMenuW(list, MF_STRING, 1, L"placeholder");
        AppendMenuW(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(list), L"Tool bars");
        AppendMenuW(outer, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(outer, MF_STRING, 787, L"Archives");
        AppendMenuW(outer, MF_STRING, 819, L"PDM pane");
        AppendMenuW(outer, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(outer, MF_STRING, 781, L"Properties");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), L"View");
        return menu;
    });
    CXTPPopupBar* popup = bars()->GetToolbarsPopup();
    ASSERT_NE(popup, nullptr);
    const auto& list = bars()->GetToolBarList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].title, L"A");
    EXPECT_EQ(list[1].title, L"B");
    EXPECT_EQ(list[2].title, L"C");
    EXPECT_FALSE(list[2].visible);
    EXPECT_EQ(bars()->GetListedBarId(700), 59393u);
    EXPECT_EQ(bars()->GetListedBarId(703), 0u);

    // The work mix is off: the PDM toggles are gone, the pane toggle stays and keeps the popup open.
    ASSERT_EQ(popup->GetControls()->GetCount(), 2);
    auto* sub = dynamic_cast<CXTPControlPopup*>(popup->GetControls()->GetAt(0));
    ASSERT_TRUE(sub != nullptr && sub->GetCommandBar() != nullptr);
    EXPECT_EQ(sub->GetCommandBar()->GetControls()->GetCount(), 3);
    CXTPControl* first = sub->GetCommandBar()->GetControls()->GetAt(0);
    EXPECT_EQ(first->GetID(), 700);
    EXPECT_FALSE(first->GetCloseSubMenuOnClick());
    EXPECT_EQ(first->GetStyle(), xtpButtonCaption);
    CXTPControl* pane = popup->GetControls()->GetAt(1);
    EXPECT_EQ(pane->GetID(), 781);
    EXPECT_FALSE(pane->GetCloseSubMenuOnClick());

    bars()->OnTrackingModeChanged(popup, FALSE);
    EXPECT_TRUE(bars()->GetToolBarList().empty());
    popup->InternalRelease();
}

TEST_F(CommandBarsTest, ADeferredCommandIsPostedToTheFrame) {
    CXTPToolBar* bar = addBar(L"View", 59392);
    auto* popup = static_cast<CXTPControlPopup*>(bar->GetControls()->Add(xtpControlButtonPopup, 1340));
    popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars()));
    popup->GetCommandBar()->InternalRelease();
    CXTPControl* button = popup->GetCommandBar()->GetControls()->Add(new CDVControlButton, 1273);
    app.frame.commands.clear();
    button->OnExecute();
    EXPECT_TRUE(app.frame.commands.empty()); // not run in place
    run->pump();
    EXPECT_EQ(app.frame.commands, std::vector<UINT>{1273});
}

TEST_F(CommandBarsTest, ASplitButtonTakesTheLastChosenCommand) {
    CXTPToolBar* bar = addBar(L"Draw", 59392);
    auto* split = static_cast<CXTPControlPopup*>(bar->GetControls()->Add(xtpControlSplitButtonPopup, 1404));
    split->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars()));
    split->GetCommandBar()->InternalRelease();
    CXTPControls* items = split->GetCommandBar()->GetControls();
    items->Add(new CDVControlButton, 1404)->SetCaption(L"&Line");
    CXTPControl* arc = items->Add(new CDVControlButton, 2980);
    arc->SetCaption(L"Дуга (&A)");
    open(bar, split);
    app.frame.commands.clear();
    arc->OnExecute();
    EXPECT_EQ(app.frame.commands, std::vector<UINT>{2980});
    EXPECT_EQ(split->GetID(), 2980);
    EXPECT_EQ(std::wstring(split->GetCaption().GetString()), L"Дуга");
    EXPECT_EQ(std::wstring(split->GetTooltip().GetString()), L"Дуга");
}

TEST_F(CommandBarsTest, TheExpandButtonPutsThePopupsCommandsOnTheBar) {
    CXTPToolBar* bar = addBar(L"Draw", 59392);
    bar->GetControls()->Add(xtpControlButton, 1001);
    auto* popup = static_cast<CXTPControlPopup*>(bar->GetControls()->Add(xtpControlSplitButtonPopup, 1308));
    popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars()));
    popup->GetCommandBar()->InternalRelease();
    bar->GetControls()->Add(xtpControlButton, 1002);
    CXTPControls* items = popup->GetCommandBar()->GetControls();
    for (const int id : {1308, 1468, 1472})
        items->Add(new CDVControlButton, id)->SetCaption((L"&Command " + std::to_wstring(id)).c_str());
    CXTPControl* expand = items->Add(new CDVControlButton, CDVControlButton::kExpandId);
    open(bar, popup);
    expand->OnExecute();

    std::vector<int> ids;
    std::vector<bool> groups;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        ids.push_back(bar->GetControls()->GetAt(i)->GetID());
        groups.push_back(bar->GetControls()->GetAt(i)->GetBeginGroup() != FALSE);
    }
    EXPECT_EQ(ids, (std::vector<int>{1001, 1308, 1468, 1472, 1002}));
    EXPECT_EQ(groups, (std::vector<bool>{false, true, false, false, true}));
    EXPECT_EQ(std::wstring(bar->GetControls()->GetAt(2)->GetTooltip().GetString()), L"Command 1468");
    EXPECT_NE(dynamic_cast<CDVControlButton*>(bar->GetControls()->GetAt(1)), nullptr);

    // The bar as a person sees it: the three commands in their own group where the popup was.
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i) {
        CXTPControl* control = bar->GetControls()->GetAt(i);
        control->SetCaption((L"Command " + std::to_wstring(control->GetID())).c_str());
        control->SetStyle(xtpButtonCaption);
    }
    bars()->RecalcFrameLayout();
    run->pump();
    snapshot(app.frame.GetSafeHwnd(), "frame_expanded_popup");
}

TEST_F(CommandBarsTest, ExpandedButtonsJoinTheCurrentTab) {
    auto* bar = static_cast<CDVTabToolBar*>(bars()->Add(L"Modes", xtpBarTop, RUNTIME_CLASS(CDVTabToolBar)));
    const UINT ids[] = {1001};
    bar->AddTab(L"Draw", ids, 1, Dravik::UniqueIdentifier{}, L"", std::nullopt, true, false);
    bar->SetShowPrompts(true);
    auto* popup = static_cast<CXTPControlPopup*>(bar->GetControls()->Add(xtpControlSplitButtonPopup, 1308));
    popup->SetCategory(L"Draw");
    popup->SetCommandBar(CXTPPopupBar::CreatePopupBar(bars()));
    popup->GetCommandBar()->InternalRelease();
    CXTPControls* items = popup->GetCommandBar()->GetControls();
    for (const int id : {1308, 1468})
        items->Add(new CDVControlButton, id)->SetCaption((L"Command " + std::to_wstring(id)).c_str());
    CXTPControl* expand = items->Add(new CDVControlButton, CDVControlButton::kExpandId);
    bar->UpdateTabs();
    open(bar, popup);
    expand->OnExecute();

    for (const int id : {1308, 1468}) {
        CXTPControl* button = bar->GetControls()->FindControl(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->GetCategory(), L"Draw") << id;
        EXPECT_EQ(button->GetStyle(), xtpButtonIconAndCaptionBelow) << id;
        EXPECT_TRUE(button->IsVisible()) << id;
    }
}

TEST_F(CommandBarsTest, TheGripperMenuFixesTheBar) {
    // The gripper lies across a horizontal bar's start and along a vertical bar's top.
    CXTPToolBar* side = addBar(L"Side", 59393);
    side->GetControls()->Add(xtpControlButton, 1002);
    side->SetPosition(xtpBarLeft);
    CXTPToolBar* bar = addBar(L"Draw", 59392);
    bar->GetControls()->Add(xtpControlButton, 1001);
    bars()->RecalcFrameLayout();
    run->pump();
    struct Case {
        CXTPToolBar* bar;
        bool vertical;
    };
    for (const Case& c : {Case{bar, false}, Case{side, true}}) {
        SCOPED_TRACE(c.vertical ? "vertical" : "horizontal");
        CRect window;
        ::GetWindowRect(c.bar->GetSafeHwnd(), &window);
        const CRect gripper = c.bar->GetGripperRect();
        const int depth = c.vertical ? gripper.Height() : gripper.Width();
        ASSERT_GT(depth, 0);
        // Along the bar's length from its start, across its whole thickness.
        const auto at = [&](int along, int across) {
            return c.vertical ? CPoint(window.left + across, window.top + along)
                              : CPoint(window.left + along, window.top + across);
        };
        const int thickness = c.vertical ? window.Width() : window.Height();
        EXPECT_TRUE(CDVCommandBars::IsOnGripper(c.bar, at(1, 2)));
        EXPECT_TRUE(CDVCommandBars::IsOnGripper(c.bar, at(depth - 1, thickness - 1)));
        EXPECT_FALSE(CDVCommandBars::IsOnGripper(c.bar, at(depth + 4, 2)));
        EXPECT_FALSE(CDVCommandBars::IsOnGripper(c.bar, at(1, thickness + 1))) << "beside the bar";
    }
    CRect window;
    ::GetWindowRect(bar->GetSafeHwnd(), &window);

    CXTPPopupBar* menu = bars()->CreateFixMenu(bar);
    ASSERT_EQ(menu->GetControls()->GetCount(), 1);
    CXTPControl* toggle = menu->GetControls()->GetAt(0);
    EXPECT_FALSE(toggle->GetChecked());
    EXPECT_NE(toggle->GetFlags() & xtpFlagManualUpdate, 0u);
    toggle->OnExecute();
    EXPECT_TRUE(Dravik::UI::IsFixed(bar));
    menu->InternalRelease();

    CXTPPopupBar* again = bars()->CreateFixMenu(bar);
    EXPECT_TRUE(again->GetControls()->GetAt(0)->GetChecked());
    again->InternalRelease();
    // A fixed bar shows no gripper, so its menu is the tool kit's there.
    EXPECT_FALSE(CDVCommandBars::IsOnGripper(bar, CPoint(window.left + 1, window.top + 2)));
}

std::vector<TabControl> drawTab(const wchar_t* caption = L"Draw") {
    std::vector<TabControl> controls;
    const UINT ids[] = {1300, 1301};
    bool group = false;
    for (const UINT id : TabCommandIds(ids, true)) {
        if (id == 0) {
            group = true;
            continue;
        }
        controls.push_back({static_cast<int>(id), caption, group});
        group = false;
    }
    return controls;
}

std::vector<int> buttonIds(CXTPCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        ids.push_back(bar->GetControls()->GetAt(i)->GetID());
    return ids;
}

TEST_F(CommandBarsTest, ATabBecomesAToolBar) {
    answer(IDNO);
    ASSERT_TRUE(CreateToolBarFromTab(bars(), drawTab(), L"Draw"));
    CXTPToolBar* bar = bars()->GetToolBar(59392);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(std::wstring(bar->GetTitle().GetString()), L"Draw");
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(buttonIds(bar), (std::vector<int>{1300, 1301}));

    answer(IDYES);
    ASSERT_TRUE(CreateToolBarFromTab(bars(), drawTab(L"Edit"), L"Edit"));
    CXTPToolBar* full = bars()->GetToolBar(59393);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(buttonIds(full),
              (std::vector<int>{1065, 1064, 1072, 1001, 1029, 1027, 1115, 1117, 1300, 1301}));
    EXPECT_TRUE(full->GetControls()->GetAt(3)->GetBeginGroup());
}

TEST_F(CommandBarsTest, ATabWhoseCaptionIsABarsTitleIsNotConverted) {
    addBar(L"Draw", 100);
    const int before = bars()->GetCount();
    answer(IDNO);
    answer(IDOK);
    EXPECT_FALSE(CreateToolBarFromTab(bars(), drawTab(), L"Draw"));
    EXPECT_EQ(bars()->GetCount(), before);
}

TEST_F(CommandBarsTest, WithNoFreeBarIdNothingIsMade) {
    for (UINT id = 59392; id < 59647; ++id)
        bars()->AddCustomBar((L"Bar " + std::to_wstring(id)).c_str(), id);
    EXPECT_EQ(ChooseCustomBarId(bars()), std::nullopt);
    const int before = bars()->GetCount();
    answer(IDNO);
    answer(IDOK);
    EXPECT_FALSE(CreateToolBarFromTab(bars(), drawTab(), L"Draw"));
    EXPECT_EQ(bars()->GetCount(), before);
    bars()->Remove(bars()->GetToolBar(59500));
    EXPECT_EQ(ChooseCustomBarId(bars()), std::optional<UINT>(59500));
}

// The engine's tabbed main tool bar made on the live frame, as the frame tools make it: named
// buttons under two tabs, the second with a shortcut.
CDVTabToolBar* addMainModes(CXTPCommandBars* bars, std::unique_ptr<CDVTabbedMainToolBar>& adapter) {
    adapter = CDVTabbedMainToolBar::Create(bars, L"Main modes");
    if (adapter == nullptr)
        return nullptr;
    const UINT draw[] = {1075, 0, 1300, 1301, 0, 1302};
    const UINT edit[] = {1075, 0, 1400, 1401};
    const GUID drawKey = UniqueIdentifierToGuid(
        Dravik::UniqueIdentifier::TryParse(L"{D773CF70-44FC-4055-ACC1-FA1AB0FDB95A}").value());
    const GUID editKey = UniqueIdentifierToGuid(
        Dravik::UniqueIdentifier::TryParse(L"{84452293-56D2-4E91-BF71-BDD2EED1B4D5}").value());
    adapter->AddOriginalTab(L"Draw", draw, 6, drawKey, true, true);
    adapter->AddOriginalTab(L"Edit", edit, 4, editKey, true, true);
    EXPECT_TRUE(adapter->SetTabAccelerator(editKey, '3', FCONTROL | FVIRTKEY));
    EXPECT_FALSE(adapter->SetTabAccelerator(GUID_NULL, '1', FCONTROL | FVIRTKEY));
    CDVTabToolBar* bar = adapter->GetTabToolBar();
    for (CXTPControl* control : *bar->GetControls())
        if (control->GetID() != 1075)
            control->SetCaption((L"Cmd " + std::to_wstring(control->GetID())).c_str());
    bar->ShowTabs(TRUE);
    return bar;
}

TEST_F(CommandBarsTest, TheMainModesBarOnTheFrame) {
    std::unique_ptr<CDVTabbedMainToolBar> adapter;
    CDVTabToolBar* bar = addMainModes(bars(), adapter);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(adapter->GetToolBar(), bar);
    EXPECT_EQ(bar->GetTabManager()->GetItemCount(), 2);
    EXPECT_EQ(bar->GetAccelKey(bar->GetTabManager()->GetItem(1)), '3');
    bars()->RecalcFrameLayout();
    run->pump();
    ASSERT_TRUE(::IsWindowVisible(bar->GetSafeHwnd()));
    snapshot(bar->GetSafeHwnd(), "tab_tool_bar_main_modes");

    // A live tab becomes a bar of its own; the tab list stays behind.
    answer(IDYES);
    ASSERT_TRUE(bar->CreateToolBarFromTab(bar->GetTabManager()->GetItem(0)));
    CXTPToolBar* made = bars()->GetToolBar(59392);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(std::wstring(made->GetTitle().GetString()), L"Draw");
    EXPECT_EQ(buttonIds(made), (std::vector<int>{1300, 1301, 1302}));
    EXPECT_TRUE(made->GetControls()->GetAt(2)->GetBeginGroup());
    EXPECT_FALSE(bar->CreateToolBarFromTab(nullptr));

    // The bar's layout round trip keeps one tab per command set, however often it is loaded.
    CXTPPropExchangeXMLNode out(FALSE, nullptr, L"Bar");
    bar->DoPropExchange(&out);
    const CString xml = out.GetXML();
    for (int i = 0; i < 2; ++i) {
        CXTPPropExchangeXMLNode in(TRUE, nullptr, L"Bar");
        ASSERT_TRUE(in.LoadFromString(xml));
        bar->DoPropExchange(&in);
    }
    ASSERT_EQ(bar->GetTabManager()->GetItemCount(), 2);
    EXPECT_EQ(bar->GetTabManager()->GetItem(1)->GetCaption(), L"Edit");
    EXPECT_EQ(bar->GetAccelKey(bar->GetTabManager()->GetItem(1)), '3');
    EXPECT_TRUE(bar->IsTabsVisible());
    CXTPPropExchangeXMLNode again(FALSE, nullptr, L"Bar");
    bar->DoPropExchange(&again);
    EXPECT_EQ(std::wstring(again.GetXML().GetString()), std::wstring(xml.GetString()));
}

CommandPopupServices services() {
    CommandPopupServices out;
    out.isRegistered = [](int id) { return id != 2987 && id != 1431; };
    out.loadString = [](int id) { return L"Group &" + std::to_wstring(id); };
    out.commandCaption = [](int id) { return L"Command " + std::to_wstring(id); };
    return out;
}

TEST_F(CommandBarsTest, AGroupsPopupListsItsRegisteredCommands) {
    CXTPControlPopup* popup = CreateCommandPopup(bars(), 3104, services());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetType(), xtpControlSplitButtonPopup);
    EXPECT_EQ(popup->GetID(), 3104);
    auto* bar = dynamic_cast<CXTPPopupBar*>(popup->GetCommandBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(buttonIds(bar), (std::vector<int>{1404, 2980, 3104, 3117, 3133, 1475, 1393, 1202}));
    CString title;
    UINT id = 0;
    int width = 0;
    ASSERT_TRUE(bar->IsTearOffPopup(title, id, width));
    EXPECT_EQ(std::wstring(title.GetString()), L"Group 9026");
    EXPECT_EQ(id, 3104u);
    EXPECT_EQ(width, 400);
    EXPECT_NE(dynamic_cast<CDVControlButton*>(bar->GetControls()->GetAt(0)), nullptr);

    // In a popup (not a tool bar) the expand button goes before it shows.
    InitCommandPopupBar(bar);
    EXPECT_EQ(bar->GetControls()->FindControl(1202), nullptr);
    popup->InternalRelease();

    CXTPControlPopup* own = CreateCommandPopup(bars(), 2945, services());
    ASSERT_NE(own, nullptr);
    ASSERT_TRUE(dynamic_cast<CXTPPopupBar*>(own->GetCommandBar())->IsTearOffPopup(title, id, width));
    EXPECT_EQ(std::wstring(title.GetString()), L"Command 2945"); // group -1: the command's own caption
    own->InternalRelease();

    EXPECT_EQ(CreateCommandPopup(bars(), 1001, services()), nullptr);
}

TEST_F(CommandBarsTest, PopupOf1341IsRefilledBeforeItShows) {
    CXTPControlPopup* popup = CreateCommandPopup(bars(), 1341, services());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetType(), xtpControlButtonPopup);
    CXTPCommandBar* bar = popup->GetCommandBar();
    EXPECT_EQ(buttonIds(bar),
              (std::vector<int>{1352, 1348, 1353, 1338, 1350, 1346, 1351, 1347, 1336, 1349, 1337, 1338}));
    InitCommandPopupBar(bar);
    EXPECT_EQ(buttonIds(bar), (std::vector<int>{1346, 1347, 1348, 1349, 1350, 1351, 1352, 1353, 1336, 1337}));
    popup->InternalRelease();

    CXTPControlPopup* tools = CreateCommandPopup(bars(), 1122, services());
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->GetCommandBar()->GetControls()->GetCount(), 11);
    EXPECT_EQ(tools->GetCommandBar()->GetControls()->GetAt(10)->GetID(), 1202);
    tools->InternalRelease();
}

TEST_F(CommandBarsTest, ControlTextsLoseTheirAcceleratorLetters) {
    CXTPControlButton button;
    button.SetDescription(L"Save && &close");
    button.SetTooltip(L"&Save (&S)");
    FinishControlTexts(&button);
    EXPECT_EQ(std::wstring(button.GetDescription().GetString()), L"Save  close");
    EXPECT_EQ(std::wstring(button.GetTooltip().GetString()), L"Save");
}

template <class T> bool is(CXTPControl* control) {
    return dynamic_cast<T*>(control) != nullptr;
}

struct MadeCase {
    int id;
    std::wstring_view tag;
    bool (*check)(CXTPControl*); // null: nothing is made
};

TEST_F(CommandBarsTest, FixedIdsMakeTheirControls) {
    namespace Tags = Dravik::UI::XML::TagNames;
    ControlFactoryFrame frame;
    frame.bars = bars();
    frame.mainMenuBar = bars()->GetMainMenuBar();
    frame.mainResourceId = 128;
    const MadeCase cases[] = {
        {799, L"", &is<CXTPControlButton>},
        {900, L"", &is<Dravik::UI::PseudoMenuBar>},
        {904, L"", &is<CColorPopupControl>},
        {905, L"", &is<CMaterialPopup>},
        {907, L"", &is<CSyspanelEdit>},
        {910, L"", &is<CStaticImageControl>},
        {911, L"", &is<CLayerPopupControl>},
        {912, L"", &is<LCSPopupControl>},
        {914, L"", &is<CFontComboBox>},
        {2851, Tags::SplitButtonPopup, &is<CXTPControlPopup>},
        {1026, Tags::Popup, nullptr},
        {0, L"", nullptr},
        {2852, L"", nullptr}, // no pane manager on this frame
    };
    for (const MadeCase& c : cases) {
        const auto entry = FindCustomControl(c.id, c.tag);
        ASSERT_TRUE(entry.has_value()) << c.id;
        CXTPControl* control = CreateFixedControl(*entry, c.tag, frame);
        EXPECT_EQ(control != nullptr, c.check != nullptr) << c.id;
        if (control != nullptr) {
            EXPECT_TRUE(c.check(control)) << c.id;
            control->InternalRelease();
        }
    }
    auto* size = static_cast<CSyspanelEdit*>(CreateFixedControl(*FindCustomControl(915, L""), L"", frame));
    EXPECT_EQ(size->GetName(), L"FontSize");
    EXPECT_EQ(size->GetKind(), 9);
    EXPECT_EQ(size->GetRangeLast(), 1023);
    size->InternalRelease();
    CXTPControl* themes = CreateFixedControl(*FindCustomControl(2851, L""), Tags::SplitButtonPopup, frame);
    EXPECT_EQ(themes->GetType(), xtpControlSplitButtonPopup);
    EXPECT_NE(themes->GetFlags() & 8u, 0u);
    themes->InternalRelease();
}

TEST_F(CommandBarsTest, TheFactoryAsksTheLibraryThenTheUserCommands) {
    namespace Tags = Dravik::UI::XML::TagNames;
    std::vector<std::string> asked;
    ControlFactoryFrame frame;
    frame.bars = bars();
    frame.libraryControl = [&](int id, std::wstring_view, CXTPCommandBar*) -> CXTPControl* {
        asked.push_back("library " + std::to_string(id));
        return id == 5000 ? new CXTPControlButton : nullptr;
    };
    frame.userCommandControl = [&](int id, bool split) -> CXTPControl* {
        asked.push_back("user " + std::to_string(id) + (split ? " split" : ""));
        return id >= 37000 ? CXTPControlPopup::CreateControlPopup(xtpControlSplitButtonPopup) : nullptr;
    };
    frame.applicationCommand = [](int id) -> std::optional<std::wstring> {
        return id == 17001 ? std::optional<std::wstring>(L"Run the script") : std::nullopt;
    };

    CXTPControl* library = CreateCustomControl(5000, Tags::Button, nullptr, frame);
    ASSERT_NE(library, nullptr);
    library->InternalRelease();
    CXTPControl* user = CreateCustomControl(37001, Tags::SplitButtonPopup, nullptr, frame);
    ASSERT_NE(user, nullptr);
    user->InternalRelease();
    EXPECT_EQ(CreateCustomControl(1001, Tags::Button, nullptr, frame), nullptr);
    CXTPControl* colour =
        CreateCustomControl(904, Tags::Button, nullptr, frame); // fixed: nobody else is asked
    ASSERT_NE(colour, nullptr);
    colour->InternalRelease();
    EXPECT_EQ(asked, (std::vector<std::string>{"library 5000", "library 37001", "user 37001 split",
                                               "library 1001", "user 1001"}));

    // A command put on a bar: a plain button where the factory makes nothing.
    CXTPControl* file = CreateCommandControl(1026, nullptr, frame);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetID(), 1026);
    EXPECT_EQ(file->GetRuntimeClass(), RUNTIME_CLASS(CXTPControlButton));
    file->InternalRelease();
    CXTPControl* script = CreateCommandControl(17001, nullptr, frame);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(std::wstring(script->GetPrompt().GetString()), L"Run the script");
    script->InternalRelease();
    EXPECT_EQ(CreateCommandControl(17002, nullptr, frame), nullptr);

    // Definitions go through the same factory, and their attributes through the frame's handler.
    const auto parameters = FrameApplicationParameters(AttributeScope::MenuBar, frame);
    Dravik::UI::XML::Control definition;
    definition.id = 914;
    definition.tag = Tags::ComboBox;
    CXTPControl* font = parameters.createControl(definition, nullptr);
    EXPECT_NE(dynamic_cast<CFontComboBox*>(font), nullptr);
    font->InternalRelease();
    CXTPControlButton button;
    parameters.handleAttribute(&button, L"anchor", L"help");
    EXPECT_EQ(button.GetTag(), 0x1000u);
}

TEST_F(CommandBarsTest, RequestsForControlsAreAnsweredByIdAndBar) {
    CXTPToolBar* bar = addBar(L"Draw", 59392);
    ControlFactoryFrame frame;
    frame.bars = bars();
    struct Case {
        UINT id;
        bool forToolBar;
        int answer;
        int controls; // of the popup made, -1 when the control is no popup
    };
    const Case cases[] = {
        {1341, true, 1, 12},  {3104, true, 1, 8},  {1001, true, 0, -1},
        {1341, false, 0, -1}, {904, false, 1, -1}, {904, true, 1, -1},
    };
    for (const Case& c : cases) {
        XTP_COMMANDBARS_CREATECONTROL request;
        request.nID = c.id;
        request.pCommandBar = bar;
        request.bToolBar = c.forToolBar;
        EXPECT_EQ(AnswerCreateControl(&request, frame, services()), c.answer) << c.id;
        if (request.pControl == nullptr)
            continue;
        auto* popup = dynamic_cast<CXTPControlPopup*>(request.pControl);
        if (c.controls >= 0) {
            ASSERT_TRUE(popup != nullptr && popup->GetCommandBar() != nullptr) << c.id;
            EXPECT_EQ(popup->GetCommandBar()->GetControls()->GetCount(), c.controls) << c.id;
        }
        request.pControl->InternalRelease();
    }
}

TEST_F(CommandBarsTest, CopiesKeepTheProgramsClasses) {
    CXTPToolBar* bar = addBar(L"Draw", 59392);
    CXTPControl* button = bar->GetControls()->Add(new CDVControlButton, 1300);
    CXTPControl* copy = button->Clone();
    EXPECT_NE(dynamic_cast<CDVControlButton*>(copy), nullptr);
    copy->InternalRelease();
    CXTPCommandBar* barCopy = bar->Clone(TRUE);
    EXPECT_NE(dynamic_cast<CDVToolBar*>(barCopy), nullptr);
    barCopy->InternalRelease();
    CXTPMenuBar* menu = bars()->GetMainMenuBar();
    menu->OnIdleUpdateCmdUI();
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(menu));
    CXTPCommandBar* menuCopy = menu->Clone(FALSE);
    EXPECT_TRUE(Dravik::UI::IsFixable(menuCopy));
    menuCopy->InternalRelease();
}

} // namespace

namespace {

class FixedToolBarsTest : public CommandBarsTest {
protected:
    Dravik::UI::FixableToolBar* addFixable(const wchar_t* title, UINT id) {
        auto* bar = new Dravik::UI::FixableToolBar;
        EXPECT_TRUE(bars()->Add(bar, title, xtpBarTop));
        bar->SetBarID(id);
        return bar;
    }
};

TEST_F(FixedToolBarsTest, FixedBarsAreSavedByIdAndFixedAgainOnLoad) {
    auto* drawing = addFixable(L"Drawing", 1063);
    auto* views = addFixable(L"Views", 1065);
    auto* snaps = addFixable(L"Snaps", 1070);
    Dravik::UI::Fix(drawing, true);
    Dravik::UI::Fix(snaps, true);

    CXTPPropExchangeXMLNode store(FALSE, nullptr, L"Settings");
    dvframe::ExchangeFixedToolBars(&store, bars());
    EXPECT_NE(std::wstring(store.GetXML()).find(L"Id=\"1070\""), std::wstring::npos);

    Dravik::UI::Fix(drawing, false);
    Dravik::UI::Fix(views, true);
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(load.LoadFromString(store.GetXML()));
    dvframe::ExchangeFixedToolBars(&load, bars());
    EXPECT_TRUE(Dravik::UI::IsFixed(drawing));
    EXPECT_FALSE(Dravik::UI::IsFixed(views)) << "a bar the layout does not list is freed";
    EXPECT_TRUE(Dravik::UI::IsFixed(snaps));
}

TEST_F(FixedToolBarsTest, AnEntryWithoutAnIdFixesNoBar) {
    auto* bar = addFixable(L"Drawing", 1063);
    Dravik::UI::Fix(bar, true);
    CXTPPropExchangeXMLNode load(TRUE, nullptr, L"Settings");
    ASSERT_TRUE(load.LoadFromString(
        L"<Settings><FixedToolBars Count=\"2\"><ToolBar/><ToolBar Id=\"-1\"/></FixedToolBars></Settings>"));
    dvframe::ExchangeFixedToolBars(&load, bars());
    EXPECT_FALSE(Dravik::UI::IsFixed(bar));
}

} // namespace
