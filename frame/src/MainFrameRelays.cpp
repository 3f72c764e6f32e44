#include "frame/MainFrame.h"

void CMainFrame::UpdateViewDependentToolBars() {
    Dravik::UI::MdiMainFrame::UpdateViewDependentToolBars();
}

void CMainFrame::SetTheme(int theme) {
    SetThemeInternal(theme);
}

void CMainFrame::OnChangeOrsaConnectionState(bool connected) {
    (void)connected;
}
