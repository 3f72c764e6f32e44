#include "DravikUI/PopupToolBar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(Dravik::UI::PopupToolBar, CXTPToolBar)

namespace Dravik::UI {
namespace {

// Every pop-up tool bar alive, for HidePopupToolBar; user-interface thread only.
std::vector<PopupToolBar*>& bars() {
    static auto* all = new std::vector<PopupToolBar*>;
    return *all;
}

} // namespace

PopupToolBar::PopupToolBar() {
    bars().push_back(this);
    EnableDocking(xtpFlagFloating);
    ShowGripper(FALSE);
    SetContextMenuPresent(FALSE);
}

PopupToolBar::~PopupToolBar() {
    std::erase(bars(), this);
}

void PopupToolBar::ShowButtonSet(const ButtonSet& set, CPoint at) {
    set_ = set;
    CXTPControls* controls = GetControls();
    controls->RemoveAll();
    for (const Button& button : set.buttons)
        if (button.id > 0)
            controls->Add(xtpControlButton, button.id);
    SetFloatingPosition(at);
    SetPosition(xtpBarFloating);
    SetVisible(!set.buttons.empty());
}

CString PopupToolBar::GetCommandCaption(int id) const {
    const CXTPControl* control = GetControls()->FindControl(id);
    return control != nullptr ? control->GetCaption() : CString();
}

void PopupToolBar::HidePopupToolBar() {
    for (PopupToolBar* bar : bars())
        if (bar->IsVisible())
            bar->SetVisible(FALSE);
}

} // namespace Dravik::UI
