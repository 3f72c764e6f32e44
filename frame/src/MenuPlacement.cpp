#include "frame/MenuPlacement.h"

#include "DravikUI/ToolBars.h"
#include "XTToolkitPro.h"

#include <cwctype>
#include <string_view>

namespace dvframe {

namespace {

// Menus nest a handful of levels; a deeper chain can only be a popup that holds itself.
constexpr int kMaxDepth = 32;

CXTPControls* PopupControls(CXTPControl* control) {
    auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
    if (popup == nullptr || popup->GetCommandBar() == nullptr)
        return nullptr;
    return popup->GetCommandBar()->GetControls();
}

std::optional<MenuPlace> FindAnchor(CXTPControls* controls, int anchorId, std::uint32_t& placement,
                                    int depth) {
    if (controls == nullptr || depth > kMaxDepth)
        return std::nullopt;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (control->GetID() == anchorId)
            return MenuPlace{controls, i};
        std::optional<MenuPlace> inner = FindAnchor(PopupControls(control), anchorId, placement, depth + 1);
        if (!inner)
            continue;
        if (placement & PlaceAtTopLevelHolder)
            return MenuPlace{controls, i};
        if (placement & PlaceAtHolder) {
            placement &= ~std::uint32_t{PlaceAtHolder};
            return MenuPlace{controls, i};
        }
        return inner;
    }
    return std::nullopt;
}

bool IsHelpAnchor(const CXTPControl* control) {
    return (control->GetTag() & kHelpAnchorTag) != 0;
}

std::optional<MenuPlace> FindHelp(CXTPControls* controls, bool freeControlsOnly, int depth) {
    if (controls == nullptr || depth > kMaxDepth)
        return std::nullopt;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (freeControlsOnly && !Dravik::UI::IsRibbonFreeControl(control))
            continue;
        if (IsHelpAnchor(control))
            return MenuPlace{controls, i};
        if (auto inner = FindHelp(PopupControls(control), false, depth + 1))
            return inner;
    }
    return std::nullopt;
}

bool SameKey(const CString& parameter, const std::wstring& key) {
    const std::wstring_view text(parameter);
    if (text.size() != key.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (std::towlower(text[i]) != std::towlower(key[i]))
            return false;
    return true;
}

int RemoveTagged(CXTPControls* controls, const std::wstring& key, int depth) {
    if (controls == nullptr || depth > kMaxDepth)
        return 0;
    int removed = 0;
    for (int i = controls->GetCount() - 1; i >= 0; --i) {
        CXTPControl* control = controls->GetAt(i);
        if (SameKey(control->GetParameter(), key)) {
            controls->Remove(i);
            ++removed;
        } else {
            removed += RemoveTagged(PopupControls(control), key, depth + 1);
        }
    }
    return removed;
}

} // namespace

std::optional<MenuPlace> FindAnchorPlace(CXTPControls* controls, int anchorId, std::uint32_t& placement) {
    std::optional<MenuPlace> hit = FindAnchor(controls, anchorId, placement, 0);
    if (!hit)
        return std::nullopt;
    switch (PlacementKind(placement)) {
    case PlaceBeforeAnchor:
        return hit;
    case PlaceAfterAnchor:
        hit->index = ClampPosition(hit->controls, hit->index + 1);
        return hit;
    case PlaceFirstBesideAnchor:
        hit->index = 0;
        return hit;
    default:
        hit->index = -1;
        return hit;
    }
}

std::optional<MenuPlace> FindHelpPlace(CXTPControls* controls, bool freeControlsOnly) {
    return FindHelp(controls, freeControlsOnly, 0);
}

int ClampPosition(const CXTPControls* controls, int position) {
    const int count = controls != nullptr ? controls->GetCount() : 0;
    return position >= 0 && position < count ? position : -1;
}

CXTPControl* AddMenuControl(const MenuPlace& place, CXTPControl* control, const std::wstring& parameter,
                            std::uint32_t placement) {
    if (place.controls == nullptr || control == nullptr)
        return nullptr;
    const int before = ClampPosition(place.controls, place.index);
    if ((placement & PlaceFollowerBeginsGroup) && before >= 0)
        place.controls->GetAt(before)->SetBeginGroup(TRUE);
    CXTPControl* added = place.controls->Add(control, control->GetID(), parameter.c_str(), before);
    if (added != nullptr && (placement & PlaceBeginsGroup))
        added->SetBeginGroup(TRUE);
    return added;
}

CXTPControl* AddMenuButton(const MenuPlace& place, int id, const std::wstring& text,
                           std::uint32_t placement) {
    if (place.controls == nullptr)
        return nullptr;
    auto* button = new CXTPControlButton;
    button->SetID(id);
    CXTPControl* added = AddMenuControl(place, button, L"", placement);
    if (added == nullptr)
        return nullptr;
    added->SetCaption(text.c_str());
    added->SetDescription(text.c_str());
    added->SetTooltip(text.c_str());
    return added;
}

int RemoveControlsWithParameter(CXTPControls* controls, const std::wstring& key) {
    if (key.empty())
        return 0;
    return RemoveTagged(controls, key, 0);
}

} // namespace dvframe
