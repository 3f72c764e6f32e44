// The header control: the row of column captions above a report, resized by dragging a divider
// and clicked to sort.
#pragma once

#include "pal/visibility.h"
#include "win/controls/custom_draw.h"

DV_EXPORTS_BEGIN

inline constexpr const wchar_t* WC_HEADERW = L"SysHeader32";
inline constexpr const wchar_t* WC_HEADER = WC_HEADERW;

constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_INSERTITEMW = HDM_FIRST + 10;
constexpr UINT HDM_GETITEMW = HDM_FIRST + 11;
constexpr UINT HDM_SETITEMW = HDM_FIRST + 12;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;

constexpr UINT HDN_FIRST = 0U - 300U;
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;
constexpr UINT HDN_ITEMCHANGINGW = HDN_FIRST - 20;
constexpr UINT HDN_ITEMCHANGEDW = HDN_FIRST - 21;
constexpr UINT HDN_ITEMCLICKW = HDN_FIRST - 22;
constexpr UINT HDN_ITEMDBLCLICKW = HDN_FIRST - 23;
constexpr UINT HDN_DIVIDERDBLCLICKW = HDN_FIRST - 25;
constexpr UINT HDN_BEGINTRACKW = HDN_FIRST - 26;
constexpr UINT HDN_ENDTRACKW = HDN_FIRST - 27;
constexpr UINT HDN_TRACKW = HDN_FIRST - 28;

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_BITMAP = 0x0010;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_ORDER = 0x0080;

constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_SORTDOWN = 0x0200;
constexpr int HDF_SORTUP = 0x0400;
constexpr int HDF_IMAGE = 0x0800;
constexpr int HDF_BITMAP = 0x2000;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_ABOVE = 0x0100;
constexpr UINT HHT_BELOW = 0x0200;
constexpr UINT HHT_TORIGHT = 0x0400;
constexpr UINT HHT_TOLEFT = 0x0800;

struct HDITEMW {
    UINT mask;
    int cxy;
    LPWSTR pszText;
    HBITMAP hbm;
    int cchTextMax;
    int fmt;
    LPARAM lParam;
    int iImage;
    int iOrder;
};
using HDITEM = HDITEMW;
using LPHDITEMW = HDITEMW*;

struct HDLAYOUT {
    RECT* prc;
    WINDOWPOS* pwpos;
};
using LPHDLAYOUT = HDLAYOUT*;

struct HDHITTESTINFO {
    POINT pt;
    UINT flags;
    int iItem;
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

struct NMHEADERW {
    NMHDR hdr;
    int iItem;
    int iButton;
    HDITEMW* pitem;
};
using NMHEADER = NMHEADERW;
using LPNMHEADERW = NMHEADERW*;

DV_EXPORTS_END
