// The common controls that InitCommonControlsEx registers here: the progress bar, the month
// calendar and the link control; the notification header they share.
#pragma once

#include "pal/visibility.h"
#include "win/user.h"

DV_EXPORTS_BEGIN

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

constexpr UINT NM_FIRST = 0;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;
constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_HOTKEY_CLASS = 0x00000040;
constexpr DWORD ICC_ANIMATE_CLASS = 0x00000080;
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
constexpr DWORD ICC_DATE_CLASSES = 0x00000100;
constexpr DWORD ICC_USEREX_CLASSES = 0x00000200;
constexpr DWORD ICC_COOL_CLASSES = 0x00000400;
constexpr DWORD ICC_INTERNET_CLASSES = 0x00000800;
constexpr DWORD ICC_PAGESCROLLER_CLASS = 0x00001000;
constexpr DWORD ICC_NATIVEFNTCTL_CLASS = 0x00002000;
constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;
constexpr DWORD ICC_LINK_CLASS = 0x00008000;
// Registers the classes the bits name; FALSE for a structure of the wrong size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
void InitCommonControls();

constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;

// Progress bar ------------------------------------------------------------------------------
inline constexpr const wchar_t* PROGRESS_CLASSW = L"msctls_progress32";
constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;
constexpr DWORD PBS_MARQUEE = 0x08;
constexpr DWORD PBS_SMOOTHREVERSE = 0x10;
constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;
constexpr UINT PBM_SETMARQUEE = WM_USER + 10;
constexpr UINT PBM_GETSTEP = WM_USER + 13;
constexpr UINT PBM_GETBKCOLOR = WM_USER + 14;
constexpr UINT PBM_GETBARCOLOR = WM_USER + 15;
constexpr UINT PBM_SETSTATE = WM_USER + 16;
constexpr UINT PBM_GETSTATE = WM_USER + 17;
constexpr int PBST_NORMAL = 1;
constexpr int PBST_ERROR = 2;
constexpr int PBST_PAUSED = 3;
struct PBRANGE {
    int iLow;
    int iHigh;
};
using PPBRANGE = PBRANGE*;

// Month calendar -----------------------------------------------------------------------------
inline constexpr const wchar_t* MONTHCAL_CLASSW = L"SysMonthCal32";
constexpr DWORD MCS_DAYSTATE = 0x0001;
constexpr DWORD MCS_MULTISELECT = 0x0002;
constexpr DWORD MCS_WEEKNUMBERS = 0x0004;
constexpr DWORD MCS_NOTODAYCIRCLE = 0x0008;
constexpr DWORD MCS_NOTODAY = 0x0010;
constexpr DWORD MCS_NOTRAILINGDATES = 0x0040;
constexpr DWORD MCS_SHORTDAYSOFWEEK = 0x0080;
constexpr DWORD MCS_NOSELCHANGEONNAV = 0x0100;
constexpr UINT MCM_FIRST = 0x1000;
constexpr UINT MCM_GETCURSEL = MCM_FIRST + 1;
constexpr UINT MCM_SETCURSEL = MCM_FIRST + 2;
constexpr UINT MCM_GETMAXSELCOUNT = MCM_FIRST + 3;
constexpr UINT MCM_SETMAXSELCOUNT = MCM_FIRST + 4;
constexpr UINT MCM_GETSELRANGE = MCM_FIRST + 5;
constexpr UINT MCM_SETSELRANGE = MCM_FIRST + 6;
constexpr UINT MCM_GETMONTHRANGE = MCM_FIRST + 7;
constexpr UINT MCM_GETMINREQRECT = MCM_FIRST + 9;
constexpr UINT MCM_SETTODAY = MCM_FIRST + 12;
constexpr UINT MCM_GETTODAY = MCM_FIRST + 13;
constexpr UINT MCM_HITTEST = MCM_FIRST + 14;
constexpr UINT MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15;
constexpr UINT MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16;
constexpr UINT MCM_GETRANGE = MCM_FIRST + 17;
constexpr UINT MCM_SETRANGE = MCM_FIRST + 18;
constexpr WPARAM GDTR_MIN = 0x0001;
constexpr WPARAM GDTR_MAX = 0x0002;
constexpr DWORD GMR_VISIBLE = 0;
constexpr DWORD GMR_DAYSTATE = 1;
constexpr UINT MCN_FIRST = 0U - 746U;
constexpr UINT MCN_SELECT = MCN_FIRST;
constexpr UINT MCN_GETDAYSTATE = MCN_FIRST - 1;
constexpr UINT MCN_SELCHANGE = MCN_FIRST - 3;
constexpr UINT MCN_VIEWCHANGE = MCN_FIRST - 4;
struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart;
    SYSTEMTIME stSelEnd;
};
using LPNMSELCHANGE = NMSELCHANGE*;
using NMSELECT = NMSELCHANGE;
using LPNMSELECT = NMSELCHANGE*;
constexpr UINT MCHT_TITLE = 0x00010000;
constexpr UINT MCHT_CALENDAR = 0x00020000;
constexpr UINT MCHT_TODAYLINK = 0x00030000;
constexpr UINT MCHT_NEXT = 0x01000000;
constexpr UINT MCHT_PREV = 0x02000000;
constexpr UINT MCHT_NOWHERE = 0x00000000;
constexpr UINT MCHT_CALENDARDATE = MCHT_CALENDAR | 0x0001;
constexpr UINT MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT;
constexpr UINT MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV;
constexpr UINT MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x0003;
constexpr UINT MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x0003;
struct MCHITTESTINFO {
    UINT cbSize;
    POINT pt;
    UINT uHit;
    SYSTEMTIME st;
};
using PMCHITTESTINFO = MCHITTESTINFO*;

// Link control ----------------------------------------------------------------------------------
inline constexpr const wchar_t* WC_LINK = L"SysLink";
constexpr DWORD LWS_TRANSPARENT = 0x0001;
constexpr DWORD LWS_IGNORERETURN = 0x0002;
constexpr DWORD LWS_NOPREFIX = 0x0004;
constexpr DWORD LWS_USEVISUALSTYLE = 0x0008;
constexpr DWORD LWS_USECUSTOMTEXT = 0x0010;
constexpr DWORD LWS_RIGHT = 0x0020;
constexpr int MAX_LINKID_TEXT = 48;
constexpr int L_MAX_URL_LENGTH = 2048 + 32 + 4;
constexpr UINT LIF_ITEMINDEX = 0x00000001;
constexpr UINT LIF_STATE = 0x00000002;
constexpr UINT LIF_ITEMID = 0x00000004;
constexpr UINT LIF_URL = 0x00000008;
constexpr UINT LIS_FOCUSED = 0x00000001;
constexpr UINT LIS_ENABLED = 0x00000002;
constexpr UINT LIS_VISITED = 0x00000004;
constexpr UINT LIS_HOTTRACK = 0x00000008;
constexpr UINT LIS_DEFAULTCOLORS = 0x00000010;
struct LITEM {
    UINT mask;
    int iLink;
    UINT state;
    UINT stateMask;
    WCHAR szID[MAX_LINKID_TEXT];
    WCHAR szUrl[L_MAX_URL_LENGTH];
};
using PLITEM = LITEM*;
struct LHITTESTINFO {
    POINT pt;
    LITEM item;
};
using PLHITTESTINFO = LHITTESTINFO*;
struct NMLINK {
    NMHDR hdr;
    LITEM item;
};
using PNMLINK = NMLINK*;
constexpr UINT LM_HITTEST = WM_USER + 0x300;
constexpr UINT LM_GETIDEALHEIGHT = WM_USER + 0x301;
constexpr UINT LM_SETITEM = WM_USER + 0x302;
constexpr UINT LM_GETITEM = WM_USER + 0x303;
constexpr UINT LM_GETIDEALSIZE = LM_GETIDEALHEIGHT;

// Property sheets ---------------------------------------------------------------------------------
constexpr UINT PSN_FIRST = 0U - 200U;
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;
constexpr UINT PSN_APPLY = PSN_FIRST - 2;
constexpr UINT PSN_RESET = PSN_FIRST - 3;
constexpr UINT PSN_HELP = PSN_FIRST - 5;
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;
constexpr LRESULT PSNRET_NOERROR = 0;
constexpr LRESULT PSNRET_INVALID = 1;
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2;
struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam; // PSN_APPLY: TRUE when OK closes the sheet
};
using LPPSHNOTIFY = PSHNOTIFY*;
constexpr UINT PSM_SETCURSEL = WM_USER + 101;
constexpr UINT PSM_CHANGED = WM_USER + 104;
constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;
constexpr UINT PSM_UNCHANGED = WM_USER + 109;
constexpr UINT PSM_APPLY = WM_USER + 110;
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
constexpr int PSBTN_OK = 1;
constexpr int PSBTN_CANCEL = 2;
constexpr int PSBTN_APPLYNOW = 3;
constexpr int ID_APPLY_NOW = 0x3021;

DV_EXPORTS_END
