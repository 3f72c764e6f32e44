// The frame's commands that the frame tools answer: the active tab view's rulers and page tabs,
// the user commands and their dialog, and the paths a document sends the frame.
#include "ribbon/FrameToolsApplication.h"
#include "ribbon/FrameToolsEngine.h"
#include "ribbon/UserCommands.h"
#include "ribbon/UserToolsPage.h"

#include "DravikKernel/ModuleProxies.h"
#include "DravikUI/GenericMainFrame.h"
#include "DravikUI/TabView.h"

#include <algorithm>
#include <array>

namespace {

// What a document-path message does with its path, by its code.
constexpr std::array<WPARAM, 3> kViewCodes = {1211, 1214, 1216};
constexpr std::array<WPARAM, 3> kAnnotationCodes = {1212, 1609, 1610};

bool holds(const auto& codes, WPARAM code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

CView* activeViewOf(Dravik::UI::GenericMainFrame* frame) {
    if (frame == nullptr)
        return nullptr;
    if (CView* view = frame->GetActiveDravikView())
        return view;
    CFrameWnd* active = frame->GetActiveFrame();
    return active != nullptr && active != frame ? active->GetActiveView() : nullptr;
}

CDVUserCommands* userCommands() {
    FrameToolsApplication* application = FrameToolsApplication::Instance();
    return application != nullptr ? application->GetUserCommands() : nullptr;
}

} // namespace

CDVTabView* CFrameToolsEngine::GetActiveTabView() const {
    // The active view is a page of its tab view, or the tab view itself.
    CView* view = activeViewOf(m_mainFrame);
    for (CWnd* window = view; window != nullptr && window != m_mainFrame; window = window->GetParent())
        if (auto* tabView = dynamic_cast<CDVTabView*>(window))
            return tabView;
    return nullptr;
}

void CFrameToolsEngine::OnShowRulers() {
    CDVTabView* view = GetActiveTabView();
    if (view == nullptr)
        return;
    view->ShowRulers(!view->AreRulersShown());
    // The split bar stands over the pages, which moved.
    m_mainFrame->UpdateViewDependentToolBars();
}

void CFrameToolsEngine::OnUpdateShowRulers(CCmdUI* ui) {
    CDVTabView* view = GetActiveTabView();
    ui->Enable(view != nullptr);
    ui->SetCheck(view != nullptr && view->AreRulersShown());
}

void CFrameToolsEngine::OnTabs() {
    if (CDVTabView* view = GetActiveTabView())
        view->ShowPageTabs(!view->ArePageTabsShown());
}

void CFrameToolsEngine::OnUpdateTabs(CCmdUI* ui) {
    CDVTabView* view = GetActiveTabView();
    ui->Enable(view != nullptr);
    ui->SetCheck(view != nullptr && view->ArePageTabsShown());
}

void CFrameToolsEngine::OnUserCommand(UINT id) {
    if (CDVUserCommands* commands = userCommands())
        if (CDVUserCommand* command = commands->Find(id))
            command->Execute();
}

void CFrameToolsEngine::OnUpdateUserCommand(CCmdUI* ui) {
    CDVUserCommands* commands = userCommands();
    ui->Enable(commands != nullptr && commands->Find(ui->m_nID) != nullptr);
}

void CFrameToolsEngine::OnUserTools() {
    CDVUserToolsPage dialog(userCommands(), m_mainFrame, kUserToolsHelpId);
    dialog.DoModal();
}

LRESULT CFrameToolsEngine::OnDocumentPathMessage(WPARAM code, LPARAM path) {
    const auto* text = reinterpret_cast<const wchar_t*>(path);
    if (holds(kViewCodes, code)) {
        if (CView* view = activeViewOf(m_mainFrame); view != nullptr && ::IsWindow(view->m_hWnd))
            return view->SendMessage(kDocumentPathMessage, code, path);
    } else if (holds(kAnnotationCodes, code) && text != nullptr) {
        if (AnnotateModuleProxy* annotate = AnnotateModuleProxy::Instance())
            annotate->OpenFile(text, static_cast<int>(code), 0, nullptr);
    }
    return 0;
}
