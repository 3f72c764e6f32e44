// The popups the ribbon opens beside its tabs: a collapsed tab's copies with their sources'
// values, and the split buttons that take over the item last chosen from them.
#include "ribbon/RibbonBar.h"
#include "ribbon/RibbonControls.h"

#include "DravikUI/PopupControls.h"
#include "XTToolkitPro.h"

namespace {

// The control of `controls` at `index` when it is the copy's source: a copy that the tool kit
// left out or moved shifts the positions, and the control found there then belongs to another
// command.
CXTPControl* SourceAt(CXTPControls* controls, int index, const CXTPControl* copy) {
    CXTPControl* source = controls != nullptr ? controls->GetAt(index) : nullptr;
    return source != nullptr && source->GetID() == copy->GetID() ? source : nullptr;
}

// The ribbon's control a copy of the popup stands for, found by position: the tab's group at
// the index of the copy's group, in it the control at the index of the top copy, then down the
// popups at the indexes of the path's further copies and of the copy itself.
CXTPControl* FindSource(CXTPRibbonTab* tab, CXTPRibbonTabPopupToolBar* popup, CXTPControl* copy,
                        const DVRibbonBar::ControlPath& path) {
    if (tab == nullptr)
        return nullptr;
    CXTPControl* top = path.empty() ? copy : path.front();
    CXTPRibbonGroups* copies = popup->GetGroups();
    int groupIndex = -1;
    for (int g = 0; g < copies->GetCount() && groupIndex < 0; ++g)
        if (copies->GetAt(g)->GetControls() == top->GetControls())
            groupIndex = g;
    CXTPRibbonGroup* group = tab->GetGroups()->GetAt(groupIndex);
    CXTPControl* source = group != nullptr ? SourceAt(group->GetControls(), top->GetIndex(), top) : nullptr;
    for (size_t i = 1; source != nullptr && i <= path.size(); ++i) {
        CXTPControl* step = i < path.size() ? path[i] : copy;
        source = SourceAt(DVRibbonBar::GetPopupControls(source), step->GetIndex(), step);
    }
    return source;
}

} // namespace

CXTPRibbonTabPopupToolBar* DVRibbonBar::CreateTabPopupToolBar(CXTPRibbonTab* tab) {
    auto* popup = new RibbonTabPopupToolBar(tab);
    ForEachControlWithPath(popup, [&](CXTPControl* copy, const ControlPath& path) {
        auto* exchange = dynamic_cast<IDataExchange*>(copy);
        if (exchange == nullptr)
            return;
        exchange->Initialize();
        if (const auto* source = dynamic_cast<const IDataExchange*>(FindSource(tab, popup, copy, path)))
            exchange->CopyValueFrom(*source);
    });
    return popup;
}

int DVRibbonBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
    const int handled = Dravik::UI::RibbonBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    if (nMessage == WM_ACTIVATE) {
        if (m_orsaPopup != nullptr && m_orsaPopup->IsVisible() && m_hWnd != nullptr) {
            const CRect place = m_orsaPopup->GetRect();
            InvalidateRect(&place, FALSE);
        }
    } else if (const auto* record = reinterpret_cast<const NMXTPCONTROL*>(lParam);
               nMessage == WM_XTP_CONTROLNOTIFY && record != nullptr && record->pControl != nullptr) {
        // Whatever the control tells: from it outwards, each split button that mirrors its items
        // takes it over; the first popup that does not ends the chain.
        CXTPControl* chosen = record->pControl;
        const ControlPath path = GetControlPath(chosen);
        for (auto popup = path.rbegin(); popup != path.rend(); ++popup) {
            auto* mirror = dynamic_cast<Dravik::UI::AutoPopup*>(*popup);
            if (mirror == nullptr || mirror->GetType() != xtpControlSplitButtonPopup ||
                !mirror->GetMirrorChosenItem())
                break;
            mirror->TakeOver(chosen);
        }
    }
    return handled;
}
