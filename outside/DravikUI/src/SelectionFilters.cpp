#include "DravikUI/SelectionFilters.h"

namespace Dravik::UI {

void SelectionFilters::EndConfiguration() {
    if (m_configuring == 0)
        return;
    if (--m_configuring == 0 && m_pending)
        Apply();
}

void SelectionFilters::changed() {
    if (IsConfiguring())
        m_pending = true;
    else
        Apply();
}

void SelectionFilters::SetSet(int set) {
    m_set = set;
    changed();
}

void SelectionFilters::ShowButton(UINT id, bool show) {
    m_buttons[id].Shown = show;
    changed();
}

void SelectionFilters::HideAllButtons() {
    for (auto& [id, button] : m_buttons)
        button.Shown = false;
    changed();
}

void SelectionFilters::SetIconAndToolTip(UINT id, int icon, unsigned toolTipId) {
    SelectionFilterButtonState& button = m_buttons[id];
    button.Icon = icon;
    button.ToolTipId = toolTipId;
    button.ToolTip.clear();
    changed();
}

void SelectionFilters::SetIconAndToolTip(UINT id, int icon, const std::wstring& toolTip) {
    SelectionFilterButtonState& button = m_buttons[id];
    button.Icon = icon;
    button.ToolTipId = 0;
    button.ToolTip = toolTip;
    changed();
}

void SelectionFilters::SetState(UINT id, bool enabled, bool ticked) {
    SelectionFilterButtonState& button = m_buttons[id];
    button.Enabled = enabled;
    button.Ticked = ticked;
    changed();
}

const SelectionFilterButtonState* SelectionFilters::GetButton(UINT id) const {
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : &found->second;
}

void SelectionFilters::SetToolBar(CXTPToolBar* bar) {
    m_bar = bar;
    Apply();
}

void SelectionFilters::Apply() {
    m_pending = false;
    if (!m_bar)
        return;
    for (const auto& [id, button] : m_buttons) {
        CXTPControl* control = m_bar->FindControl(static_cast<int>(id));
        if (!control && !button.Shown)
            continue;
        if (!control)
            control = m_bar->GetControls()->Add(xtpControlButton, static_cast<int>(id));
        if (!control)
            continue;
        control->SetVisible(button.Shown ? TRUE : FALSE);
        control->SetEnabled(button.Enabled ? TRUE : FALSE);
        control->SetChecked(button.Ticked ? TRUE : FALSE);
        if (button.Icon != 0)
            control->SetIconId(button.Icon);
        std::wstring tip = button.ToolTip;
        if (button.ToolTipId != 0) {
            wchar_t text[512] = {};
            AfxLoadString(button.ToolTipId, text, 512);
            tip = text;
        }
        control->SetTooltip(tip.c_str());
        // A button is named by its tip (a bar without the icon shows the name).
        control->SetCaption(tip.c_str());
        // The idle update of commands must not undo what the command set.
        control->SetFlags(control->GetFlags() | xtpFlagManualUpdate);
    }
    if (::IsWindow(m_bar->GetSafeHwnd())) {
        m_bar->DelayLayout();
        m_bar->Invalidate();
    }
}

} // namespace Dravik::UI
