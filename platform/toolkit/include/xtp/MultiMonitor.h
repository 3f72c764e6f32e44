// The screens a window may lie on, and the rule that brings a saved rectangle back onto them.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPMultiMonitor {
public:
    // The whole area of the monitor that holds most of the window (the nearest one when it lies
    // on none; the primary one for no window).
    static CRect GetScreenArea(HWND hWnd);
    static CRect GetScreenArea(const CWnd* pWnd);
    // The same for a rectangle or a point in screen coordinates.
    static CRect GetScreenArea(const RECT& rc);
    static CRect GetScreenArea(POINT pt);
    // The work area (the screen less the task bar) of that monitor.
    static CRect GetWorkArea(HWND hWnd);
    static CRect GetWorkArea(const RECT& rc);
    static CRect GetWorkArea(POINT pt);

    // Where a window saved at `rc` goes now: onto the monitor that holds most of it, or the
    // nearest remaining one when its monitor has gone; never smaller than `minSize`, never
    // larger than that monitor's work area, and wholly inside it. Works for monitors to the
    // left of or above the primary one (negative coordinates).
    static CRect FitToWorkArea(const RECT& rc, SIZE minSize = SIZE{40, 40});
};

DV_EXPORTS_END
