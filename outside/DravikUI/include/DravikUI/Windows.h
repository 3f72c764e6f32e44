// Small window helpers of the UI library: keeping windows on a screen that exists, telling edit
// boxes, the hidden parent of pane windows and the walk over the main frames.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <memory>

DV_EXPORTS_BEGIN

namespace Dravik::UI {

// Moves a rectangle onto the monitor it overlaps most, or onto the nearest one when it lies on
// none (a monitor that was unplugged), so that it lies wholly inside that monitor's work area
// (its whole area when `wholeMonitor` is set); a rectangle larger than the area is cut to it.
// True when the rectangle changed.
bool EnsureIsVisible(RECT& rect, bool wholeMonitor = false);
// The same for a window: a top-level window is moved in screen coordinates, a child window
// keeps its place in its parent unless its screen rectangle leaves every monitor. True when
// the window moved.
bool EnsureIsVisible(CWnd* window, bool wholeMonitor = false);

// Whether keys typed into the window are text: an edit control, a rich edit control, or the
// edit part of a combo box.
bool IsEditBox(HWND window);

// The hidden window that pane windows are children of until a docking pane adopts them. Made
// on the first call that asks for it (`create`), destroyed when the last holder lets go; null
// when it does not exist and `create` is false.
std::shared_ptr<CWnd> GetDockingPaneDummyWindow(bool create);

// The main frames of the UI module in its order; null after the last. A frame that is no
// longer listed ends the walk.
CFrameWnd* GetFirstMainFrame();
CFrameWnd* GetNextMainFrame(CFrameWnd* frame);

} // namespace Dravik::UI

DV_EXPORTS_END
