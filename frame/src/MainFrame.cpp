#include "frame/MainFrame.h"

#include "DravikKernel/UIModuleProxy.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

// A frame that is gone is no longer one of the UI module's main frames.
void CMainFrame::PostNcDestroy() {
    UIModuleProxy& ui = UIModuleProxy::Instance();
    ui.RemoveMainFrame(this);
    if (ui.GetMainWindow() == this)
        ui.SetMainWindow(nullptr);
    CFrameWnd::PostNcDestroy();
}
