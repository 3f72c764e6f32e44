// Image lists: rows of equally sized images with alpha, drawn normally, transparently or
// blended with the selection colour.
#pragma once

#include "pal/visibility.h"
#include "win/gdi/objects.h"

DV_EXPORTS_BEGIN

struct DvImageList;
using HIMAGELIST = DvImageList*;

constexpr UINT ILC_MASK = 0x00000001;
constexpr UINT ILC_COLOR = 0x00000000;
constexpr UINT ILC_COLORDDB = 0x000000FE;
constexpr UINT ILC_COLOR4 = 0x00000004;
constexpr UINT ILC_COLOR8 = 0x00000008;
constexpr UINT ILC_COLOR16 = 0x00000010;
constexpr UINT ILC_COLOR24 = 0x00000018;
constexpr UINT ILC_COLOR32 = 0x00000020;

constexpr UINT ILD_NORMAL = 0x00000000;
constexpr UINT ILD_TRANSPARENT = 0x00000001;
constexpr UINT ILD_BLEND25 = 0x00000002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x00000004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x00000010;
constexpr UINT ILD_IMAGE = 0x00000020;

// Images up to DV_MAX_ICON_SIDE a side; others are refused.
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Cuts the bitmap into images of the list's width; answers the first new index or -1. The
// mask (white: transparent) is used when the list has ILC_MASK and the bitmap no alpha.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Pixels of `mask` colour become transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
// Index -1 appends; answers the index or -1.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    return ImageList_ReplaceIcon(list, -1, icon);
}
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Index -1 removes them all.
BOOL ImageList_Remove(HIMAGELIST list, int index);
inline BOOL ImageList_RemoveAll(HIMAGELIST list) {
    return ImageList_Remove(list, -1);
}
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// ILD_NORMAL fills transparent parts with the list's background colour unless it is
// CLR_NONE; ILD_TRANSPARENT leaves them; ILD_BLEND25/50 mix the image with the selection
// colour.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int width, int height,
                      COLORREF background, COLORREF foreground, UINT style);
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
inline HICON ImageList_ExtractIcon(HINSTANCE, HIMAGELIST list, int index) {
    return ImageList_GetIcon(list, index, 0);
}

DV_EXPORTS_END
