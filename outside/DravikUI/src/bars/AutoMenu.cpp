#include "DravikUI/AutoMenu.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(Dravik::UI::AutoMenuToolBar, CXTPToolBar)

namespace Dravik::UI {
namespace {

AutoMenuController* g_controller = nullptr;

} // namespace

bool AutoMenuControllerBase::GetCmdHint(UINT id, std::wstring& hint) const {
    hint = GetButtonHint(id);
    return !hint.empty();
}

AutoMenuController::AutoMenuController() {
    if (g_controller == nullptr)
        g_controller = this;
}

AutoMenuController::~AutoMenuController() {
    for (AutoMenuToolBar* bar : bars_)
        bar->controller_ = nullptr;
    if (g_controller == this)
        g_controller = nullptr;
}

AutoMenuController* AutoMenuController::Instance() {
    return g_controller;
}

void AutoMenuController::SetButtons(std::vector<Button> buttons) {
    std::erase_if(buttons, [](const Button& b) { return !IsAutoMenuId(b.id); });
    buttons_ = std::move(buttons);
    for (AutoMenuToolBar* bar : bars_)
        bar->UpdateButtons();
}

const AutoMenuController::Button* AutoMenuController::find(UINT id) const {
    const auto found =
        std::find_if(buttons_.begin(), buttons_.end(), [&](const Button& b) { return b.id == id; });
    return found == buttons_.end() ? nullptr : &*found;
}

std::wstring AutoMenuController::GetButtonHint(UINT id) const {
    const Button* button = find(id);
    return button != nullptr ? button->hint : std::wstring();
}

BOOL AutoMenuController::OnCreateControl(XTP_COMMANDBARS_CREATECONTROL* request) {
    if (request == nullptr || !HasToolBar(request->pCommandBar))
        return FALSE;
    const Button* button = find(request->nID);
    if (button == nullptr)
        return FALSE;
    auto* control = new CXTPControlButton;
    control->SetCaption(button->caption.c_str());
    control->SetTooltip(button->hint.c_str());
    control->SetPrompt(button->hint.c_str());
    if (button->iconId != 0)
        control->SetIconId(button->iconId);
    request->pControl = control;
    return TRUE;
}

bool AutoMenuController::HasToolBar(const CXTPCommandBar* bar) const {
    return bar != nullptr && std::find(bars_.begin(), bars_.end(), bar) != bars_.end();
}

AutoMenuToolBar::AutoMenuToolBar() : controller_(AutoMenuController::Instance()) {
    if (controller_ != nullptr)
        controller_->bars_.push_back(this);
}

AutoMenuToolBar::~AutoMenuToolBar() {
    if (controller_ != nullptr)
        std::erase(controller_->bars_, this);
}

void AutoMenuToolBar::UpdateButtons() {
    CXTPControls* controls = GetControls();
    controls->RemoveAll();
    if (controller_ == nullptr)
        return;
    for (const AutoMenuController::Button& button : controller_->GetButtons()) {
        XTP_COMMANDBARS_CREATECONTROL request;
        request.nID = button.id;
        request.pCommandBar = this;
        request.bToolBar = TRUE;
        if (controller_->OnCreateControl(&request))
            controls->Add(request.pControl, static_cast<int>(button.id));
    }
    if (::IsWindow(GetSafeHwnd()))
        DelayLayout();
}

} // namespace Dravik::UI
