// The least of the frame's PDM panes following the connection: closed on a disconnection. The
// panes' windows are made by the PDM pane slots, which are not built yet, so a connection opens
// nothing here.
#include "ribbon/FrameToolsEngine.h"

#include "DravikUI/GenericMainFrame.h"
#include "XTToolkitPro.h"

#include <array>

void CFrameToolsEngine::ShowOrsaWindows(bool show) {
    static constexpr std::array<int, 8> kPdmPanes{1012, 1019, 1013, 1014, 1015, 1027, 1033, 1040};
    Dravik::UI::GenericMainFrame* frame = GetMainFrame();
    Dravik::UI::DockingPaneManager* panes = frame != nullptr ? frame->GetDockingPaneManager() : nullptr;
    if (show || panes == nullptr)
        return;
    for (int id : kPdmPanes)
        if (CXTPDockingPane* pane = panes->FindPane(id))
            panes->ClosePane(pane);
}
