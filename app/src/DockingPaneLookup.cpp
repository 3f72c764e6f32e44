// Which main frame shows a pane window, and the configuration's switch of the pane windows.
#include "app/Dvw32App.h"
#include "app/StartupIni.h"

#include "XTToolkitPro.h"

CXTPDockingPane* CDvw32App::FindDockingPane(int paneId, CMainFrame** frame, CWnd** window) {
    if (frame != nullptr)
        *frame = nullptr;
    CWnd* found = GetDockingPaneWindow(paneId, true);
    if (window != nullptr)
        *window = found;
    if (found == nullptr)
        return nullptr;
    return CMainFrame::FindPaneShowing(found, frame);
}

void CDvw32App::EnableDockingPaneWindows(const dvapp::StartupIni& ini) {
    const dvio::IniFile::Section* settings = ini.Effective().FindSection(L"SETTINGS");
    m_paneWindows->Configure(settings != nullptr ? settings->find(L"DockingPanes") : nullptr);
}
