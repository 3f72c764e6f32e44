// How a main frame arranges itself: screen modes, workbook and ribbon modes, the analysis
// ribbon, and what follows the active view.
#include "frame/MainFrame.h"

#include "DVDiagnostics/DVLog.h"

bool CMainFrame::SetScreenMode(int mode) {
    if (mode < 0 || mode > 2)
        return false;
    m_screenMode = mode;
    return true;
}

void CMainFrame::SetWorkbookMode(bool on, bool* previous) {
    if (previous != nullptr)
        *previous = m_workbook;
    m_workbook = on;
}

void CMainFrame::SetRibbonMode(bool on) {}

void CMainFrame::RecalcLayout(BOOL bNotify) {
    MdiMainFrame::RecalcLayout(bNotify);
}

void CMainFrame::SetActiveView(CView* view, bool force) {
    MdiMainFrame::SetActiveView(view, force);
}

bool CMainFrame::SetAnalysisMode(int mode, bool force) {
    if ((mode == analysisMode && !force) || (mode != 1 && mode != 2))
        return false;
    analysisMode = mode;
    return true;
}

void CMainFrame::UpdateViewDependentRibbonGroups() {}

void CMainFrame::ShowDocumentMessageBars() {}

void CMainFrame::OnChangeDocumentState(CDocument* document) {}

void CMainFrame::AttachPaneWindow(CXTPDockingPane* pane) {
    MdiMainFrame::AttachPaneWindow(pane);
}
