// A window of its own command bars inside a pane or dialog (a browser list with its tool bar,
// a preview with its buttons). Its bars look like the main frames': the options a person sets
// for the program (icon sizes, large icons, tips, full menus) are copied from the active main
// frame whenever they may have changed.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"
#include "xtp/FrameWnd.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

class CommandBarsSiteBase : public CXTPCommandBarsSiteBase<CWnd> {
public:
    // Copies the active main frame's options onto `bars` and lays `site` out again. Nothing
    // without an active main frame with bars, or when `bars` are the main frame's own.
    static void UpdateCommandBarsOptions(CWnd* site, CXTPCommandBars* bars);
    void UpdateCommandBarsOptions() { UpdateCommandBarsOptions(this, GetCommandBars()); }
};

} // namespace Dravik::UI

DV_EXPORTS_END
