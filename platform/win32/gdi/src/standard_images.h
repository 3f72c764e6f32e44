// The pictures of the standard icons (by their IDI_ numbers) and cursors (by shape name).
#pragma once

#include "pal/gdi.h"
#include "win/types.h"

namespace pal::gdi {

// Empty for a number that names no standard icon.
Surface standardIconPicture(WORD id, int size);
// The arrow for a shape without a picture of its own; `hotspot` gets the point that points.
Surface standardCursorPicture(const char* shape, int size, POINT* hotspot);

} // namespace pal::gdi
