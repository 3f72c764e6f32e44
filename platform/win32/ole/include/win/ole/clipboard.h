// The clipboard, one for all programs of a sandbox.
//
// Blocks are global memory. SetClipboardData copies the block into the sandbox's clipboard
// store (so another program reads it after this one has gone) and keeps the handle for the
// clipboard until the clipboard is next emptied; GetClipboardData gives a block that stays
// valid until then too. Text lives as the platform keeps it: CF_UNICODETEXT in UTF-16 units,
// CF_TEXT in the ANSI code page (UTF-8 here), each ending with a terminator; either is offered
// as the other as well. CF_HDROP holds a DROPFILES block (win/ole/dragdrop.h). A block of these
// three formats that does not hold what its format says (no terminator within its size, a file
// list that runs past the end) is refused with ERROR_INVALID_DATA, on the way in and on the way
// out. Registered formats share one number per name across the sandbox, 0xC000 to 0xFFFF.
#pragma once

#include "pal/visibility.h"
#include "win/global_memory.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_HDROP = 15;
constexpr UINT CF_LOCALE = 16;

constexpr UINT WM_RENDERFORMAT = 0x0305;
constexpr UINT WM_RENDERALLFORMATS = 0x0306;
constexpr UINT WM_DESTROYCLIPBOARD = 0x0307;
constexpr UINT WM_CLIPBOARDUPDATE = 0x031D;

constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;
// GetClipboardData of a format the clipboard does not offer.
constexpr DWORD ERROR_NOT_FOUND = 1168;

// One window (or the thread, for a null window) of one program holds the clipboard open at a
// time; another program's OpenClipboard fails with ERROR_ACCESS_DENIED until it is closed (or
// its program has ended).
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Clears the clipboard and makes the opening window its owner; the previous owner, when it is
// a window of this program, gets WM_DESTROYCLIPBOARD.
BOOL EmptyClipboard();
// The handle back on success. Delayed rendering (a null block) is not provided
// (ERROR_INVALID_PARAMETER).
HANDLE SetClipboardData(UINT format, HANDLE memory);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// The formats in the order they were set, then those offered by conversion; 0 after the last.
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
UINT RegisterClipboardFormatW(LPCWSTR name);
int GetClipboardFormatNameW(UINT format, LPWSTR name, int size);
DWORD GetClipboardSequenceNumber();
// Windows of this program only; null when the owner or opener is in another program.
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

DV_EXPORTS_END
