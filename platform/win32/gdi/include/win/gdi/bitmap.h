// Device-independent bitmaps: DIB sections whose pixels the program reads and writes in
// place, and the copying of pixels between bitmaps and DIB memory.
#pragma once

#include "pal/visibility.h"
#include "win/gdi/objects.h"

DV_EXPORTS_BEGIN

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // negative: the first row in memory is the top one
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
using LPBITMAPINFOHEADER = BITMAPINFOHEADER*;
struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
using LPBITMAPINFO = BITMAPINFO*;
struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

// 32-bit (BI_RGB, or BI_BITFIELDS with the masks 0xFF0000, 0xFF00, 0xFF) and 24-bit sections,
// bottom-up or top-down. A 32-bit section's memory is its pixels, premultiplied BGRA as
// AlphaBlend reads them. A 24-bit section's memory is copied to its pixels when it is
// selected into a DC and back when it leaves the DC, at GdiFlush and at GetDIBits. Other
// formats and absurd sizes are refused (null, ERROR_INVALID_PARAMETER).
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// Copies `lines` rows from DIB row `start` (DIB rows count from the bottom for a bottom-up
// DIB) in the 32- or 24-bit format `info` describes; answers the rows copied. With null
// `bits` it fills in the bitmap's header instead (size, 32 bits unless 24 were asked, BI_RGB, image size).
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
// Copies a 32- or 24-bit DIB to the DC, stretched to the destination rectangle (SRCCOPY).
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sx, int sy, int sw, int sh,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
BOOL GdiFlush();

DV_EXPORTS_END
