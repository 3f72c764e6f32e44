// The program's listeners of the frame's routing.
#include "frame/MainFrameRouting.h"

#include "DravikKernel/ApplicationManager.h"
#include "DravikKernel/Commands.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/ModuleProxies.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/AutoMenu.h"
#include "DravikUI/Windows.h"
#include "XTToolkitPro.h"
#include "ribbon/FindCommandWnd.h"

namespace {

MainFrameRouting*& installed() {
    static MainFrameRouting* routing = nullptr;
    return routing;
}

} // namespace

MainFrameRouting& MainFrameRouting::Instance() {
    static MainFrameRouting program;
    MainFrameRouting* routing = installed();
    return routing != nullptr ? *routing : program;
}

MainFrameRouting* MainFrameRouting::Install(MainFrameRouting* routing) {
    MainFrameRouting* previous = installed();
    installed() = routing;
    return previous;
}

void MainFrameRouting::PushCommandAction(CDvw32Doc& document, UINT id, const std::wstring& hint) {
    document.PushAction(Dravik::DravikDocument2::Action{0, id, L"", hint, 0});
}

std::wstring MainFrameRouting::GetAutoMenuHint(UINT id) {
    const Dravik::UI::AutoMenuController* controller = Dravik::UI::AutoMenuController::Instance();
    return controller != nullptr ? controller->GetButtonHint(id) : std::wstring();
}

bool MainFrameRouting::OfferToModuleProxy(UINT id, CDvw32Doc* document) {
    LTModuleProxy* proxy = LTModuleProxy::Instance();
    return proxy != nullptr && proxy->OnCommand(id, document);
}

bool MainFrameRouting::OfferToKernelCommands(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo,
                                             CDvw32Doc* document) {
    return DVCommandContainer::Instance().OnCmdMsg(id, code, extra, handlerInfo, document);
}

bool MainFrameRouting::OfferToAddOns(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (const auto& addOn : CDVApplicationManager::Instance())
        if (addOn->IsLoaded() && addOn->OnWndMsgAddon(message, wParam, lParam, result))
            return true;
    return false;
}

bool MainFrameRouting::OfferToBars(Bars, CXTPCommandBars& bars, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result) {
    return bars.OnFrameWndMsg(message, wParam, lParam, result) != FALSE;
}

bool MainFrameRouting::PreTranslateForBars(Bars, CXTPCommandBars& bars, MSG& msg) {
    return bars.PreTranslateFrameMessage(&msg) != FALSE;
}

bool MainFrameRouting::ShowFindCommandToolTipHelp(CWnd* findCommandWindow) {
    auto* pane = dynamic_cast<CFindCommandWnd*>(findCommandWindow);
    return pane != nullptr && pane->ShowToolTipHelp();
}

bool MainFrameRouting::OfferWheel(HWND, WPARAM, LPARAM) {
    // No window of the program takes the wheel through the frame yet.
    return false;
}

UINT MainFrameRouting::GetSpaceMouseMessage() {
    // Without a space-mouse device manager there is no such message.
    return 0;
}

bool MainFrameRouting::IsAltMode() {
    return UIModuleProxy::Instance().IsAltMode();
}

void MainFrameRouting::SetAltMode(int mode) {
    UIModuleProxy::Instance().SetAltMode(mode);
}

bool MainFrameRouting::SuppressAccelerators(CView*) {
    // A running command of the kernel's keeps the keys once the kernel says so; it does not yet.
    return false;
}

HWND MainFrameRouting::GetInputWindow() {
    return nullptr;
}

bool MainFrameRouting::HasVisibleManipulatorEdit(CMainFrame&) {
    return false;
}

bool MainFrameRouting::IsEditBox(HWND window) {
    return Dravik::UI::IsEditBox(window);
}

void MainFrameRouting::ResourceNotAvailable() {
    UIModuleProxy::Instance().OnResourceNotAvailable();
}
