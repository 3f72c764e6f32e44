// The pane-command and document-moving handlers of the frame's command table, doing the least
// until their own code lands: the pane of a command is selected; moving a document window is
// only logged.
#include "frame/MainFrame.h"

#include "DVDiagnostics/DVLog.h"
#include "XTToolkitPro.h"

void CMainFrame::SelectPaneForCommand(UINT id) {
    if (CXTPDockingPane* pane = FindPaneByCommand(id))
        pane->Select();
}

void CMainFrame::MoveChildFrameTo(CMainFrame* target, CMDIChildWnd* child) {
    DVLog_Write(DVLogProgress, "MoveChildFrameTo: window %p to main frame %p is not moved yet",
                static_cast<void*>(child), static_cast<void*>(target));
}
