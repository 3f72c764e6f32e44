// Menus and keyboard accelerators. A menu is a list of items (strings, separators and submenus)
// that belongs to no thread; a popup menu is tracked in a window of its own while its owner is
// told what happens through WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP and
// WM_EXITMENULOOP.
#pragma once

#include "pal/visibility.h"
#include "win/user/messages.h"

DV_EXPORTS_BEGIN

constexpr UINT WM_MENURBUTTONUP = 0x0122;
constexpr UINT WM_UNINITMENUPOPUP = 0x0125;
constexpr UINT WM_MENUCOMMAND = 0x0126;

// WM_ENTERIDLE reasons (wParam): a dialog box or a menu is waiting for input.
constexpr WPARAM MSGF_DIALOGBOX = 0;
constexpr WPARAM MSGF_MENU = 2;

// Menu flags of AppendMenuW, InsertMenuW, ModifyMenuW and the state functions.
constexpr UINT MF_INSERT = 0x00000000;
constexpr UINT MF_CHANGE = 0x00000080;
constexpr UINT MF_APPEND = 0x00000100;
constexpr UINT MF_DELETE = 0x00000200;
constexpr UINT MF_REMOVE = 0x00001000;
constexpr UINT MF_BYCOMMAND = 0x00000000;
constexpr UINT MF_BYPOSITION = 0x00000400;
constexpr UINT MF_SEPARATOR = 0x00000800;
constexpr UINT MF_ENABLED = 0x00000000;
constexpr UINT MF_GRAYED = 0x00000001;
constexpr UINT MF_DISABLED = 0x00000002;
constexpr UINT MF_UNCHECKED = 0x00000000;
constexpr UINT MF_CHECKED = 0x00000008;
constexpr UINT MF_USECHECKBITMAPS = 0x00000200;
constexpr UINT MF_STRING = 0x00000000;
constexpr UINT MF_BITMAP = 0x00000004;
constexpr UINT MF_OWNERDRAW = 0x00000100;
constexpr UINT MF_POPUP = 0x00000010;
constexpr UINT MF_MENUBARBREAK = 0x00000020;
constexpr UINT MF_MENUBREAK = 0x00000040;
constexpr UINT MF_UNHILITE = 0x00000000;
constexpr UINT MF_HILITE = 0x00000080;
constexpr UINT MF_DEFAULT = 0x00001000;
constexpr UINT MF_SYSMENU = 0x00002000;
constexpr UINT MF_HELP = 0x00004000;
constexpr UINT MF_RIGHTJUSTIFY = 0x00004000;
constexpr UINT MF_MOUSESELECT = 0x00008000;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x00000200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x00002000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;
constexpr UINT MFS_GRAYED = 0x00000003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x00000001;
constexpr UINT MIIM_ID = 0x00000002;
constexpr UINT MIIM_SUBMENU = 0x00000004;
constexpr UINT MIIM_CHECKMARKS = 0x00000008;
constexpr UINT MIIM_TYPE = 0x00000010;
constexpr UINT MIIM_DATA = 0x00000020;
constexpr UINT MIIM_STRING = 0x00000040;
constexpr UINT MIIM_BITMAP = 0x00000080;
constexpr UINT MIIM_FTYPE = 0x00000100;

struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;

// TrackPopupMenu(Ex)
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_HORPOSANIMATION = 0x0400;
constexpr UINT TPM_HORNEGANIMATION = 0x0800;
constexpr UINT TPM_VERPOSANIMATION = 0x1000;
constexpr UINT TPM_VERNEGANIMATION = 0x2000;
constexpr UINT TPM_NOANIMATION = 0x4000;
constexpr UINT TPM_LAYOUTRTL = 0x8000;
constexpr UINT TPM_WORKAREA = 0x10000;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// WM_MENUCHAR answers (high word)
constexpr LRESULT MNC_IGNORE = 0;
constexpr LRESULT MNC_CLOSE = 1;
constexpr LRESULT MNC_EXECUTE = 2;
constexpr LRESULT MNC_SELECT = 3;

constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;
constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;
constexpr DWORD ERROR_INVALID_ACCEL_HANDLE = 1403;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and every submenu it holds.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `item` is the command id, or the submenu's handle with MF_POPUP.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
// Takes the item out; a submenu it held lives on.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Takes the item out and destroys a submenu it held.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// -1 for a handle that is not a menu.
int GetMenuItemCount(HMENU menu);
// The command id at a position: -1 for a submenu or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
// The previous check or enable state, or -1 (as a DWORD) when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// The window's own copy of the window menu; `revert` drops the copy and answers null.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);
// The screen rectangle of an item of a popup menu being tracked.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, LPRECT rect);

// Shows the popup menu at a screen point and tracks it until an item is chosen or it is
// dismissed. With TPM_RETURNCMD the chosen item's id is returned (0 when dismissed); without it
// the choice reaches the owner as a posted WM_COMMAND carrying the id's low 16 bits, and the
// answer is nonzero unless the menu could not be shown. A menu with no items shows nothing and
// answers 0. Under the test fixture, or with nobody at a display, the choice comes from the
// responder: a command id, or an item's text.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
BOOL EndMenu();

// Keyboard accelerators.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count);
// Copies up to `count` entries; with no buffer, answers how many the table has.
int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// A key message that matches an entry of the table becomes WM_COMMAND (high word 1) sent to
// `hwnd`, or WM_SYSCOMMAND for a window-menu command; the answer says whether it did.
int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);

// A sound of the given kind (MB_ICON*, MB_OK or 0xFFFFFFFF); journaled.
BOOL MessageBeep(UINT type);

// Names without the W suffix.
inline BOOL AppendMenu(HMENU m, UINT f, UINT_PTR i, LPCWSTR t) {
    return AppendMenuW(m, f, i, t);
}
inline BOOL InsertMenu(HMENU m, UINT p, UINT f, UINT_PTR i, LPCWSTR t) {
    return InsertMenuW(m, p, f, i, t);
}
inline BOOL ModifyMenu(HMENU m, UINT p, UINT f, UINT_PTR i, LPCWSTR t) {
    return ModifyMenuW(m, p, f, i, t);
}
inline BOOL InsertMenuItem(HMENU m, UINT i, BOOL b, LPCMENUITEMINFOW info) {
    return InsertMenuItemW(m, i, b, info);
}
inline BOOL GetMenuItemInfo(HMENU m, UINT i, BOOL b, LPMENUITEMINFOW info) {
    return GetMenuItemInfoW(m, i, b, info);
}
inline BOOL SetMenuItemInfo(HMENU m, UINT i, BOOL b, LPCMENUITEMINFOW info) {
    return SetMenuItemInfoW(m, i, b, info);
}
inline int GetMenuString(HMENU m, UINT i, LPWSTR b, int s, UINT f) {
    return GetMenuStringW(m, i, b, s, f);
}
inline HACCEL CreateAcceleratorTable(LPACCEL e, int c) {
    return CreateAcceleratorTableW(e, c);
}
inline int CopyAcceleratorTable(HACCEL t, LPACCEL e, int c) {
    return CopyAcceleratorTableW(t, e, c);
}
inline int TranslateAccelerator(HWND h, HACCEL t, LPMSG m) {
    return TranslateAcceleratorW(h, t, m);
}
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFO = MENUITEMINFOW*;

DV_EXPORTS_END
