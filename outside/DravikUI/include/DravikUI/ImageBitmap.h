// A picture file (.png, .bmp) as a plain bitmap: its transparent parts take a given colour.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

namespace Dravik {

// Null when the file is missing or not a picture; the caller deletes the bitmap.
HBITMAP CreateImageBitmap(const std::wstring& path, COLORREF background);

} // namespace Dravik

DV_EXPORTS_END
