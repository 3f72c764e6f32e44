// Icons and cursors (images with alpha and a hot spot), loading images from .ico, .bmp and
// .png files, copying them at another size, and the cursor shown on the display.
#pragma once

#include "pal/visibility.h"
#include "win/gdi/objects.h"

DV_EXPORTS_BEGIN

#ifndef MAKEINTRESOURCEW
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#endif

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};
using PICONINFO = ICONINFO*;

// Image types and load flags.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
constexpr UINT LR_MONOCHROME = 0x00000001;
constexpr UINT LR_COPYRETURNORG = 0x00000004;
constexpr UINT LR_COPYDELETEORG = 0x00000008;
constexpr UINT LR_LOADFROMFILE = 0x00000010;
constexpr UINT LR_LOADTRANSPARENT = 0x00000020;
constexpr UINT LR_DEFAULTSIZE = 0x00000040;
constexpr UINT LR_VGACOLOR = 0x00000080;
constexpr UINT LR_LOADMAP3DCOLORS = 0x00001000;
constexpr UINT LR_CREATEDIBSECTION = 0x00002000;
constexpr UINT LR_COPYFROMRESOURCE = 0x00004000;
constexpr UINT LR_SHARED = 0x00008000;

// DrawIconEx flags.
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
constexpr UINT DI_NOMIRROR = 0x0010;

// The standard cursors and icons.
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_SIZE MAKEINTRESOURCEW(32640)
#define IDC_ICON MAKEINTRESOURCEW(32641)
#define IDC_SIZENWSE MAKEINTRESOURCEW(32642)
#define IDC_SIZENESW MAKEINTRESOURCEW(32643)
#define IDC_SIZEWE MAKEINTRESOURCEW(32644)
#define IDC_SIZENS MAKEINTRESOURCEW(32645)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)
#define IDC_HELP MAKEINTRESOURCEW(32651)
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WINLOGO MAKEINTRESOURCEW(32517)
#define IDI_SHIELD MAKEINTRESOURCEW(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// Icons wider or taller than this are refused as absurd.
constexpr int DV_MAX_ICON_SIDE = 1024;

// The colour bitmap's alpha is used when it has any; otherwise the mask decides (white:
// transparent). Without a colour bitmap the mask holds the AND half above the XOR half.
HICON CreateIconIndirect(PICONINFO info);
// Answers new bitmaps the caller deletes: a 32-bit colour DIB section (premultiplied) and a
// monochrome mask.
BOOL GetIconInfo(HICON icon, PICONINFO info);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
HICON CopyIcon(HICON icon);
// Sizes of 0 draw at the icon's own size (DI_DEFAULTSIZE: the system's icon size). A brush
// fills the rectangle first.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH background,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

// From a file with LR_LOADFROMFILE (.ico, .bmp, .png: a corrupt or truncated file gives null),
// or the standard icons and cursors with a null module. An icon takes the frame nearest the
// size asked for, scaled to that size; 0 means the frame's own size, or the system's with
// LR_DEFAULTSIZE.
HANDLE LoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int width, int height, UINT flags);
HICON LoadIconW(HINSTANCE module, LPCWSTR name);
HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name);
HCURSOR LoadCursorFromFileW(LPCWSTR file);
// A copy at another size (0: the same). LR_COPYFROMRESOURCE takes the best frame of the file
// the icon came from; LR_COPYDELETEORG destroys the original.
HANDLE CopyImage(HANDLE image, UINT type, int width, int height, UINT flags);

// The cursor the display shows. On the null display every change of shape is journaled
// (kind "cursor", field "shape": "arrow", "wait", "ibeam", ..., "custom" or "none").
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);

DV_EXPORTS_END
