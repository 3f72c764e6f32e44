// The kernel's requests for the parameter controls of the running command and its questions
// about them: each reaches the ribbon's copy of a control and the system panel, where the frame
// has them.
#include "frame/MainFrame.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/View.h"
#include "DravikUI/CommandBarHelpers.h"
#include "XTToolkitPro.h"
#include "panels/SysPanelControls.h"
#include "ribbon/RibbonBar.h"

namespace {

// The fields of the value record each setter carries.
SysPanelValue TextValue(const std::wstring& text) {
    SysPanelValue value;
    value.Text = text;
    return value;
}

// Panel modes in which the drawing controls keep what the command gave them.
bool KeepsDrawingControls(std::int32_t mode) {
    return mode == 5 || mode == 13;
}

constexpr int kDefaultFontControl = 914;

} // namespace

CSysPanelToolbar* CMainFrame::GetSysPanelToolbar() const {
    return dynamic_cast<CSysPanelToolbar*>(GetSystemPanelToolBar());
}

DVRibbonBar* CMainFrame::GetDVRibbonBar() {
    return DYNAMIC_DOWNCAST(DVRibbonBar, GetRibbonBar());
}

// --- selection filters ---

void CMainFrame::BeginSelectionFilterConfiguration() {
    MdiMainFrame::BeginSelectionFilterConfiguration();
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->BeginConfiguration();
}

void CMainFrame::EndSelectionFilterConfiguration() {
    MdiMainFrame::EndSelectionFilterConfiguration();
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->EndConfiguration();
}

void CMainFrame::SetSelectionFilterSet(int set) {
    MdiMainFrame::SetSelectionFilterSet(set);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetSelectionFilterSet(set);
}

void CMainFrame::ShowSelectionFilterButton(UINT id, bool show) {
    MdiMainFrame::ShowSelectionFilterButton(id, show);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->ShowSelectionFilterButton(static_cast<int>(id), show);
}

void CMainFrame::HideAllSelectionFilterButtons() {
    MdiMainFrame::HideAllSelectionFilterButtons();
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->HideAllSelectionFilterButtons();
}

void CMainFrame::SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, unsigned toolTipId) {
    MdiMainFrame::SetSelectionFilterButtonIconAndToolTip(id, icon, toolTipId);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetSelectionFilterButtonIconAndToolTipId(static_cast<int>(id), icon, toolTipId);
}

void CMainFrame::SetSelectionFilterButtonIconAndToolTip(UINT id, int icon, const std::wstring& toolTip) {
    MdiMainFrame::SetSelectionFilterButtonIconAndToolTip(id, icon, toolTip);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetSelectionFilterButtonIconAndToolTip(static_cast<int>(id), icon, toolTip);
}

void CMainFrame::SetSelectionFilterButtonProperties(UINT id, int icon, unsigned toolTipId, bool enabled,
                                                    bool ticked) {
    MdiMainFrame::SetSelectionFilterButtonProperties(id, icon, toolTipId, enabled, ticked);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar()) {
        panel->SetSelectionFilterButtonIconAndToolTipId(static_cast<int>(id), icon, toolTipId);
        panel->SetControlState(static_cast<int>(id), ticked, !enabled);
    }
}

void CMainFrame::SetSelectionFilterButtonProperties(UINT id, int icon, const std::wstring& toolTip,
                                                    bool enabled, bool ticked) {
    MdiMainFrame::SetSelectionFilterButtonProperties(id, icon, toolTip, enabled, ticked);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar()) {
        panel->SetSelectionFilterButtonIconAndToolTip(static_cast<int>(id), icon, toolTip);
        panel->SetControlState(static_cast<int>(id), ticked, !enabled);
    }
}

void CMainFrame::SetSelectionFilterButtonState(UINT id, bool enabled, bool ticked) {
    MdiMainFrame::SetSelectionFilterButtonState(id, enabled, ticked);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetControlState(static_cast<int>(id), ticked, !enabled);
}

void CMainFrame::CopySelectionModeControls() {
    CSysPanelToolbar* panel = GetSysPanelToolbar();
    Dravik::UI::FramelessToolBar* filters = GetSelectionFilterToolBar();
    if (panel == nullptr || filters == nullptr)
        return;
    bool modePopupShown = false;
    for (int i = 0; i < filters->GetControlCount(); ++i)
        if (CXTPControl* control = filters->GetControl(i);
            dynamic_cast<Dravik::UI::SelectionModePopup*>(control) != nullptr && control->IsVisible())
            modePopupShown = true;
    panel->ShowSelectionModeControls(modePopupShown);
}

void CMainFrame::UpdateSelectionFilters(CView* view, int command, bool force) {
    MdiMainFrame::UpdateSelectionFilters(view, command, force);
    CopySelectionModeControls();
    const auto* drawing = dynamic_cast<const CDVView*>(view);
    const int kind = drawing != nullptr ? drawing->GetViewKind() : 0;
    if (kind != 1 && kind != 2 && GetSelectionFilterSet() == 0)
        DisableSyspanelControls();
}

// --- relays: the ribbon's copy first, then the panel ---

void CMainFrame::DisableSyspanelControls() {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->DisableSystemPanelControls();
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->DisableSystemPanelControls();
}

void CMainFrame::EnableSyspanelControl(int id, bool enable) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->EnableControl(id, enable);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->EnableControl(id, enable);
}

void CMainFrame::SetSyspanelButtonStatus(int id, bool enabled, bool ticked) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlState(id, enabled, ticked);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetControlState(id, ticked, !enabled);
}

void CMainFrame::SetSyspanelDoubleVar(Dravik::DVDocument* document, int id, double value, std::int32_t code) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlDoubleVar(document, id, value, code);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetRealValue(document, id, value, code);
}

void CMainFrame::SetSyspanelFont(Dravik::DVDocument* document, int id, const std::wstring& face) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlValue(document, id, face);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetFontValue(document, id, face);
}

void CMainFrame::SetSyspanelInt(Dravik::DVDocument* document, int id, std::int32_t value) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlInt(document, id, value);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetIntValue(document, id, value);
}

void CMainFrame::SetSyspanelIntVar(Dravik::DVDocument* document, int id, int value, std::int32_t code) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlIntVar(document, id, value, code);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetRealValueFromInt(document, id, value, code);
}

void CMainFrame::SetSyspanelCString(Dravik::DVDocument* document, int id, const std::wstring& text) {
    if (DVRibbonBar* ribbon = GetDVRibbonBar())
        ribbon->SetControlValue(document, id, text);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetControlValue(document, id, TextValue(text));
}

void CMainFrame::SetSyspanelControls(const std::vector<CSysPanelToolbar::CommandButton>& buttons) {
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->SetCommandButtons(buttons);
}

void CMainFrame::SyspanelStatusChanged() {
    if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        panel->UpdateControlStatesFromCommands();
}

void CMainFrame::UpdateSystemPanel() {
    CSysPanelToolbar* panel = GetSysPanelToolbar();
    // Both copies of the controls are redrawn once, after every change below.
    CXTPRibbonBar* ribbonBar = GetRibbonBar();
    Dravik::UI::LockRedraw(ribbonBar);
    Dravik::UI::LockRedraw(panel);
    UpdateSystemPanelControls(panel);
    Dravik::UI::UnlockRedraw(panel);
    Dravik::UI::UnlockRedraw(ribbonBar);
}

void CMainFrame::UpdateSystemPanelControls(CSysPanelToolbar* panel) {
    auto* view = dynamic_cast<CDVView*>(GetActiveDravikView());
    int command = GetActiveCommandId();
    if (command != 0 && view != nullptr) {
        view->TestTerminateCommand(1);
        command = GetActiveCommandId();
    }
    if (panel == nullptr || !KeepsDrawingControls(panel->GetMode())) {
        CDvw32Doc* document = view != nullptr ? view->GetDvwDocument() : nullptr;
        if (command == 0 && document != nullptr && DrawingControlsReset()) {
            Dravik::DVDocument* content = document->Cont2D();
            if (DVRibbonBar* ribbon = GetDVRibbonBar())
                ribbon->SetControlInt(content, 911, 0);
            if (panel != nullptr)
                panel->SetIntValue(content, 911, 0);
            SetSyspanelIntVar(content, 907, 0, -1);
            SetSyspanelIntVar(content, 909, 0, -1);
        }
    }
    UpdateSelectionFilters(view, command, true);
    // A command may have changed the tab the view wants.
    if (IsRibbonMode())
        if (DVRibbonBar* ribbon = GetDVRibbonBar()) {
            CView* active = GetActiveDravikView();
            GUID tabs[3] = {};
            DVRibbonBar::GetActiveViewRibbonTabs(active, tabs);
            ribbon->UpdateViewTabs(tabs, false, active != nullptr ? active->GetDocument() : nullptr);
        }
}

// --- questions ---

bool CMainFrame::GetSyspanelButtonStatus(int id, bool& checked, bool& disabled) const {
    CSysPanelToolbar* panel = GetSysPanelToolbar();
    return panel != nullptr && panel->GetControlState(id, checked, disabled);
}

std::optional<SysPanelValue> CMainFrame::GetSyspanelControlValue(int id) {
    const SysPanelValue* value = nullptr;
    if (IsRibbonMode())
        value = DVRibbonBar::GetControlData(GetRibbonBar(), id);
    else if (CSysPanelToolbar* panel = GetSysPanelToolbar())
        value = panel->GetControlValue(id);
    if (value == nullptr)
        return std::nullopt;
    return *value;
}

void CMainFrame::GetSyspanelIntValue(int id, std::int32_t& value) const {
    CSysPanelToolbar* panel = GetSysPanelToolbar();
    if (panel != nullptr && panel->FindControlById(id) != nullptr)
        value = panel->GetControlIntValue(id);
}

void CMainFrame::SplitSyspanelRealValue(const SysPanelValue& record, double& value,
                                        std::int32_t& code) const {
    if (GetSysPanelToolbar() != nullptr)
        CSysPanelToolbar::SplitRealValue(record, value, code);
}

void CMainFrame::SplitSyspanelRealValueAsInt(const SysPanelValue& record, int& value,
                                             std::int32_t& code) const {
    if (GetSysPanelToolbar() != nullptr)
        CSysPanelToolbar::SplitRealValueAsInt(record, value, code);
}

void CMainFrame::GetSyspanelFontName(std::wstring& text, int id) {
    text.clear();
    if (id == -1)
        id = kDefaultFontControl;
    CXTPControl* control = nullptr;
    if (IsRibbonMode())
        if (DVRibbonBar* ribbon = GetDVRibbonBar())
            ribbon->ForEachControl(
                [&](CXTPControl* each) {
                    if (control == nullptr && each->GetID() == id)
                        control = each;
                },
                true);
    if (CSysPanelToolbar* panel = GetSysPanelToolbar(); control == nullptr && panel != nullptr) {
        control = panel->FindControl(id);
        if (control == nullptr)
            control = panel->FindControlById(id);
    }
    if (auto* font = dynamic_cast<CFontComboBox*>(control); font != nullptr && font->GetKind() < 3)
        text = font->GetValue()->Text;
}

std::int32_t CMainFrame::GetSyspanelMode() const {
    CSysPanelToolbar* panel = GetSysPanelToolbar();
    return panel != nullptr ? panel->GetMode() : -1;
}

// The drawing controls go back to their defaults only when the 3D module asks.
bool CMainFrame::DrawingControlsReset() const {
    return CDVCom_Is3D::AsksToResetDrawingControls();
}
