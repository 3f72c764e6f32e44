// Until the frame's own layouts land: the least the application's relays need of a main frame.
#include "frame/CommandBars.h"
#include "frame/MainFrame.h"

void CMainFrame::SetRibbonMode(bool on) {
    if (CDVRibbonCommandBars* bars = GetRibbonCommandBars())
        bars->SetRibbonMode(on);
    RecalcLayout();
}

void CMainFrame::OnChangeDocumentState(CDvw32Doc* document) {
    (void)document;
}
