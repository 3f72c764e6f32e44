// Small operations on the tool kit's bars that the program's frame uses: bars that a person can
// fix in place, popups that open to the left, the ribbon's free controls, and the refresh of a
// set of bars after a layout change.
#pragma once

#include "DravikKernel/Settings.h"
#include "DravikUI/FixableToolBar.h"
#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBars.h"
#include "xtp/ToolBar.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

// A tool bar that can be fixed: fixed, it neither moves nor floats and shows no gripper.
class FixableToolBar : public GenericFixableToolBar<CXTPToolBar> {
    DECLARE_DYNCREATE(FixableToolBar)
};

// Whether a bar is fixable (of any tool-bar class made fixable, DravikUI/FixableToolBar.h).
bool IsFixable(CXTPCommandBar* bar);
bool IsFixed(CXTPCommandBar* bar);
// Fixes or frees a fixable bar; other bars are left as they are.
void Fix(CXTPCommandBar* bar, bool fixed);

// The controls of the bar whose popups open to the left (or to the right again).
void SetLeftPopups(CXTPCommandBar* bar, bool left);
// A control of the ribbon's right-aligned free area (control flag 1).
bool IsRibbonFreeControl(CXTPControl* control);
// Every visible bar of the set brings its controls up to date and lays itself out again.
void UpdateToolBars(CXTPCommandBars* bars);

// Where the settings put each frameless bar: the kernel's settings record itself, -1 off (and -2
// for the view bar), 2 with popups opening to the left; other values are the bars' own places.
using FramelessToolBarPositions = NativeSettings::Settings::FramelessBars;
FramelessToolBarPositions GetFramelessToolBarPositions();
// The settings' record changed.
void SetFramelessToolBarPositions(const FramelessToolBarPositions& positions);

} // namespace Dravik::UI

DV_EXPORTS_END
