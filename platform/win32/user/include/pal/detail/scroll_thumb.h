// The frame draws a window's own scroll bars; where their thumbs lie is known to the layer that
// keeps their range and position, which hands over this function.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

namespace pal::detail {

// The thumb of a window's bar within a track of `track` pixels: its start from the track's
// beginning and its length; false when the bar has nothing to scroll.
using ScrollThumbSource = bool (*)(HWND hwnd, bool vertical, int track, int* start, int* length);
void setScrollThumbSource(ScrollThumbSource source);

} // namespace pal::detail

DV_EXPORTS_END
