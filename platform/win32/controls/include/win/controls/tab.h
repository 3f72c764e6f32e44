// The tab control: a row of tabs over a page area; a click or an arrow key changes the tab,
// which the parent may refuse.
#pragma once

#include "pal/visibility.h"
#include "win/controls/custom_draw.h"
#include "win/gdi/imagelist.h"

DV_EXPORTS_BEGIN

inline constexpr const wchar_t* WC_TABCONTROLW = L"SysTabControl32";
inline constexpr const wchar_t* WC_TABCONTROL = WC_TABCONTROLW;

constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_TOOLTIPS = 0x4000;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
constexpr UINT TCM_SETITEMW = TCM_FIRST + 61;
constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;

constexpr UINT TCN_FIRST = 0U - 550U;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_RTLREADING = 0x0004;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEMICON = 0x0002;
constexpr UINT TCHT_ONITEMLABEL = 0x0004;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using TCITEM = TCITEMW;
using LPTCITEMW = TCITEMW*;

struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};
using LPTCHITTESTINFO = TCHITTESTINFO*;

DV_EXPORTS_END
