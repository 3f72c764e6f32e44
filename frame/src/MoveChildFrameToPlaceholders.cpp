// Moving a document's window between main frames is not built yet: the request is only logged.
#include "frame/MainFrame.h"

#include "DVDiagnostics/DVLog.h"

void CMainFrame::MoveChildFrameTo(CMainFrame* target, CMDIChildWnd* child) {
    DVLog_Write(DVLogProgress, "Moving a document window to main window 0x%p is not supported yet",
                static_cast<void*>(target));
}
