// How each control looks. Every control paints through these, in its WM_PAINT.
#pragma once

#include "controls.h"

namespace pal::controls {

void paintButton(HDC dc, HWND hwnd, DWORD type, LONG_PTR state);
void paintEdit(HDC dc, HWND hwnd, const std::wstring& text, size_t selFrom, size_t selTo, bool focused);
void paintList(HDC dc, HWND hwnd, const ListState& state, bool focused);
void paintStatic(HDC dc, HWND hwnd);
// A dialog's face, behind its controls.
void paintDialog(HDC dc, HWND hwnd);
// A message box's icon (MB_ICON* kind) in a 32x32 square at `at`.
void paintBoxIcon(HDC dc, UINT kind, POINT at);

} // namespace pal::controls
