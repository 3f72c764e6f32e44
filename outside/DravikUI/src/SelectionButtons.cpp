#include "DravikUI/SelectionButtons.h"

namespace Dravik::UI {

namespace {

// Ids of the built-in filters; the range up to 2790 stays for the filters commands add.
constexpr int kFirstBuiltinFilter = 2701;
constexpr int kBuiltinFilterCount = 12;

} // namespace

SelectionFilterButton::SelectionFilterButton(int id, bool builtIn) : builtIn_(builtIn) {
    SetID(id);
    SetStyle(xtpButtonIcon);
}

void SelectionFilterButton::SetIconAndToolTip(int icon, LPCWSTR toolTip) {
    SetIconId(icon);
    SetTooltip(toolTip != nullptr ? toolTip : L"");
}

void SelectionFilterButton::RestoreDefaults() {
    SetIconId(0);
    SetTooltip(L"");
    SetVisible(TRUE);
}

G1SelectionButton::G1SelectionButton() {
    SetStyle(xtpButtonIcon);
}

LazyGeometrySelectionButton::LazyGeometrySelectionButton() {
    SetStyle(xtpButtonIcon);
}

SelectionModePopup::SelectionModePopup() {
    SetType(xtpControlButtonPopup);
}

const std::array<GeometricType, 10>& GetGeometricTypes() {
    static const std::array<GeometricType, 10> types{{
        {2801, L"Selection.Geometry.Points"},
        {2802, L"Selection.Geometry.Lines"},
        {2803, L"Selection.Geometry.Circles"},
        {2804, L"Selection.Geometry.Arcs"},
        {2805, L"Selection.Geometry.Ellipses"},
        {2806, L"Selection.Geometry.Splines"},
        {2807, L"Selection.Geometry.Faces"},
        {2808, L"Selection.Geometry.Edges"},
        {2809, L"Selection.Geometry.Bodies"},
        {2810, L"Selection.Geometry.Axes"},
    }};
    return types;
}

GeometricTypePopupButton::GeometricTypePopupButton(const GeometricType& type) {
    SetType(xtpControlButtonPopup);
    SetID(type.Id);
    SetCaption(type.Key);
}

void ForEachBuiltinFilterButton(const std::function<void(int id)>& action) {
    for (int i = 0; i < kBuiltinFilterCount; ++i)
        action(kFirstBuiltinFilter + i);
}

} // namespace Dravik::UI
