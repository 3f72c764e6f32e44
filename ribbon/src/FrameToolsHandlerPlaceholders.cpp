// The frame tools' command handlers as the frame's command table reaches them, doing the least
// until their own code lands.
#include "ribbon/FrameToolsEngine.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "afxwin.h"

void CFrameToolsEngine::OnShowRulers() {
    DV_NOT_BUILT_YET("the rulers of the active tab view are not switched");
}

void CFrameToolsEngine::OnTabs() {
    DV_NOT_BUILT_YET("the page tabs of the active tab view are not switched");
}

void CFrameToolsEngine::OnUpdateShowRulers(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CFrameToolsEngine::OnUpdateTabs(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CFrameToolsEngine::OnUserTools() {
    DV_NOT_BUILT_YET("the user-tools dialog");
}

void CFrameToolsEngine::OnUserCommand(UINT) {
    DV_NOT_BUILT_YET("user commands");
}

void CFrameToolsEngine::OnUpdateUserCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CFrameToolsEngine::ShowCustomizeDialog(int) {
    DV_NOT_BUILT_YET("the customise sheet of the frame tools");
}

void CFrameToolsEngine::UpdateEmbeddedHelpPosition() {}

LRESULT CFrameToolsEngine::OnDocumentPathMessage(WPARAM, LPARAM) {
    return 0;
}
