// Placeholder until the frame's handling of dropped library data lands: the frame's drop target
// is registered, and answers that it takes nothing.
#include "frame/MainFrame.h"

DROPEFFECT CMainFrame::DragDropOver(CWnd*, COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}

BOOL CMainFrame::DragDropDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) {
    return FALSE;
}
