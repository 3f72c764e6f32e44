// Tooltips: tools (a window or a rectangle of one) whose tip shows after the mouse has rested
// on them for the initial delay and goes at a click, when the mouse leaves or after the
// automatic delay.
#pragma once

#include "pal/visibility.h"
#include "win/controls/commctrl.h"

DV_EXPORTS_BEGIN

inline constexpr const wchar_t* TOOLTIPS_CLASSW = L"tooltips_class32";
inline constexpr const wchar_t* TOOLTIPS_CLASS = TOOLTIPS_CLASSW;

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;
constexpr DWORD TTS_NOANIMATE = 0x10;
constexpr DWORD TTS_NOFADE = 0x20;
constexpr DWORD TTS_BALLOON = 0x40;
constexpr DWORD TTS_CLOSE = 0x80;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_PARSELINKS = 0x1000;
constexpr UINT TTF_DI_SETITEM = 0x8000;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_WINDOWFROMPOINT = WM_USER + 16;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;
constexpr UINT TTM_GETMARGIN = WM_USER + 27;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;
constexpr UINT TTM_ADDTOOLW = WM_USER + 50;
constexpr UINT TTM_DELTOOLW = WM_USER + 51;
constexpr UINT TTM_NEWTOOLRECTW = WM_USER + 52;
constexpr UINT TTM_GETTOOLINFOW = WM_USER + 53;
constexpr UINT TTM_SETTOOLINFOW = WM_USER + 54;
constexpr UINT TTM_HITTESTW = WM_USER + 55;
constexpr UINT TTM_GETTEXTW = WM_USER + 56;
constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;
constexpr UINT TTM_GETCURRENTTOOLW = WM_USER + 59;
constexpr UINT TTM_POPUP = WM_USER + 34;

constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
constexpr UINT TTN_LINKCLICK = TTN_FIRST - 3;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;

struct TTTOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPWSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFOW = TTTOOLINFOW;
using TOOLINFO = TTTOOLINFOW;
using LPTTTOOLINFOW = TTTOOLINFOW*;

struct TTHITTESTINFOW {
    HWND hwnd;
    POINT pt;
    TTTOOLINFOW ti;
};
using LPTTHITTESTINFOW = TTHITTESTINFOW*;

struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOW;
using LPNMTTDISPINFOW = NMTTDISPINFOW*;
using TOOLTIPTEXTW = NMTTDISPINFOW;

DV_EXPORTS_END
