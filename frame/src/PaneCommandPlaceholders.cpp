// The pane-command handler of the frame's command table, doing the least until its own code
// lands: the pane of a command is selected.
#include "frame/MainFrame.h"

#include "XTToolkitPro.h"

void CMainFrame::SelectPaneForCommand(UINT id) {
    if (CXTPDockingPane* pane = FindPaneByCommand(id))
        pane->Select();
}
