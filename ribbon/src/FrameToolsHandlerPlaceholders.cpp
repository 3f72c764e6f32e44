// The frame tools' customise sheet as the frame's command table reaches it, doing the least
// until its own code lands.
#include "ribbon/FrameToolsEngine.h"

#include "DVDiagnostics/NotBuiltYet.h"

void CFrameToolsEngine::ShowCustomizeDialog(int) {
    DV_NOT_BUILT_YET("the customise sheet of the frame tools");
}

void CFrameToolsEngine::ShowCustomizeDialog(int page, const CustomizeTarget&) {
    ShowCustomizeDialog(page);
}
