// Painting beyond BeginPaint: update regions, printing a window into a DC, and layered
// windows that bring their own pixels.
#pragma once

#include "pal/visibility.h"

#include "win/gdi.h"
#include "win/user/window.h"

DV_EXPORTS_BEGIN

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN region);
// Copies the update region into `region`; answers its kind, or ERROR.
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);

// WM_PRINT and WM_PRINTCLIENT flags.
constexpr LPARAM PRF_CHECKVISIBLE = 0x00000001;
constexpr LPARAM PRF_NONCLIENT = 0x00000002;
constexpr LPARAM PRF_CLIENT = 0x00000004;
constexpr LPARAM PRF_ERASEBKGND = 0x00000008;
constexpr LPARAM PRF_CHILDREN = 0x00000010;
constexpr LPARAM PRF_OWNED = 0x00000020;

// Copies the window as it looks, with its children, to `dc` at 0,0 (its client area only
// with PW_CLIENTONLY). Paints that are due are done first.
constexpr UINT PW_CLIENTONLY = 0x00000001;
BOOL PrintWindow(HWND hwnd, HDC dc, UINT flags);

constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;
// A layered top-level window takes its pixels (with their alpha under ULW_ALPHA) from `source`.
BOOL UpdateLayeredWindow(HWND hwnd, HDC screen, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags);

DV_EXPORTS_END
