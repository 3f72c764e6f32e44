// Global memory blocks: what the clipboard, data objects, dropped-file lists and DDE pass
// between parts of a program (and, copied, between programs).
//
// A fixed block's handle is its address. A movable block's handle is a separate value that
// GlobalLock turns into the address, counting locks. Every handle is checked against the
// process's table, so a stale or made-up handle fails (ERROR_INVALID_HANDLE) instead of
// being read.
#pragma once

#include "pal/visibility.h"
#include "win/error.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GMEM_LOCKCOUNT = 0x00FF;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;

constexpr DWORD ERROR_NOT_LOCKED = 158;

// Null (with ERROR_NOT_ENOUGH_MEMORY) when the block cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The address of the block; each call on a movable block adds one lock.
LPVOID GlobalLock(HGLOBAL memory);
// Takes one lock away: TRUE while locks remain; FALSE with NO_ERROR when the last one went,
// FALSE with ERROR_NOT_LOCKED when there was none.
BOOL GlobalUnlock(HGLOBAL memory);
// The size asked for at allocation (or reallocation); 0 for a bad handle.
SIZE_T GlobalSize(HGLOBAL memory);
// Null on success, the handle back on failure.
HGLOBAL GlobalFree(HGLOBAL memory);
// A new size (growth zero-filled with GMEM_ZEROINIT). A movable block keeps its handle (and
// cannot move while locked); a fixed block moves only when GMEM_MOVEABLE is given and cannot
// grow otherwise. Changing a block's kind (GMEM_MODIFY) is not provided (ERROR_INVALID_PARAMETER).
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
// The lock count in the low byte, GMEM_INVALID_HANDLE for a bad handle.
UINT GlobalFlags(HGLOBAL memory);
// The handle of a block from its address.
HGLOBAL GlobalHandle(LPCVOID address);

DV_EXPORTS_END
