// The lParam of DDE messages, which carries two values for some messages and a handle for
// WM_DDE_EXECUTE, and the reason a window gives for holding up the end of a session.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

// WM_DDE_ACK, WM_DDE_ADVISE, WM_DDE_DATA and WM_DDE_POKE carry both values in a block of
// their own; WM_DDE_EXECUTE carries the command handle (`hi`) as it is; the others carry
// both values in the two halves of the lParam.
LPARAM PackDDElParam(UINT msg, UINT_PTR lo, UINT_PTR hi);
// False (and zeros) for a packed message whose lParam is no block of packed values.
BOOL UnpackDDElParam(UINT msg, LPARAM lParam, UINT_PTR* lo, UINT_PTR* hi);
BOOL FreeDDElParam(UINT msg, LPARAM lParam);
// Frees the block of `msgIn` when it has one and packs the new values for `msgOut`.
LPARAM ReuseDDElParam(LPARAM lParam, UINT msgIn, UINT msgOut, UINT_PTR lo, UINT_PTR hi);

// One reason per top-level window; false for a handle that is no window.
BOOL ShutdownBlockReasonCreate(HWND hWnd, LPCWSTR reason);
BOOL ShutdownBlockReasonDestroy(HWND hWnd);
// The reason in `buffer` of `*length` characters; with a null buffer `*length` gets the size
// needed (terminator included). False when the window gave none or the buffer is too small.
BOOL ShutdownBlockReasonQuery(HWND hWnd, LPWSTR buffer, DWORD* length);

DV_EXPORTS_END
