// Shows a person where a command lives: the first visible control with its id in the frame's
// ribbon, tabbed tool bar, menu bar or other tool bars, with every popup on the way opened, its
// tab selected, the control highlighted and the pointer on its centre. Quick access wins over a
// tab; a command found nowhere changes nothing.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CMainFrame;

// True when the control was found and shown.
bool FindInToolBars(CMainFrame* frame, int id);

DV_EXPORTS_END
