// Small helpers over command bars that every bar of the UI library and the program use.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"
#include "xtp/CommandBar.h"

DV_EXPORTS_BEGIN

namespace Dravik::UI {

// Walks that change many controls of a bar lock its redrawing first and unlock it after: the
// bar is redrawn once, at the last unlock, however many controls changed.
void LockRedraw(CXTPCommandBar* bar);
void UnlockRedraw(CXTPCommandBar* bar);
bool IsRedrawLocked(const CXTPCommandBar* bar);

// The small triangle in the bottom right corner of a control that opens a popup, in the
// caption colour of the bar's theme (disabled colour for a disabled control).
void DrawPopupTriangle(CDC* pDC, CXTPControl* control);

} // namespace Dravik::UI

DV_EXPORTS_END
