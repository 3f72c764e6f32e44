// What the kernel asks of a live main frame while a command runs: its requests reach the
// ribbon's copy of a control before the system panel's, its questions get neutral answers where
// the frame has nothing to answer from; the PDM controls, the ribbon's groups and the properties
// pane follow the connection, the defaults and the active frame.
#include "add_on_frame_fixture.h"

#include "DVPDMProxy/test/hooks.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/Settings.h"
#include "DravikKernel/View.h"
#include "DravikUI/CommandBarHelpers.h"
#include "DravikUI/Ribbon.h"
#include "DravikUI/SelectionButtons.h"
#include "DravikUI/ToolBars.h"
#include "frame/FindCommandButton.h"
#include "panels/SysPanelControls.h"
#include "ribbon/RibbonBar.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace addons;

CWinApp application(L"Dravik");

// A parameter control that notes every value it is given, and where it stands.
class NotingControl : public CXTPControlButton, public IDataExchange {
public:
    NotingControl(std::vector<std::wstring>& log, std::wstring side) : log_(log), side_(std::move(side)) {}
    void Reset() override { value_ = {}; }
    void SetValue(Dravik::DVDocument*, const SysPanelValue& value) override {
        value_ = value;
        log_.push_back(side_);
        if (onSet)
            onSet();
    }
    std::function<void()> onSet;
    const SysPanelValue* GetValue() override { return &value_; }
    void CopyValueFrom(const IDataExchange&) override {}

private:
    std::vector<std::wstring>& log_;
    std::wstring side_;
    SysPanelValue value_;
};

constexpr int kControl = 930;

class RelaysTest : public AddOnsTest {
protected:
    // The same parameter control in the ribbon's first group and in the system panel.
    void addControl(CMainFrame* frame, int id = kControl) {
        auto* group = frame->GetRibbonBar()->GetTab(0)->GetGroups()->GetAt(0);
        ribbonControl = new NotingControl(log, L"ribbon");
        group->Add(ribbonControl, id);
        if (CSysPanelToolbar* panel = frame->GetSysPanelToolbar()) {
            panelControl = new NotingControl(log, L"panel");
            panelControl->SetID(id);
            panel->RegisterControl(id, panelControl);
            panelControl->InternalRelease();
            panel->GetControls()->Add(panelControl->Clone(), id);
        }
    }
    // The panel's update as a drawing's view makes it, the view gone again afterwards.
    static void updateSystemPanelWithAView(CMainFrame& frame) {
        CDvw32Doc document;
        auto* view = new CDVView;
        document.AddView(view);
        frame.SetActiveView(view, true);
        frame.UpdateSystemPanel();
        frame.SetActiveView(nullptr, true);
        document.RemoveView(view);
        delete view;
    }
    std::vector<std::wstring> log;
    NotingControl* ribbonControl = nullptr;
    NotingControl* panelControl = nullptr;
};

TEST_F(RelaysTest, ValuesReachTheRibbonFirstThenThePanel) {
    struct Case {
        const char* name;
        std::function<void(CMainFrame&)> request;
        SysPanelValue expected;
    };
    const Case cases[] = {
        {"real", [](CMainFrame& f) { f.SetSyspanelDoubleVar(nullptr, kControl, 2.5, 7); }, {2.5, 7, 0, L""}},
        {"integer", [](CMainFrame& f) { f.SetSyspanelInt(nullptr, kControl, 42); }, {0.0, -1, 42, L""}},
        {"integer as real",
         [](CMainFrame& f) { f.SetSyspanelIntVar(nullptr, kControl, 3, 9); },
         {3.0, 9, 0, L""}},
        {"text", [](CMainFrame& f) { f.SetSyspanelCString(nullptr, kControl, L"M6"); }, {0.0, -1, 0, L"M6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMainFrame* frame = make();
        ASSERT_NE(frame->GetSysPanelToolbar(), nullptr);
        log.clear();
        addControl(frame);
        c.request(*frame);
        EXPECT_EQ(log, (std::vector<std::wstring>{L"ribbon", L"panel"}));
        EXPECT_EQ(*ribbonControl->GetValue(), c.expected);
        EXPECT_EQ(*panelControl->GetValue(), c.expected);
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RelaysTest, WithoutASystemPanelOnlyTheRibbonIsReached) {
    auto* frame = make<BareFrame>();
    ASSERT_EQ(frame->GetSysPanelToolbar(), nullptr);
    addControl(frame);
    frame->SetSyspanelCString(nullptr, kControl, L"M6");
    frame->SetSyspanelFont(nullptr, kControl, L"Arial");
    frame->SetSyspanelControls({{kControl, 0, 0}});
    frame->SyspanelStatusChanged();
    frame->SetSyspanelButtonStatus(kControl, false, true);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"ribbon", L"ribbon"}));
    EXPECT_FALSE(ribbonControl->GetEnabled());
    EXPECT_TRUE(ribbonControl->GetChecked());
    // A command id no control has reaches nothing.
    frame->SetSyspanelInt(nullptr, 4242, 1);
    frame->EnableSyspanelControl(4242, false);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(RelaysTest, StatesAndTheDisablingReachBothCopies) {
    CMainFrame* frame = make();
    addControl(frame);
    CXTPControl* onPanel = frame->GetSysPanelToolbar()->GetControls()->FindControl(kControl);
    ASSERT_NE(onPanel, nullptr);
    frame->SetSyspanelButtonStatus(kControl, true, true);
    EXPECT_TRUE(ribbonControl->GetEnabled() && ribbonControl->GetChecked());
    EXPECT_TRUE(onPanel->GetEnabled() && onPanel->GetChecked());
    frame->EnableSyspanelControl(kControl, false);
    EXPECT_FALSE(ribbonControl->GetEnabled());
    EXPECT_FALSE(onPanel->GetEnabled());
    frame->EnableSyspanelControl(kControl, true);
    frame->SetSyspanelInt(nullptr, kControl, 5);
    ASSERT_EQ(ribbonControl->GetValue()->Integer, 5) << "the value the disabling must clear";
    ASSERT_EQ(panelControl->GetValue()->Integer, 5);
    frame->DisableSyspanelControls();
    EXPECT_FALSE(ribbonControl->GetEnabled());
    EXPECT_EQ(*ribbonControl->GetValue(), SysPanelValue{}) << "reset";
    EXPECT_EQ(*panelControl->GetValue(), SysPanelValue{}) << "reset";
    EXPECT_FALSE(onPanel->GetEnabled());
}

TEST_F(RelaysTest, QuestionsGetNeutralAnswersWhereNothingCanAnswer) {
    auto* bare = make<BareFrame>();
    CMainFrame* full = make();
    for (CMainFrame* frame : {static_cast<CMainFrame*>(bare), full}) {
        SCOPED_TRACE(frame == full ? "a system panel without the control" : "no system panel");
        bool checked = true, disabled = true;
        EXPECT_FALSE(frame->GetSyspanelButtonStatus(4242, checked, disabled));
        EXPECT_FALSE(frame->GetSyspanelControlValue(4242).has_value());
        std::int32_t value = 77;
        frame->GetSyspanelIntValue(4242, value);
        EXPECT_EQ(value, 77);
        std::wstring font = L"left over";
        frame->GetSyspanelFontName(font, 4242);
        EXPECT_EQ(font, L"");
    }
    EXPECT_EQ(bare->GetSyspanelMode(), -1);
    double real = 1.0;
    std::int32_t code = 1;
    bare->SplitSyspanelRealValue({2.0, 3, 0, L""}, real, code);
    EXPECT_EQ(real, 1.0);
    EXPECT_EQ(code, 1);

    full->GetSysPanelToolbar()->SetMode(13);
    EXPECT_EQ(full->GetSyspanelMode(), 13);
    full->SplitSyspanelRealValue({2.5, 3, 0, L""}, real, code);
    EXPECT_EQ(real, 2.5);
    EXPECT_EQ(code, 3);
    int whole = 0;
    full->SplitSyspanelRealValueAsInt({1e300, 4, 0, L""}, whole, code);
    EXPECT_EQ(whole, std::numeric_limits<int>::max()) << "too large for an integer: its nearest end";
    EXPECT_EQ(code, 4);
}

TEST_F(RelaysTest, TheFontNameIsAnsweredForFontListsOnly) {
    CMainFrame* frame = make();
    CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
    // The panel registered its own font box when the frame was made.
    auto* font = dynamic_cast<CFontComboBox*>(panel->FindControlById(914));
    ASSERT_NE(font, nullptr);
    // The box takes a value only for its frame's active 2D document, which the test has not:
    // the text is put in its place.
    const_cast<SysPanelValue*>(font->GetValue())->Text = L"Arial";
    struct Case {
        int kind;
        int asked;
        const wchar_t* expected;
    };
    for (const Case& c :
         {Case{0, -1, L"Arial"}, Case{2, 914, L"Arial"}, Case{3, 914, L""}, Case{0, 915, L""}}) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " asked " << c.asked);
        font->SetKind(c.kind);
        std::wstring text;
        frame->GetSyspanelFontName(text, c.asked);
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(RelaysTest, SelectionFiltersReachTheUIBaseAndThePanel) {
    CMainFrame* frame = make();
    CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
    CXTPControl* button = panel->GetControls()->Add(xtpControlButton, 951);
    frame->BeginSelectionFilterConfiguration();
    EXPECT_TRUE(frame->GetSelectionFilters().IsConfiguring());
    EXPECT_EQ(panel->GetConfigurationDepth(), 1u);
    frame->SetSelectionFilterSet(3);
    frame->SetSelectionFilterButtonState(951, false, true);
    frame->EndSelectionFilterConfiguration();
    EXPECT_EQ(panel->GetConfigurationDepth(), 0u);
    EXPECT_EQ(frame->GetSelectionFilterSet(), 3);
    EXPECT_EQ(panel->GetCurrentFilterSet(), 3);
    ASSERT_NE(frame->GetSelectionFilters().GetButton(951), nullptr);
    EXPECT_TRUE(frame->GetSelectionFilters().GetButton(951)->Ticked);
    EXPECT_FALSE(button->GetEnabled());
    EXPECT_TRUE(button->GetChecked());
    frame->SetSelectionFilterButtonProperties(951, 5, L"Edges", true, false);
    EXPECT_TRUE(button->GetEnabled());
    EXPECT_FALSE(button->GetChecked());
    EXPECT_EQ(std::wstring(button->GetTooltip()), L"Edges");
}

TEST_F(RelaysTest, WithoutAFilterSetTheSystemPanelControlsAreDisabled) {
    for (int set : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "filter set " << set);
        CMainFrame* frame = make();
        addControl(frame);
        frame->EnableSyspanelControl(kControl, true);
        frame->SetSelectionFilterSet(set);
        frame->UpdateSystemPanel();
        CXTPControl* onPanel = frame->GetSysPanelToolbar()->GetControls()->FindControl(kControl);
        EXPECT_EQ(ribbonControl->GetEnabled() != FALSE, set != 0);
        EXPECT_EQ(onPanel->GetEnabled() != FALSE, set != 0);
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RelaysTest, TheFilterSectionsGiveWayToAVisibleSystemPanel) {
    CMainFrame* frame = make();
    for (bool shown : {true, false, true}) {
        frame->ShowToolbar(CFrameToolsEngine::kSystemPanelToolBarId, shown);
        EXPECT_EQ(frame->GetSystemPanelToolBar()->IsVisible() != FALSE, shown);
        EXPECT_EQ(frame->GetFramelessBarRules().selectionSectionsOff, shown);
    }
}

TEST_F(RelaysTest, HidingPdmCommandsHidesGroupsThatHoldNothingElse) {
    for (unsigned id : {2101u, 2102u, 2103u})
        DVCommandContainer::Instance().RegisterCommand(id, L"pdm", DVCommandFlag::Pdm);
    CMainFrame* frame = make();
    ASSERT_TRUE(frame->InsertUserMenuItem(2101, L"Check in", 57601, 1));
    CXTPRibbonTab* pdm = frame->GetRibbonBar()->GetTab(1);
    CXTPRibbonGroup* archive = pdm->GetGroups()->GetAt(0);
    CXTPRibbonGroup* mixed = pdm->GetGroups()->GetAt(1);
    CXTPControl* inMenu = frame->GetMenuBar()->GetControls()->FindControl(xtpControlError, 2101, FALSE, TRUE);
    ASSERT_NE(inMenu, nullptr);
    // A control that asks to stay keeps showing.
    archive->GetAt(1)->SetFlags(archive->GetAt(1)->GetFlags() | 16);

    frame->ShowOrsaCommands(false);
    EXPECT_FALSE(inMenu->IsVisible());
    EXPECT_FALSE(archive->GetAt(0)->IsVisible());
    EXPECT_TRUE(archive->GetAt(1)->IsVisible());
    EXPECT_TRUE(archive->IsVisible()) << "its other control stays";
    EXPECT_FALSE(mixed->GetAt(0)->IsVisible());
    EXPECT_TRUE(mixed->GetAt(1)->IsVisible());
    EXPECT_TRUE(mixed->IsVisible());

    archive->GetAt(1)->SetFlags(archive->GetAt(1)->GetFlags() & ~16u);
    frame->ShowOrsaCommands(false);
    EXPECT_FALSE(archive->IsVisible()) << "every control a PDM command";
    EXPECT_TRUE(mixed->IsVisible());

    frame->ShowOrsaCommands(true);
    EXPECT_TRUE(inMenu->IsVisible());
    EXPECT_TRUE(archive->IsVisible());
    EXPECT_TRUE(archive->GetAt(0)->IsVisible() && archive->GetAt(1)->IsVisible());
    EXPECT_TRUE(mixed->GetAt(0)->IsVisible());
}

TEST_F(RelaysTest, ThePdmPopupFollowsTheConnectionTheTextAndTheInstalledPrograms) {
    struct Case {
        const char* name;
        OrsaState state;
        bool shown;
        const wchar_t* caption;
        bool setUp, connect, disconnect;
    };
    const Case cases[] = {
        {"nothing to offer", {false, L"", false, false, L""}, false, L"", false, false, false},
        {"a PDM text", {false, L"archive", false, false, L""}, true, L"DRAVIK Orsa", true, false, false},
        {"programs, can connect", {false, L"", true, true, L""}, true, L"DRAVIK Orsa", true, true, false},
        {"connected", {true, L"archive", false, false, L"Archive A"}, true, L"Archive A", false, false, true},
        {"connected, no name", {true, L"", true, true, L""}, true, L"DRAVIK Orsa", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* frame = make<PdmFrame>();
        CXTPControlPopup* popup = frame->GetDVRibbonBar()->GetOrsaPopup();
        ASSERT_NE(popup, nullptr);
        frame->orsa = c.state;
        frame->UpdateOrsaControls();
        auto* tab = DVRibbonBar::FindTabByGuid(
            frame->GetRibbonBar(),
            GUID{0x29A47DB0, 0x83AC, 0x47B8, {0xAC, 0xC9, 0xEF, 0x36, 0x4D, 0x9C, 0xD8, 0x73}});
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->IsVisible() != FALSE, c.state.enabled);
        EXPECT_EQ(popup->IsVisible() != FALSE, c.shown);
        if (c.shown) {
            EXPECT_EQ(std::wstring(popup->GetCaption()), c.caption);
            CXTPControls* items = popup->GetCommandBar()->GetControls();
            EXPECT_EQ(items->FindControl(1203)->IsVisible() != FALSE, c.setUp);
            EXPECT_EQ(items->FindControl(2074)->IsVisible() != FALSE, c.connect);
            EXPECT_EQ(items->FindControl(2075)->IsVisible() != FALSE, c.disconnect);
            EXPECT_TRUE(popup->GetEnabled());
        }
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RelaysTest, AGroupIsResetFromTheDefaultsOnlyWhenTheyDefineIt) {
    app->defaults = loadState("add_on_menus.xml");
    CMainFrame* frame = make();
    CXTPRibbonGroup* edit = frame->GetRibbonBar()->GetTab(0)->GetGroups()->GetAt(0);
    auto* own = dynamic_cast<Dravik::UI::RibbonGroup*>(edit);
    ASSERT_NE(own, nullptr);
    edit->Remove(edit->GetAt(0));
    ASSERT_EQ(idsOf(edit->GetControls()), std::vector<int>{1066});

    own->SetGUIDText(L"{99999999-2222-3333-4444-555555555555}");
    EXPECT_FALSE(frame->ResetRibbonGroup(edit)) << "a GUID the defaults do not know";
    EXPECT_EQ(idsOf(edit->GetControls()), std::vector<int>{1066});
    own->SetGUIDText(L"");
    EXPECT_FALSE(frame->ResetRibbonGroup(edit)) << "no GUID";
    EXPECT_FALSE(frame->ResetRibbonGroup(nullptr));

    own->SetGUIDText(L"{21111111-2222-3333-4444-555555555555}");
    EXPECT_TRUE(frame->ResetRibbonGroup(edit));
    EXPECT_EQ(idsOf(edit->GetControls()), (std::vector<int>{1065, 1066}));
}

// A frame whose running command and whose 3D module's answer the test chooses.
class CommandFrame : public CMainFrame {
public:
    int GetActiveCommandId() const override { return command; }
    bool DrawingControlsReset() const override { return reset; }
    void RegisterSystemPanelControls(CXTPToolBar&) override {}
    int command = 0;
    bool reset = true;
};

TEST_F(RelaysTest, ATabIsResetFromTheDefaultsOnlyWhenTheyDefineIt) {
    app->defaults = loadState("add_on_menus.xml");
    CMainFrame* frame = make();
    CXTPRibbonTab* home = frame->GetRibbonBar()->GetTab(0);
    auto* own = dynamic_cast<Dravik::UI::RibbonTab*>(home);
    ASSERT_NE(own, nullptr);
    auto groupIds = [&] {
        std::vector<std::vector<int>> ids;
        for (int i = 0; i < home->GetGroups()->GetCount(); ++i)
            ids.push_back(idsOf(home->GetGroups()->GetAt(i)->GetControls()));
        return ids;
    };
    const auto defined = groupIds();
    ASSERT_EQ(defined, (std::vector<std::vector<int>>{{1065, 1066}}));
    CXTPRibbonGroup* edit = home->GetGroups()->GetAt(0);
    edit->Remove(edit->GetAt(0));
    const auto changed = groupIds();

    struct Case {
        const char* name;
        std::vector<std::wstring> guids;
        std::vector<std::vector<int>> expected;
    };
    const Case cases[] = {
        {"a GUID the defaults do not know", {L"{99999999-2222-3333-4444-555555555555}"}, changed},
        {"no GUID", {}, changed},
        {"the defaults define it", {L"{11111111-2222-3333-4444-555555555555}"}, defined},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        own->SetGUIDs(c.guids);
        frame->ResetRibbonTab(home);
        EXPECT_EQ(groupIds(), c.expected);
    }
    frame->ResetRibbonTab(nullptr);
}

TEST_F(RelaysTest, TheSystemPanelsFilterButtonsFollowTheFrame) {
    CMainFrame* frame = make();
    CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
    ASSERT_NE(panel, nullptr);
    panel->RegisterSyspanelControls();
    constexpr UINT kEdges = 2701;
    constexpr UINT kFaces = 2702;
    auto onPanel = [&](UINT id) { return panel->GetControls()->FindControl(static_cast<int>(id)); };

    frame->ShowSelectionFilterButton(kEdges, true);
    ASSERT_NE(onPanel(kEdges), nullptr) << "the panel puts its own button up";
    EXPECT_TRUE(onPanel(kEdges)->IsVisible());
    // The tooltip given by string id is the system panel's string of that number.
    frame->SetSelectionFilterButtonIconAndToolTip(kFaces, 7, 161u);
    ASSERT_NE(onPanel(kFaces), nullptr);
    EXPECT_TRUE(onPanel(kFaces)->IsVisible());
    EXPECT_EQ(std::wstring(onPanel(kFaces)->GetTooltip()), L"System panel");

    frame->HideAllSelectionFilterButtons();
    EXPECT_FALSE(onPanel(kEdges)->IsVisible());
    EXPECT_FALSE(onPanel(kFaces)->IsVisible());
    frame->ShowSelectionFilterButton(kEdges, true);
    EXPECT_TRUE(onPanel(kEdges)->IsVisible());
    EXPECT_FALSE(onPanel(kFaces)->IsVisible());
    frame->ShowSelectionFilterButton(kEdges, false);
    EXPECT_FALSE(onPanel(kEdges)->IsVisible());
    // Without an icon or a text the button leaves the panel.
    frame->SetSelectionFilterButtonIconAndToolTip(kFaces, 7, 0u);
    EXPECT_EQ(onPanel(kFaces), nullptr);
}

// A frame whose panel registers only the controls the test gives it; its 3D module's answer is
// the real one.
class QuietPanelFrame : public CMainFrame {
public:
    void RegisterSystemPanelControls(CXTPToolBar&) override {}
};

TEST_F(RelaysTest, TheThreeDModuleDecidesWhetherTheDrawingControlsGoBack) {
    struct Case {
        const char* name;
        bool attached;
        bool a;
        bool b;
        bool expected;
    };
    const Case cases[] = {
        {"no 3D module", false, true, false, false},
        {"first state only", true, true, false, true},
        {"both states", true, true, true, false},
        {"neither state", true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.attached)
            CDVCom_Is3D::Attach(CDVCom_Is3D::Modelling);
        CDVCom_Is3D::SetStates(c.a, c.b);
        CMainFrame* frame = make<QuietPanelFrame>();
        frame->SetSelectionFilterSet(1);
        addControl(frame, 911);
        frame->SetSyspanelInt(nullptr, 911, 5);
        updateSystemPanelWithAView(*frame);
        EXPECT_EQ(panelControl->GetValue()->Integer, c.expected ? 0 : 5);
        EXPECT_EQ(ribbonControl->GetValue()->Integer, c.expected ? 0 : 5);
        frame->DestroyWindow();
        pal::test::pump();
        if (c.attached)
            CDVCom_Is3D::Detach(CDVCom_Is3D::Modelling);
        CDVCom_Is3D::SetStates(false, false);
    }
}

TEST_F(RelaysTest, TheSystemPanelIsRedrawnOnceAfterItsUpdate) {
    auto* frame = make<CommandFrame>();
    frame->SetSelectionFilterSet(1);
    addControl(frame, 911);
    CXTPCommandBar* panel = frame->GetSysPanelToolbar();
    CXTPCommandBar* ribbon = frame->GetRibbonBar();
    int changesWhileLocked = 0;
    for (NotingControl* control : {ribbonControl, panelControl})
        control->onSet = [&] {
            if (Dravik::UI::IsRedrawLocked(panel) && Dravik::UI::IsRedrawLocked(ribbon))
                ++changesWhileLocked;
        };
    updateSystemPanelWithAView(*frame);
    EXPECT_EQ(changesWhileLocked, 2) << "both copies of 911 changed under both locks";
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(panel)) << "unlocked at the end";
    EXPECT_FALSE(Dravik::UI::IsRedrawLocked(ribbon));
}

TEST_F(RelaysTest, AnOpenedPdmPaneIsSavedAndRestored) {
    CMainFrame* frame = make();
    // Panes come into view once the frame lays itself out, from its first showing on.
    frame->ShowFirstTime();
    Dravik::UI::DockingPaneManager& panes = frame->GetPaneManager();
    const std::uint32_t before = frame->GetOpenOrsaPanes();
    panes.CreatePane(1013, CRect(0, 0, 200, 200), xtpPaneDockLeft);  // desktop
    panes.CreatePane(1016, CRect(0, 0, 200, 200), xtpPaneDockRight); // the form pane: no PDM pane
    frame->RecalcLayout();
    pal::test::pump();
    EXPECT_EQ(frame->GetOpenOrsaPanes(), before | PdmPaneDesktop);
    XML::Document document;
    XML::Node root = document.resetRoot(XML::TagNames::MainWindow);
    frame->SaveXmlState(root);
    EXPECT_EQ(ParsePdmPanes(root.attribute(L"orsaWindows").value_or(L"")), before | PdmPaneDesktop);

    // Another frame made from that state holds the same record.
    auto state = LoadMainFrameState(root, XML::FormatVersion, nullptr);
    ASSERT_NE(state, nullptr);
    CMainFrame* other = make();
    other->ApplyState(*state, false, false);
    EXPECT_EQ(other->GetOpenOrsaPanes(), before | PdmPaneDesktop);

    panes.ClosePane(1013);
    EXPECT_EQ(frame->GetOpenOrsaPanes(), before) << "a pane the person closes leaves the record";
    // Panes the disconnection closes stay recorded for the next connection.
    panes.ShowPane(1013, FALSE);
    frame->OnChangeOrsaConnectionState(false);
    EXPECT_TRUE(panes.FindPane(1013)->IsClosed());
    EXPECT_EQ(frame->GetOpenOrsaPanes() & PdmPaneDesktop, PdmPaneDesktop);
}

TEST_F(RelaysTest, TheKernelsSettingsPlaceTheFramelessBars) {
    CMainFrame* frame = make();
    auto& settings = GetSettings();
    const auto saved = settings;
    struct Case {
        const char* name;
        int selectionFilter;
        int view;
        bool hideExpandButtons;
    };
    const Case cases[] = {
        {"the defaults", 1, 1, false},
        {"filters off, view bar off, no expand buttons", -1, -2, true},
        {"popups to the left", 2, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.framelessBars.selectionFilter = c.selectionFilter;
        settings.framelessBars.view = c.view;
        settings.hideExpandButtons = c.hideExpandButtons;
        frame->UpdateViewDependentToolBars();
        const dvframe::FramelessBarRules& rules = frame->GetFramelessBarRules();
        EXPECT_EQ(rules.selectionFilterOff, c.selectionFilter == -1);
        EXPECT_EQ(rules.expandButtons, !c.hideExpandButtons);
        const auto positions = Dravik::UI::GetFramelessToolBarPositions();
        EXPECT_EQ(positions.selectionFilter, c.selectionFilter) << "the UI library's record follows";
        EXPECT_EQ(positions.view, c.view);
    }
    settings = saved;
    frame->UpdateViewDependentToolBars();
}

// A frame that has the frameless bars the UI library leaves to the program.
class FramelessFrame : public CMainFrame {
public:
    Dravik::UI::FramelessToolBar* GetFramelessAutoMenuToolBar() const override { return autoMenu; }
    Dravik::UI::FramelessToolBar* GetFramelessViewToolBar() const override { return view; }
    Dravik::UI::FramelessToolBar* GetEditInPlaceToolBar() const override { return editInPlace; }
    Dravik::UI::FramelessToolBar* GetFeaTaskModelToolBar() const override { return feaTaskModel; }
    Dravik::UI::FramelessToolBar* GetDrawingViewToolBar() const override { return drawingView; }
    void addBars() {
        if (GetFramelessToolBars() == nullptr)
            InitFramelessToolBars();
        UINT id = 3100;
        for (auto* bar : {&autoMenu, &view, &editInPlace, &feaTaskModel, &drawingView}) {
            *bar = GetFramelessToolBars()->AddFramelessBar(L"Bar", id, 1u << (id - 3100),
                                                           Dravik::UI::kViewTypesAll, 1);
            (*bar)->GetControls()->Add(xtpControlPopup, static_cast<int>(id));
            ++id;
        }
    }
    Dravik::UI::FramelessToolBar* autoMenu = nullptr;
    Dravik::UI::FramelessToolBar* view = nullptr;
    Dravik::UI::FramelessToolBar* editInPlace = nullptr;
    Dravik::UI::FramelessToolBar* feaTaskModel = nullptr;
    Dravik::UI::FramelessToolBar* drawingView = nullptr;
};

TEST_F(RelaysTest, TheRulesReachTheFramelessAndTheFixedBars) {
    // The context, full-screen and view bars of the default tool bars, all shown.
    for (UINT id : {1070u, 1065u, 1063u})
        app->defaultBars.push_back({L"Bar", GUID{}, id, true, 2, {57600}});
    auto* frame = make<FramelessFrame>();
    frame->addBars();
    frame->SetRibbonMode(true);
    auto& settings = GetSettings();
    const auto saved = settings;
    auto leftPopups = [](CXTPCommandBar* bar) {
        return (bar->GetControl(0)->GetFlags() & xtpFlagLeftPopup) != 0;
    };
    struct Case {
        const char* name;
        int position;
        bool off;
        bool left;
    };
    const Case cases[] = {
        {"off", -1, true, false},
        {"popups to the left", 2, false, true},
        {"in their own place", 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.framelessBars = {c.position, 1, 1, c.position, c.position, c.position, c.position};
        frame->UpdateViewDependentToolBars();
        for (Dravik::UI::FramelessToolBar* bar :
             {frame->view, frame->editInPlace, frame->feaTaskModel, frame->drawingView})
            EXPECT_EQ(bar->IsVisibilityLocked() && !bar->GetLockedVisibility(), c.off);
        EXPECT_EQ(leftPopups(frame->autoMenu), c.left);
        EXPECT_EQ(leftPopups(frame->view), c.left);
        // The view bar takes the frameless view bar's place while that is off.
        CXTPToolBar* viewBar = frame->GetRememberedToolBar(1063);
        ASSERT_NE(viewBar, nullptr);
        EXPECT_EQ(viewBar->IsVisible() != FALSE, c.off);
        EXPECT_FALSE(frame->GetRememberedToolBar(1070)->IsVisible()) << "the ribbon takes its place";
        EXPECT_TRUE(frame->GetRememberedToolBar(1065)->IsVisible()) << "not the ribbon's affair";
    }
    // The frameless auto-menu bar gives way to the classic one when off, and is off outside
    // ribbon mode.
    settings.framelessBars.autoMenu = -1;
    frame->UpdateViewDependentToolBars();
    EXPECT_TRUE(frame->autoMenu->IsVisibilityLocked());
    settings = saved;
    frame->SetRibbonMode(false);
    EXPECT_TRUE(frame->autoMenu->IsVisibilityLocked());
    EXPECT_FALSE(frame->view->IsVisibilityLocked());
}

TEST_F(RelaysTest, ThePropertiesPaneFollowsTheFrameThatBecomesActive) {
    CMainFrame* first = make();
    CMainFrame* second = make();
    for (CMainFrame* frame : {first, second}) {
        frame->GetPaneManager().CreatePane(1007, CRect(0, 0, 200, 200), xtpPaneDockRight);
        frame->GetPaneManager().ClosePane(1007);
    }
    app->propertiesOpen = true;
    for (CMainFrame* frame : {first, second})
        frame->OnChangeActiveMainFrame(second);
    EXPECT_TRUE(first->GetPaneManager().FindPane(1007)->IsClosed());
    EXPECT_FALSE(second->GetPaneManager().FindPane(1007)->IsClosed());

    app->propertiesOpen = false;
    first->OnChangeActiveMainFrame(first);
    EXPECT_TRUE(first->GetPaneManager().FindPane(1007)->IsClosed()) << "closed everywhere: not opened";
    first->OnChangeActiveMainFrame(nullptr);
}

TEST_F(RelaysTest, TheFindCommandButtonFloatsItsPaneBelowItself) {
    CMainFrame* frame = make();
    // A frame lays itself out from its first showing on.
    frame->ShowFirstTime();
    Dravik::UI::DockingPaneManager& panes = frame->GetPaneManager();
    CXTPDockingPane* pane =
        panes.CreatePane(FindCommandButton::kPaneId, CRect(0, 0, 260, 340), xtpPaneDockLeft);
    ASSERT_NE(pane, nullptr);
    CWnd content;
    ASSERT_TRUE(content.Create(nullptr, L"Find command", WS_CHILD, CRect(0, 0, 260, 340), frame, 1));
    pane->Attach(&content);
    panes.ClosePane(pane);
    CXTPToolBar* bar = frame->GetSystemPanelToolBar();
    bar->SetVisible(TRUE);
    for (int id = 700; id < 720; ++id) // the button away from the screen's edge
        bar->GetControls()->Add(xtpControlButton, id);
    CXTPControl* button = bar->GetControls()->Add(new FindCommandButton, 799);
    frame->RecalcLayout();
    pal::test::pump();
    CRect before;
    content.GetWindowRect(&before);

    button->OnExecute();
    pal::test::pump();
    EXPECT_FALSE(pane->IsClosed());
    ASSERT_TRUE(pane->IsFloating());
    CRect place;
    ::GetWindowRect(::GetAncestor(content.m_hWnd, GA_ROOT), &place);
    CRect under = button->GetRect();
    bar->ClientToScreen(&under);
    EXPECT_EQ(place.top, under.bottom) << "just below the button";
    EXPECT_NEAR(place.CenterPoint().x, under.CenterPoint().x, 1) << "centred on it";
    EXPECT_GE(place.Width(), before.Width()) << "as wide as the widest of its windows";
    content.DestroyWindow();
}

TEST_F(RelaysTest, TheDrawingControlsGoBackToTheirDefaultsOnlyWhenNothingHoldsThem) {
    struct Case {
        const char* name;
        std::int32_t mode;
        int command;
        bool reset;
        bool view;
        bool expected;
    };
    const Case cases[] = {
        {"idle, the 3D module asks", 0, 0, true, true, true},
        {"panel mode 5", 5, 0, true, true, false},
        {"panel mode 13", 13, 0, true, true, false},
        {"another panel mode", 7, 0, true, true, true},
        {"a command runs", 0, 1234, true, true, false},
        {"the 3D module does not ask", 0, 0, false, true, false},
        {"no view", 0, 0, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* frame = make<CommandFrame>();
        frame->command = c.command;
        frame->reset = c.reset;
        frame->GetSysPanelToolbar()->SetMode(c.mode);
        // A filter set in use keeps the controls enabled (and their values) afterwards.
        frame->SetSelectionFilterSet(1);
        struct Copies {
            int id;
            std::vector<std::wstring> log;
            NotingControl* ribbon;
            NotingControl* panel;
        };
        std::vector<Copies> copies;
        copies.reserve(3);
        for (int id : {911, 907, 909}) {
            addControl(frame, id);
            copies.push_back({id, {}, ribbonControl, panelControl});
            // A value that going back to the defaults changes.
            frame->SetSyspanelIntVar(nullptr, id, 5, 3);
        }
        CDvw32Doc document;
        CDVView* view = nullptr;
        if (c.view) {
            view = new CDVView;
            document.AddView(view);
        }
        frame->SetActiveView(view, true);
        frame->UpdateSystemPanel();
        frame->SetActiveView(nullptr, true);
        if (view != nullptr) {
            document.RemoveView(view);
            delete view;
        }
        const SysPanelValue held{5.0, 3, 0, L""};
        const SysPanelValue defaults{0.0, -1, 0, L""};
        for (const Copies& copy : copies) {
            EXPECT_EQ(*copy.ribbon->GetValue(), c.expected ? defaults : held) << copy.id;
            EXPECT_EQ(*copy.panel->GetValue(), c.expected ? defaults : held) << copy.id;
        }
        frame->DestroyWindow();
        pal::test::pump();
    }
}

// The system panel's update brings the ribbon to the tabs the active view wants now, as a command
// may have changed them: another view's contextual tab goes. Outside ribbon mode the ribbon is
// left alone.
TEST_F(RelaysTest, TheSystemPanelsUpdateShowsTheTabsTheActiveViewWantsInRibbonMode) {
    for (const bool ribbonMode : {true, false}) {
        SCOPED_TRACE(ribbonMode ? "ribbon mode" : "classic");
        CMainFrame* frame = make();
        frame->GetRibbonCommandBars()->SetRibbonMode(ribbonMode);
        auto* ribbon = frame->GetDVRibbonBar();
        ASSERT_NE(ribbon, nullptr);
        auto* contextual =
            ribbon->GetTabCount() > 1 ? dynamic_cast<Dravik::UI::RibbonTab*>(ribbon->GetTab(1)) : nullptr;
        ASSERT_NE(contextual, nullptr);
        const GUID guid = {0x5D7E2F11, 0x1A2B, 0x4C3D, {0x8E, 0x9F, 0x10, 0x21, 0x32, 0x43, 0x54, 0x65}};
        contextual->SetGUIDs({L"{5D7E2F11-1A2B-4C3D-8E9F-102132435465}"});
        contextual->SetContextTab(xtpRibbonTabContextColorBlue, L"Welding");
        CDvw32Doc document;
        auto* view = new CDVView;
        document.AddView(view);
        view->SetRibbonGUID(guid);
        frame->SetActiveView(view, true);
        contextual->SetVisible(TRUE);
        // A command turns the view to what the default tab serves.
        view->SetRibbonGUID(DVRibbonBar::kDefaultTabGuid);
        frame->UpdateSystemPanel();
        EXPECT_EQ(contextual->IsVisible() != FALSE, !ribbonMode);
        frame->SetActiveView(nullptr, true);
        document.RemoveView(view);
        delete view;
        frame->DestroyWindow();
        pal::test::pump();
    }
}

TEST_F(RelaysTest, ThePanelShowsItsSelectionModeControlsWhileTheFilterBarShowsItsPopup) {
    CMainFrame* frame = make();
    if (frame->GetFramelessToolBars() == nullptr)
        frame->InitFramelessToolBars();
    Dravik::UI::FramelessToolBar* filters =
        frame->GetFramelessToolBars()->AddFramelessBar(L"Filters", 3003, 4, Dravik::UI::kViewTypesAll, 1);
    ASSERT_NE(filters, nullptr);
    frame->SetSelectionFilterToolBar(filters);
    CXTPControl* mode = filters->GetControls()->Add(new Dravik::UI::SelectionModePopup, 0);
    CSysPanelToolbar* panel = frame->GetSysPanelToolbar();
    for (bool shown : {true, false, true}) {
        mode->SetVisible(shown);
        frame->UpdateSelectionFilters(nullptr, 0, true);
        EXPECT_EQ(panel->AreSelectionModeControlsShown(), shown);
    }
}

TEST_F(RelaysTest, ThePdmControlsAskTheWorkMixAndTheSettings) {
    CMainFrame* frame = make();
    CXTPControlPopup* popup = frame->GetDVRibbonBar()->GetOrsaPopup();
    CXTPControls* items = popup->GetCommandBar()->GetControls();
    auto visible = [&](int id) { return items->FindControl(id)->IsVisible() != FALSE; };

    frame->UpdateOrsaControls();
    EXPECT_FALSE(popup->IsVisible()) << "no PDM text, no PDM programs";
    GetSettings().pdmText = L"Archive";
    frame->UpdateOrsaControls();
    EXPECT_TRUE(popup->IsVisible());
    EXPECT_TRUE(visible(1203));
    EXPECT_FALSE(visible(2074)) << "the stand-in can never connect";
    GetSettings().pdmText.clear();
    dvpdm::test::setProgramsInstalled(true);
    frame->UpdateOrsaControls();
    EXPECT_TRUE(popup->IsVisible());

    // The connection's change is what the controls follow, whatever the work mix said before.
    dvpdm::test::setConnectionName(L"Archive A");
    dvpdm::test::setWorkMixEnabled(true);
    frame->OnChangeOrsaConnectionState(true);
    EXPECT_EQ(std::wstring(popup->GetCaption()), L"Archive A");
    EXPECT_TRUE(visible(2075));
    EXPECT_FALSE(visible(1203));
    dvpdm::test::setWorkMixEnabled(false);
    frame->OnChangeOrsaConnectionState(false);
    EXPECT_EQ(std::wstring(popup->GetCaption()), L"DRAVIK Orsa");
    EXPECT_FALSE(visible(2075));
    dvpdm::test::setConnectionName(L"");
    dvpdm::test::setProgramsInstalled(false);
}

TEST_F(RelaysTest, TheThemeReachesTheBackstageAndTheFrame) {
    CMainFrame* frame = make();
    for (int theme : {3, 7}) {
        frame->SetTheme(theme);
        EXPECT_EQ(frame->GetDVRibbonBar()->GetBackstageTheme(), theme);
        EXPECT_EQ(frame->GetTheme(), theme);
    }
    // The workbook tabs are set up again for the new theme.
    frame->SetWorkbookMode(true);
    CDVTabClientWnd* tabs = frame->GetTabClient();
    ASSERT_NE(tabs, nullptr);
    ASSERT_NE(tabs->m_hWnd, nullptr);
    const DWORD flags = tabs->GetFlags();
    tabs->SetFlags(0);
    frame->SetTheme(4);
    EXPECT_EQ(tabs->GetFlags(), flags);
}

} // namespace
