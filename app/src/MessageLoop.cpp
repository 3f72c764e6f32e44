// The message loop of the user-interface thread: the pump, message pre-translation and the
// idle work that keeps the panes, background tasks and a pending critical-error report up to
// date.
#include "app/CrashGuard.h"
#include "app/DravikApp.h"
#include "app/GenerateDumpFileAppContext.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/KernelRuntime.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikUI/PopupToolBar.h"
#include "docbrowser/DocumentsMenu.h"
#include "xtp/ReportControl.h"

#include <algorithm>
#include <utility>

namespace {

// A timer of the kernel's that fires often and must not restart the idle cycle.
constexpr UINT_PTR kQuietTimer = 113341;

constexpr UINT kKeyActionKind = 1;

bool isDown(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

UINT modifierMask() {
    return (isDown(VK_SHIFT) ? 4u : 0u) | (isDown(VK_MENU) ? 2u : 0u) | (isDown(VK_CONTROL) ? 1u : 0u);
}

} // namespace

// DravikApp -------------------------------------------------------------------------------

int DravikApp::Run() {
    GenerateDumpFileAppContext context;
    return dvapp::RunGuarded(&context, 0, [this] { return CDvw32App::Run(); });
}

BOOL DravikApp::PumpMessage() {
    struct Nesting {
        int& count;
        explicit Nesting(int& c) : count(c) { ++count; }
        ~Nesting() { --count; }
    } nesting(m_pumpNesting);
    if (IsStopRequested())
        StopForCriticalError();
    const BOOL result = CDvw32App::PumpMessage();
    if (IsStopRequested())
        StopForCriticalError();
    return result;
}

int DravikApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt) {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    ui.OnModalMessageBox(true);
    const int button = CDvw32App::DoMessageBox(lpszPrompt, nType, nIDPrompt);
    ui.OnModalMessageBox(false);
    return button;
}

// CDvw32App -------------------------------------------------------------------------------

BOOL CDvw32App::IsIdleMessage(MSG* pMsg) {
    if (!dvaux::MfcApplication::IsIdleMessage(pMsg))
        return FALSE;
    return pMsg->message == WM_TIMER && pMsg->wParam == kQuietTimer ? FALSE : TRUE;
}

BOOL CDvw32App::PreTranslateMessage(MSG* pMsg) {
    GenerateDumpFileAppContext context;
    return dvapp::RunGuarded(&context, FALSE, [&]() -> BOOL {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam != VK_SHIFT && pMsg->wParam != VK_CONTROL &&
            pMsg->wParam != VK_MENU && m_activeDocument != nullptr)
            m_activeDocument->PushAction(CDvw32Doc::Action{
                kKeyActionKind, static_cast<unsigned>(pMsg->wParam), {}, {}, modifierMask()});
        return dvaux::MfcApplication::PreTranslateMessage(pMsg);
    });
}

LRESULT CDvw32App::ProcessWndProcException(CException* e, const MSG* pMsg) {
    return dvaux::MfcApplication::ProcessWndProcException(e, pMsg);
}

BOOL CDvw32App::SaveAllModified() {
    if (HasApplicationState(kStateSafeToExit)) {
        // Only what existed when the flag was set was accounted for.
        bool holds = true;
        ForEachMainFrame([&](CMainFrame* frame) {
            if (std::find(m_safeToExitFrames.begin(), m_safeToExitFrames.end(), frame->m_hWnd) ==
                m_safeToExitFrames.end())
                holds = false;
        });
        for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
            if (std::find(m_safeToExitDocuments.begin(), m_safeToExitDocuments.end(), document) ==
                m_safeToExitDocuments.end())
                holds = false;
        if (holds)
            return TRUE;
        m_applicationState &= static_cast<std::uint8_t>(~kStateSafeToExit);
    }
    if (IMacroManager* macros = MacroManagerInstance(); macros != nullptr && !macros->CanExit())
        return FALSE;
    if (!dvaux::MfcApplication::SaveAllModified())
        return FALSE;
    return DocumentsMenu::SaveAllConfigurations(DocumentsMenu::GlobalCfgGroup()) ? TRUE : FALSE;
}

BOOL CDvw32App::OnIdle(LONG lCount) {
    if (lCount == 1) {
        dvaux::MfcApplication::OnIdle(1);
        return FALSE;
    }
    if (lCount > 1)
        return FALSE;

    dvaux::MfcApplication::OnIdle(0);
    dvrt::TaskManager::Idle();
    dvrt::StatusLineBkProcManager::Instance().Update();
    ShowPendingCriticalErrorBar();
    RunPaneIdleUpdates();
    AutoSaveDocuments();
    DV_NOT_BUILT_YET("OnIdle: the tutorial views' redraw");
    GlobalContainer::Instance().OnSessionIdle();
    CXTPReportControl::FreeRowBatchExtraData();
    UpdatePopupToolbar();
    DV_NOT_BUILT_YET("OnIdle: the configurations, PDM and technical-requirements windows");
    return TRUE;
}

void CDvw32App::RunPaneIdleUpdates() {
    // The properties, error, product-structure, model-elements, assembly-structure, quality,
    // background-tasks and layers windows and the model tree, in this order, once each has
    // its idle update.
    DV_NOT_BUILT_YET("OnIdle: the pane windows' idle updates");
}

void CDvw32App::UpdatePopupToolbar() {
    CDvw32Doc* document = std::exchange(m_pendingPopupToolbarDocument, nullptr);
    if (document == nullptr || document != m_activeDocument || document->IsInCommand())
        return;
    CView* view = document->GetActiveView();
    if (view == nullptr || view->m_hWnd == nullptr || ::GetFocus() != view->m_hWnd)
        return;
    // No selection is kept for a document yet, so there is nothing to show the bar for.
    Dravik::UI::PopupToolBar::HidePopupToolBar();
}
