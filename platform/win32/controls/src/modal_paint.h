// How this library's own dialogs look beyond their controls: the face and the message box icons.
#pragma once

#include "controls.h"

namespace pal::controls {

// A dialog's face, behind its controls.
void paintDialog(HDC dc, HWND hwnd);
// A message box's icon (MB_ICON* kind) in a 32x32 square at `at`.
void paintBoxIcon(HDC dc, UINT kind, POINT at);

} // namespace pal::controls
