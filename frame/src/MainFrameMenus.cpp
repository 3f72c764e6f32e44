// Add-on applications' menu items and popups in a frame's main menu bar and the ribbon's help
// popup.
#include "frame/ApiSamplesPopup.h"
#include "frame/MainFrame.h"
#include "frame/MenuPlacement.h"

#include "XTToolkitPro.h"

#include <algorithm>

using namespace dvframe;

namespace {

bool ContainsControl(CXTPControls* controls, const CXTPControl* wanted, int depth = 0) {
    if (controls == nullptr || depth > 32)
        return false;
    for (int i = 0; i < controls->GetCount(); ++i) {
        CXTPControl* control = controls->GetAt(i);
        if (control == wanted)
            return true;
        if (auto* popup = DYNAMIC_DOWNCAST(CXTPControlPopup, control);
            popup != nullptr && popup->GetCommandBar() != nullptr &&
            ContainsControl(popup->GetCommandBar()->GetControls(), wanted, depth + 1))
            return true;
    }
    return false;
}

// The place of an item or popup in the main menu bar; kind 6 only for items (a popup of that
// kind goes to the top level).
std::optional<MenuPlace> FindMenuPlace(CXTPMenuBar* menuBar, int anchor, std::uint32_t& placement,
                                       bool item) {
    CXTPControls* top = menuBar->GetControls();
    const std::uint32_t kind = PlacementKind(placement);
    if (kind >= PlaceBeforeAnchor && kind <= PlaceLastBesideAnchor)
        return FindAnchorPlace(top, anchor, placement);
    if (kind == PlaceInApiSamples) {
        CXTPCommandBar* samples = FindApiSamplesPopup(top, menuBar, true);
        if (samples == nullptr)
            return std::nullopt;
        return MenuPlace{samples->GetControls(), ClampPosition(samples->GetControls(), anchor)};
    }
    if (kind == PlaceInHelpPopup && item)
        return FindHelpPlace(top);
    return MenuPlace{top, ClampPosition(top, anchor)};
}

} // namespace

bool CMainFrame::InsertUserMenuItem(int id, const std::wstring& text, int anchor, std::uint32_t placement) {
    CXTPMenuBar* menuBar = GetMenuBar();
    if (menuBar == nullptr)
        return false;
    std::optional<MenuPlace> place = FindMenuPlace(menuBar, anchor, placement, true);
    if (!place || AddMenuButton(*place, id, text, placement) == nullptr)
        return false;
    if (PlacementKind(placement) == PlaceInHelpPopup) {
        RibbonHelpItem item{id, text, placement, nullptr};
        if (CXTPRibbonBar* ribbon = GetRibbonBar())
            if (auto help = FindHelpPlace(ribbon->GetControls(), true))
                item.control = AddMenuButton(*help, id, text, placement);
        if (item.control != nullptr)
            m_ribbonHelpItems.push_back(std::move(item));
    }
    return true;
}

bool CMainFrame::InsertUserPopupMenu(const std::wstring& caption, HMENU menu, int anchor,
                                     std::uint32_t placement, const std::wstring& key) {
    CXTPMenuBar* menuBar = GetMenuBar();
    if (menu == nullptr || menuBar == nullptr)
        return false;
    if (!key.empty())
        RemoveUserPopupMenu(key);
    std::optional<MenuPlace> place = FindMenuPlace(menuBar, anchor, placement, false);
    if (!place)
        return false;
    auto* popup = CXTPControlPopup::CreateControlPopup(xtpControlPopup);
    popup->SetCaption(caption.c_str());
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(GetCommandBars());
    bar->GetControls()->LoadMenu(CMenu::FromHandle(menu));
    popup->SetCommandBar(bar);
    bar->InternalRelease();
    if (AddMenuControl(*place, popup, key, placement) == nullptr) {
        popup->InternalRelease();
        return false;
    }
    return true;
}

bool CMainFrame::RemoveUserPopupMenu(const std::wstring& key) {
    CXTPMenuBar* menuBar = GetMenuBar();
    if (key.empty() || menuBar == nullptr)
        return false;
    RemoveControlsWithParameter(menuBar->GetControls(), key);
    return true;
}

void CMainFrame::TakeOutRibbonHelpItems() {
    // Exactly the controls add-ons inserted leave: whatever else the popup holds, before or
    // after them, belongs to the definition.
    CXTPRibbonBar* ribbon = GetRibbonBar();
    for (RibbonHelpItem& item : m_ribbonHelpItems) {
        if (ribbon != nullptr && item.control != nullptr &&
            ContainsControl(ribbon->GetControls(), item.control))
            if (CXTPControls* holder = item.control->GetControls())
                holder->Remove(item.control);
        item.control = nullptr;
    }
}

void CMainFrame::PutBackRibbonHelpItems() {
    CXTPRibbonBar* ribbon = GetRibbonBar();
    for (RibbonHelpItem& item : m_ribbonHelpItems)
        if (ribbon != nullptr)
            if (auto help = FindHelpPlace(ribbon->GetControls(), true))
                item.control = AddMenuButton(*help, item.id, item.text, item.placement);
    std::erase_if(m_ribbonHelpItems, [](const RibbonHelpItem& item) { return item.control == nullptr; });
}
