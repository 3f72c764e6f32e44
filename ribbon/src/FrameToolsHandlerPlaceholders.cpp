// The frame tools' customise sheet as the frame's command table reaches it, doing the least
// until its own code lands: the request it would open with is recorded in the trace.
#include "ribbon/FrameToolsEngine.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DVDiagnostics/Trace.h"

#include <string>

void CFrameToolsEngine::ShowCustomizeDialog(int page) {
    ShowCustomizeDialog(page, CustomizeTarget{});
}

void CFrameToolsEngine::ShowCustomizeDialog(int page, const CustomizeTarget& target) {
    dvtrace::record("FrameTools", "ShowCustomizeDialog(" + std::to_string(page) + "," +
                                      std::to_string(target.kind) + "," + (target.item ? "item" : "none") +
                                      "," + (target.flag ? "true" : "false") + ")");
    DV_NOT_BUILT_YET("the customise sheet of the frame tools");
}
