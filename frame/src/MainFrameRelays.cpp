// What the main-frame interface asks of a frame, extended to this frame's own copies of the
// bars: the bars that depend on the view and the modes, the theme, the active frame, the PDM
// commands and the ribbon's groups and tabs.
#include "frame/MainFrame.h"

#include "frame/FrameState.h"
#include "frame/FramelessBarRules.h"

#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Settings.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/ToolBars.h"
#include "DravikUI/XMLDefinitions.h"
#include "XTToolkitPro.h"
#include "frame/ToolBarList.h"
#include "ribbon/RibbonBar.h"

#include <array>
#include <functional>
#include <utility>

namespace {

// The PDM ribbon tab.
constexpr GUID kOrsaTabGuid{0x29A47DB0, 0x83AC, 0x47B8, {0xAC, 0xC9, 0xEF, 0x36, 0x4D, 0x9C, 0xD8, 0x73}};
constexpr const wchar_t* kOrsaCaption = L"DRAVIK Orsa";
// The PDM popup's items.
constexpr int kOrsaSettingsCommand = 1203;
constexpr int kOrsaConnectCommand = 2074;
constexpr int kOrsaDisconnectCommand = 2075;
// Controls of PDM commands hide with it unless the control asks to stay (control flag 16).
constexpr DWORD kKeepWithoutPdmFlag = xtpFlagNoMovable;
constexpr int kPropertiesPane = 1007;
// The default fixed bars that give way to the ribbon: the context bar and the view bar. The bar
// that full screen hides besides is not applied: which bar it is stays open, and the drawing bar
// it would be taken for must come back as the screen modes left it.
constexpr UINT kContextBar = 1070;
constexpr UINT kViewBar = 1063;

struct PdmPaneBitEntry {
    int paneId;
    std::uint32_t bit;
};
constexpr std::array<PdmPaneBitEntry, 8> kPdmPanes{{{1012, PdmPaneFiles},
                                                    {1019, PdmPaneAssembly},
                                                    {1013, PdmPaneDesktop},
                                                    {1014, PdmPaneNomenclature},
                                                    {1015, PdmPaneSearch},
                                                    {1027, PdmPaneMail},
                                                    {1033, PdmPaneConfigurationSettings},
                                                    {1040, PdmPaneLibraryElements}}};

bool IsPdmControl(CXTPControl* control) {
    if (control->GetID() <= 0 || (control->GetFlags() & kKeepWithoutPdmFlag) != 0)
        return false;
    const auto flags =
        DVCommandContainer::Instance().GetCommandFlags(static_cast<unsigned>(control->GetID()));
    return flags.has(DVCommandFlag::Pdm);
}

void VisitControls(CXTPControls* controls, const std::function<void(CXTPControl*)>& action, int depth = 0) {
    if (controls == nullptr || depth > 32)
        return;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        action(control);
        if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
            popup != nullptr && popup->GetCommandBar())
            VisitControls(popup->GetCommandBar()->GetControls(), action, depth + 1);
    }
}

void ShowPdmControls(CXTPControls* controls, bool show) {
    VisitControls(controls, [show](CXTPControl* control) {
        if (IsPdmControl(control))
            control->SetVisible(show);
    });
}

} // namespace

// --- bars of the view and the modes ---

// The kernel's settings place the bars; the UI library's record follows them, so that what it
// decides by position agrees with the frame.
dvframe::FramelessBarPositions CMainFrame::GetFramelessBarPositions() const {
    Dravik::UI::SetFramelessToolBarPositions(GetSettings().framelessBars);
    return Dravik::UI::GetFramelessToolBarPositions();
}

void CMainFrame::UpdateViewDependentToolBars() {
    if (m_hidingBars)
        return;
    Dravik::UI::LayoutLock lock(this);
    m_hidingBars = true;
    dvframe::FramelessBarInputs inputs;
    inputs.ribbonMode = IsRibbonMode();
    inputs.screenMode = GetScreenMode();
    inputs.positions = GetFramelessBarPositions();
    SetHideExpandButtons(GetSettings().hideExpandButtons);
    CXTPToolBar* panel = GetSystemPanelToolBar();
    inputs.systemPanelShown = panel != nullptr && panel->IsVisible();
    inputs.hideExpandButtons = m_hideExpandButtons;
    m_framelessRules = dvframe::DecideFramelessBars(inputs);
    const dvframe::FramelessBarRules& rules = m_framelessRules;

    if (CXTPRibbonBar* ribbon = GetRibbonBar(); ribbon != nullptr && ribbon->IsVisible()) {
        ribbon->EnableFrameTheme(rules.ribbonFrameTheme);
        ribbon->SetRibbonMinimized(rules.ribbonFullScreenMinimized ? minimizeRibbonInFullScreenMode
                                                                   : minimizeRibbonInWindowedMode);
    }
    // The classic auto-menu bar wraps its buttons only while it shows its expand button.
    if (Dravik::UI::AutoMenuToolBar* classic = GetAutoMenuToolBar()) {
        if (rules.expandButtons)
            classic->SetFlags(xtpFlagHideWrap);
        else
            classic->SetFlags(0, xtpFlagHideWrap);
        if (inputs.ribbonMode)
            classic->SetVisible(rules.classicAutoMenuVisible);
    }
    // In ribbon mode the ribbon takes over the fixed bars; the view bar stands in for the
    // frameless one that the settings turned off.
    if (inputs.ribbonMode) {
        if (CXTPToolBar* context = GetRememberedToolBar(kContextBar);
            context != nullptr && rules.fixedBar1Hidden)
            context->SetVisible(FALSE);
        if (CXTPToolBar* view = GetRememberedToolBar(kViewBar))
            view->SetVisible(rules.fixedViewBarVisible);
    }
    const std::pair<Dravik::UI::FramelessToolBar*, bool> frameless[] = {
        {GetFramelessAutoMenuToolBar(), rules.autoMenuOff},
        {GetSelectionFilterToolBar(), rules.selectionFilterOff},
        {GetFramelessViewToolBar(), rules.viewOff},
        {GetEditInPlaceToolBar(), rules.editInPlaceOff},
        {GetFeaTaskModelToolBar(), rules.feaTaskModelOff},
        {GetDrawingViewToolBar(), rules.drawingViewOff},
    };
    for (const auto& [bar, off] : frameless) {
        if (bar == nullptr)
            continue;
        if (off)
            bar->LockVisibility(false);
        else
            bar->UnlockVisibility();
    }
    if (Dravik::UI::FramelessToolBar* autoMenu = GetFramelessAutoMenuToolBar()) {
        if (rules.expandButtons)
            autoMenu->SetFlags(xtpFlagHideWrap);
        else
            autoMenu->SetFlags(0, xtpFlagHideWrap);
        Dravik::UI::SetLeftPopups(autoMenu, rules.autoMenuLeftPopups);
    }
    if (Dravik::UI::FramelessToolBar* view = GetFramelessViewToolBar())
        Dravik::UI::SetLeftPopups(view, rules.viewLeftPopups);
    UpdateViewDependentRibbonGroups();
    MdiMainFrame::UpdateViewDependentToolBars();
    CopySelectionModeControls();
    UpdateOrsaControls();
    m_hidingBars = false;
}

void CMainFrame::SetTheme(int theme) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetBackstageTheme(theme, theme);
    SetThemeInternal(theme);
    // The new theme's paint manager knows nothing of the tabs' layout.
    if (m_tabClient)
        m_tabClient->SetUp();
}

void CMainFrame::OnChangeActiveMainFrame(Dravik::UI::MainFrame* newFrame) {
    if (newFrame != nullptr) {
        Dravik::UI::LayoutLock lockThis(this);
        Dravik::UI::LayoutLock lockNew(newFrame);
        if (MainFrameApplication* app = MainFrameApplication::Instance();
            app != nullptr && app->IsDockingPaneOpen(kPropertiesPane))
            if (newFrame == this)
                m_paneManager.ShowPane(kPropertiesPane, FALSE);
    }
    MdiMainFrame::OnChangeActiveMainFrame(newFrame);
}

void CMainFrame::ShowToolbar(UINT id, bool show) {
    {
        Dravik::UI::LayoutLock lock(this);
        CXTPToolBar* bar = nullptr;
        if (CXTPCommandBars* bars = GetCommandBars())
            bar = bars->GetToolBar(id);
        if (bar == nullptr)
            if (Dravik::UI::FramelessToolBars* frameless = GetFramelessToolBars())
                bar = frameless->GetToolBar(id);
        if (bar != nullptr)
            bar->SetVisible(show);
    }
    UpdateViewDependentToolBars();
}

// --- PDM ---

void CMainFrame::ShowOrsaCommands(bool show) {
    if (CXTPMenuBar* menu = GetMenuBar())
        ShowPdmControls(menu->GetControls(), show);
    DVRibbonBar* ribbon = GetDVRibbonBar();
    if (ribbon == nullptr)
        return;
    ShowPdmControls(ribbon->GetControls(), show);
    if (ribbon->GetQuickAccessControls() != nullptr)
        ShowPdmControls(ribbon->GetQuickAccessControls(), show);
    ribbon->ForEachGroup([show](CXTPRibbonGroup* group) {
        bool holdsPdm = false;
        bool holdsOther = false;
        VisitControls(group->GetControls(), [&](CXTPControl* control) {
            if (IsPdmControl(control)) {
                control->SetVisible(show);
                holdsPdm = true;
            } else if (control->GetControls() == group->GetControls() && control->IsVisible()) {
                holdsOther = true;
            }
        });
        if (holdsPdm)
            group->SetVisible(show || holdsOther);
    });
}

OrsaState CMainFrame::GetOrsaState() const {
    OrsaState state;
    DVPDMWorkMix& workMix = DVPDMWorkMix::Instance();
    state.enabled = workMix.IsEnabled();
    state.canConnect = workMix.CanConnect();
    state.connectionName = workMix.OrsaInfo();
    state.hasInstalledPrograms = DVPdmApiProxy::Instance().HasInstalledPrograms();
    state.pdmText = GetSettings().pdmText;
    return state;
}

void CMainFrame::UpdateOrsaControls() {
    UpdateOrsaControls(GetOrsaState());
}

void CMainFrame::UpdateOrsaControls(const OrsaState& state) {
    DVRibbonBar* ribbon = GetDVRibbonBar();
    if (ribbon == nullptr)
        return;
    if (Dravik::UI::RibbonTab* tab = DVRibbonBar::FindTabByGuid(ribbon, kOrsaTabGuid)) {
        tab->SetVisible(state.enabled);
        // Kept out of the view tabs' showing while PDM is off.
        tab->SetDisabledByUser(!state.enabled);
    }
    CXTPControlPopup* popup = ribbon->GetOrsaPopup();
    if (popup == nullptr)
        return;
    if (state.pdmText.empty() && !state.hasInstalledPrograms) {
        popup->SetVisible(FALSE);
        return;
    }
    popup->SetVisible(TRUE);
    popup->SetCaption(state.enabled && !state.connectionName.empty() ? state.connectionName.c_str()
                                                                     : kOrsaCaption);
    bool anyShown = false;
    if (CXTPCommandBar* items = popup->GetCommandBar()) {
        const std::array<std::pair<int, bool>, 3> shown{{
            {kOrsaSettingsCommand, !state.enabled},
            {kOrsaConnectCommand, !state.enabled && state.canConnect},
            {kOrsaDisconnectCommand, state.enabled},
        }};
        for (const auto& [id, visible] : shown)
            if (CXTPControl* item = items->GetControls()->FindControl(id)) {
                item->SetVisible(visible);
                anyShown = anyShown || visible;
            }
    }
    popup->SetEnabled(anyShown);
}

std::uint32_t CMainFrame::PdmPaneBit(int paneId) {
    for (const PdmPaneBitEntry& entry : kPdmPanes)
        if (entry.paneId == paneId)
            return entry.bit;
    return 0;
}

void CMainFrame::OnChangeOrsaConnectionState(bool connected) {
    if (!connected) {
        for (const PdmPaneBitEntry& entry : kPdmPanes) {
            CXTPDockingPane* pane = m_paneManager.FindPane(entry.paneId);
            if (pane != nullptr && !pane->IsClosed())
                pdmPanes |= entry.bit;
            else
                pdmPanes &= ~entry.bit;
        }
    }
    OrsaState state = GetOrsaState();
    state.enabled = connected;
    UpdateOrsaControls(state);
    // The panes the disconnection closes were open for the person: they stay recorded, so that
    // the next connection and the saved state bring them back.
    const std::uint32_t open = pdmPanes;
    ShowOrsaWindows(connected);
    if (!connected)
        pdmPanes = open;
}

// --- ribbon groups and tabs ---

bool CMainFrame::ResetRibbonGroup(CXTPRibbonGroup* group) {
    auto* own = dynamic_cast<Dravik::UI::RibbonGroup*>(group);
    if (own == nullptr || !own->HasGUID())
        return false;
    auto* tab = dynamic_cast<Dravik::UI::RibbonTab*>(own->GetParentTab());
    const Dravik::UI::XML::RibbonTab* tabDefinition =
        tab != nullptr ? FindDefaultTabDefinition(*tab) : nullptr;
    const Dravik::UI::XML::RibbonGroup* definition =
        tabDefinition != nullptr ? tabDefinition->findGroup(own->GetGUIDText()) : nullptr;
    if (definition == nullptr)
        return false;
    definition->apply(own, GetRibbonBarApplicationParameters());
    UpdateViewDependentRibbonGroups();
    return true;
}

void CMainFrame::ResetRibbonTab(CXTPRibbonTab* tab) {
    auto* own = dynamic_cast<Dravik::UI::RibbonTab*>(tab);
    if (own == nullptr)
        return;
    if (const Dravik::UI::XML::RibbonTab* definition = FindDefaultTabDefinition(*own)) {
        definition->apply(own, GetRibbonBarApplicationParameters());
        UpdateViewDependentRibbonGroups();
    }
}

bool CMainFrame::HasRibbonTabDefinition(CXTPRibbonTab* tab) const {
    auto* own = dynamic_cast<Dravik::UI::RibbonTab*>(tab);
    return own != nullptr && const_cast<CMainFrame*>(this)->FindDefaultTabDefinition(*own) != nullptr;
}

bool CMainFrame::HasRibbonGroupDefinition(CXTPRibbonGroup* group) const {
    auto* own = dynamic_cast<Dravik::UI::RibbonGroup*>(group);
    auto* tab = own != nullptr ? dynamic_cast<Dravik::UI::RibbonTab*>(own->GetParentTab()) : nullptr;
    const Dravik::UI::XML::RibbonTab* definition =
        tab != nullptr && own->HasGUID() ? const_cast<CMainFrame*>(this)->FindDefaultTabDefinition(*tab)
                                         : nullptr;
    return definition != nullptr && definition->findGroup(own->GetGUIDText()) != nullptr;
}

bool CMainFrame::IsToolBarListed(CXTPToolBar* bar) const {
    return ::IsToolBarListed(GetCommandBars(), bar);
}

// The default state's own tabs are the definitions; a state merged from it keeps them aside.
const Dravik::UI::XML::RibbonTab* CMainFrame::FindDefaultTabDefinition(const Dravik::UI::RibbonTab& tab) {
    const Dravik::UI::XML::RibbonBar* defaults = GetDefaultRibbonDefinition();
    if (defaults == nullptr || !tab.HasGUID())
        return nullptr;
    const std::wstring& guid = tab.GetGUIDs().front();
    if (const Dravik::UI::XML::RibbonTab* kept = defaults->FindTabDefinition(guid))
        return kept;
    return defaults->findTab(guid);
}

const Dravik::UI::XML::RibbonBar* CMainFrame::GetDefaultRibbonDefinition() {
    MainFrameApplication* app = MainFrameApplication::Instance();
    if (app == nullptr)
        return nullptr;
    m_defaultState = app->GetDefaultMainFrameState();
    return m_defaultState != nullptr ? m_defaultState->ribbonBar.get() : nullptr;
}
