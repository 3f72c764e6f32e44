// Multiple-document windows: the "MDICLIENT" class that holds a frame's document windows, the
// messages that create, activate, arrange and destroy them, and the default procedures of the
// frame and of the document windows.
#pragma once

#include "pal/visibility.h"
#include "win/user/window.h"

DV_EXPORTS_BEGIN

// The creation parameter of an "MDICLIENT" window: the menu that lists the document windows
// and the command id of the first of them (the others follow in order).
struct CLIENTCREATESTRUCT {
    HANDLE hWindowMenu;
    UINT idFirstChild;
};
using LPCLIENTCREATESTRUCT = CLIENTCREATESTRUCT*;

// WM_MDICREATE's lParam; the document window's WM_CREATE carries it as lpCreateParams.
struct MDICREATESTRUCTW {
    LPCWSTR szClass;
    LPCWSTR szTitle;
    HANDLE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam;
};
using LPMDICREATESTRUCTW = MDICREATESTRUCTW*;

// Client styles: document windows keep exactly the style they are created with.
constexpr DWORD MDIS_ALLCHILDSTYLES = 0x0001;

LRESULT DefFrameProcW(HWND hwnd, HWND hwndMDIClient, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateMDIWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                      HWND hwndParent, HINSTANCE instance, LPARAM lParam);

DV_EXPORTS_END
