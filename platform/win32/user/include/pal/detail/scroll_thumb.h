// The frame draws a window's own scroll bars and the default procedure takes presses on them;
// where their thumbs lie, and what a press scrolls, is known to the layer that keeps their range
// and position, which hands over these functions.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace pal::detail {

// The thumb of a window's bar within a track of `track` pixels: its start from the track's
// beginning and its length; false when the bar has nothing to scroll.
using ScrollThumbSource = bool (*)(HWND hwnd, bool vertical, int track, int* start, int* length);
void setScrollThumbSource(ScrollThumbSource source);

// A press on a window's own scroll bar and, while the bar is held, the pointer's moves and its
// release (WM_NCLBUTTONDOWN, WM_NCMOUSEMOVE, WM_NCLBUTTONUP; screen coordinates): the layer that
// keeps the bars tells the window what to scroll (WM_HSCROLL / WM_VSCROLL). A press on a bar holds
// it: until the left button goes up, the pointer's moves and the release reach that window as
// WM_NCMOUSEMOVE and WM_NCLBUTTONUP on the bar, wherever the pointer is.
using ScrollMouseHandler = void (*)(HWND hwnd, bool vertical, UINT message, POINT screen);
void setScrollClickHandler(ScrollMouseHandler handler);
void clickWindowScrollBar(HWND hwnd, bool vertical, UINT message, POINT screen);

} // namespace pal::detail

DV_EXPORTS_END
