// The system panel's selection-filter buttons and selection-mode controls, as the frame relays
// the kernel's requests for them.
#include "panels/SysPanelToolbar.h"

#include "DravikUI/SelectionFilters.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

Dravik::UI::SelectionFilterButton* FilterButton(CXTPControl* control) {
    return dynamic_cast<Dravik::UI::SelectionFilterButton*>(control);
}

} // namespace

void CSysPanelToolbar::SetSelectionFilterSet(int set) {
    m_filterSet = set;
}

void CSysPanelToolbar::ShowSelectionFilterButton(int id, bool show) {
    CXTPControl* button = FindControl(id);
    if (button == nullptr && show)
        if (CXTPControl* prototype = FindControlById(id))
            button = GetControls()->AddClone(prototype);
    if (button != nullptr)
        button->SetVisible(show);
}

void CSysPanelToolbar::HideAllSelectionFilterButtons() {
    for (CXTPControl* control : *GetControls())
        if (FilterButton(control) != nullptr || control == m_lazySelection || control == m_selectionMode ||
            dynamic_cast<Dravik::UI::GeometricTypePopupButton*>(control) != nullptr)
            control->SetVisible(FALSE);
}

void CSysPanelToolbar::SetSelectionFilterButtonIconAndToolTipId(int id, int icon, unsigned toolTipId) {
    SetSelectionFilterButtonIconAndToolTip(id, icon, toolTipId != 0 ? LoadSystemPanelString(toolTipId) : L"");
}

void CSysPanelToolbar::SetSelectionFilterButtonIconAndToolTip(int id, int icon, const std::wstring& toolTip) {
    CXTPControl* button = FindControl(id);
    if (icon == 0 || toolTip.empty()) {
        if (button != nullptr)
            GetControls()->Remove(button);
        return;
    }
    if (button == nullptr)
        if (CXTPControl* prototype = FindControlById(id))
            button = GetControls()->AddClone(prototype);
    if (button == nullptr)
        return;
    if (auto* filter = FilterButton(button)) {
        filter->SetIconAndToolTip(icon, toolTip.c_str());
    } else {
        button->SetIconId(icon);
        button->SetTooltip(toolTip.c_str());
    }
    button->SetVisible(TRUE);
}

void CSysPanelToolbar::ShowSelectionModeControls(bool show) {
    m_selectionModeShown = show;
    for (CXTPControl* control : *GetControls()) {
        if (dynamic_cast<Dravik::UI::G1SelectionButton*>(control) != nullptr)
            control->SetVisible(TRUE);
        else if (dynamic_cast<Dravik::UI::LazyGeometrySelectionButton*>(control) != nullptr ||
                 dynamic_cast<Dravik::UI::SelectionModePopup*>(control) != nullptr)
            control->SetVisible(show);
    }
}

void CSysPanelToolbar::SplitRealValue(const SysPanelValue& record, double& value, std::int32_t& code) {
    value = record.Real;
    code = record.Variable;
}

void CSysPanelToolbar::SplitRealValueAsInt(const SysPanelValue& record, int& value, std::int32_t& code) {
    // A value no integer can hold is taken at the nearest end, not left to overflow.
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    value = std::isfinite(record.Real) ? static_cast<int>(std::clamp(std::round(record.Real), low, high)) : 0;
    code = record.Variable;
}
