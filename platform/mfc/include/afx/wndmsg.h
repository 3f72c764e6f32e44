// ON_WM_* entries: each cracks its message's parameters into the handler's own signature.
#pragma once

#include "afx/gdi.h"
#include "afx/menu.h"
#include "afx/msgmap.h"
#include "afx/wnd.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace afx::thunk {

inline CWnd* wnd(WPARAM w) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(w));
}
inline CWnd* wnd(LPARAM l) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(l));
}
inline CPoint point(LPARAM l) {
    return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l));
}
inline LRESULT asResult(BOOL b) {
    return b;
}

// Each cracker names the handler's signature and how the message's parameters reach it.
#define DV_WM_THUNK(name, signature, call)                                                                   \
    template <class T, auto Fn> bool name(CCmdTarget& t, AFX_CALL& c) {                                      \
        checkSignature<signature, Fn>();                                                                     \
        [[maybe_unused]] T& s = self<T>(t);                                                                  \
        [[maybe_unused]] const WPARAM w = c.wParam;                                                          \
        [[maybe_unused]] const LPARAM l = c.lParam;                                                          \
        call;                                                                                                \
        return true;                                                                                         \
    }

DV_WM_THUNK(v, void (T::*)(), (s.*Fn)())
DV_WM_THUNK(create, int (T::*)(LPCREATESTRUCTW), c.result = (s.*Fn)(reinterpret_cast<LPCREATESTRUCTW>(l)))
DV_WM_THUNK(size, void (T::*)(UINT, int, int), (s.*Fn)(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
DV_WM_THUNK(move, void (T::*)(int, int), (s.*Fn)(GET_X_LPARAM(l), GET_Y_LPARAM(l)))
DV_WM_THUNK(showWindow, void (T::*)(BOOL, UINT), (s.*Fn)(static_cast<BOOL>(w), static_cast<UINT>(l)))
DV_WM_THUNK(enable, void (T::*)(BOOL), (s.*Fn)(static_cast<BOOL>(w)))
DV_WM_THUNK(activate, void (T::*)(UINT, CWnd*, BOOL), (s.*Fn)(LOWORD(w), wnd(l), HIWORD(w) != 0))
DV_WM_THUNK(activateApp, void (T::*)(BOOL, DWORD), (s.*Fn)(static_cast<BOOL>(w), static_cast<DWORD>(l)))
DV_WM_THUNK(focus, void (T::*)(CWnd*), (s.*Fn)(wnd(w)))
DV_WM_THUNK(timer, void (T::*)(UINT_PTR), (s.*Fn)(static_cast<UINT_PTR>(w)))
DV_WM_THUNK(contextMenu, void (T::*)(CWnd*, CPoint), (s.*Fn)(wnd(w), point(l)))
DV_WM_THUNK(initMenuPopup, void (T::*)(CMenu*, UINT, BOOL),
            (s.*Fn)(CMenu::FromHandle(reinterpret_cast<HMENU>(w)), LOWORD(static_cast<DWORD_PTR>(l)),
                    HIWORD(static_cast<DWORD_PTR>(l)) != 0))
DV_WM_THUNK(mouse, void (T::*)(UINT, CPoint), (s.*Fn)(static_cast<UINT>(w), point(l)))
DV_WM_THUNK(mouseWheel, BOOL (T::*)(UINT, short, CPoint),
            c.result = asResult((s.*Fn)(LOWORD(w), GET_WHEEL_DELTA_WPARAM(w), point(l))))
DV_WM_THUNK(key, void (T::*)(UINT, UINT, UINT),
            (s.*Fn)(static_cast<UINT>(w), LOWORD(static_cast<DWORD_PTR>(l)),
                    HIWORD(static_cast<DWORD_PTR>(l))))
DV_WM_THUNK(sysCommand, void (T::*)(UINT, LPARAM), (s.*Fn)(static_cast<UINT>(w), l))
DV_WM_THUNK(minMaxInfo, void (T::*)(MINMAXINFO*), (s.*Fn)(reinterpret_cast<MINMAXINFO*>(l)))
DV_WM_THUNK(windowPos, void (T::*)(WINDOWPOS*), (s.*Fn)(reinterpret_cast<WINDOWPOS*>(l)))
DV_WM_THUNK(ncHitTest, LRESULT (T::*)(CPoint), c.result = (s.*Fn)(point(l)))
DV_WM_THUNK(mouseActivate, int (T::*)(CWnd*, UINT, UINT),
            c.result = (s.*Fn)(wnd(w), LOWORD(static_cast<DWORD_PTR>(l)), HIWORD(static_cast<DWORD_PTR>(l))))
DV_WM_THUNK(setCursor, BOOL (T::*)(CWnd*, UINT, UINT),
            c.result = asResult((s.*Fn)(wnd(w), LOWORD(static_cast<DWORD_PTR>(l)),
                                        HIWORD(static_cast<DWORD_PTR>(l)))))
DV_WM_THUNK(eraseBkgnd, BOOL (T::*)(CDC*),
            c.result = asResult((s.*Fn)(CDC::FromHandle(reinterpret_cast<HDC>(w)))))
DV_WM_THUNK(queryEndSession, BOOL (T::*)(), c.result = asResult((s.*Fn)()))
DV_WM_THUNK(endSession, void (T::*)(BOOL), (s.*Fn)(static_cast<BOOL>(w)))
// The window that receives WM_MDIACTIVATE is activated when lParam names it.
DV_WM_THUNK(mdiActivate, void (T::*)(BOOL, CWnd*, CWnd*),
            (s.*Fn)(reinterpret_cast<HWND>(l) == s.m_hWnd, wnd(l), wnd(w)))
DV_WM_THUNK(settingChange, void (T::*)(UINT, LPCWSTR),
            (s.*Fn)(static_cast<UINT>(w), reinterpret_cast<LPCWSTR>(l)))
DV_WM_THUNK(dropFiles, void (T::*)(HDROP), (s.*Fn)(reinterpret_cast<HDROP>(w)))
DV_WM_THUNK(menuSelect, void (T::*)(UINT, UINT, HMENU),
            (s.*Fn)(LOWORD(static_cast<DWORD_PTR>(w)), HIWORD(static_cast<DWORD_PTR>(w)),
                    reinterpret_cast<HMENU>(l)))
// Thread messages: the handler takes the two parameters and returns nothing.
DV_WM_THUNK(threadMessage, void (T::*)(WPARAM, LPARAM), (s.*Fn)(w, l))

#undef DV_WM_THUNK

} // namespace afx::thunk

#define DV_WM_ENTRY(message, cracker, handler)                                                               \
    {message, 0, 0, 0, nullptr, (&::afx::thunk::cracker<ThisClass, &ThisClass::handler>)},

#define ON_WM_CREATE() DV_WM_ENTRY(WM_CREATE, create, OnCreate)
#define ON_WM_DESTROY() DV_WM_ENTRY(WM_DESTROY, v, OnDestroy)
#define ON_WM_NCDESTROY() DV_WM_ENTRY(WM_NCDESTROY, v, OnNcDestroy)
#define ON_WM_CLOSE() DV_WM_ENTRY(WM_CLOSE, v, OnClose)
#define ON_WM_SIZE() DV_WM_ENTRY(WM_SIZE, size, OnSize)
#define ON_WM_MOVE() DV_WM_ENTRY(WM_MOVE, move, OnMove)
#define ON_WM_SHOWWINDOW() DV_WM_ENTRY(WM_SHOWWINDOW, showWindow, OnShowWindow)
#define ON_WM_ENABLE() DV_WM_ENTRY(WM_ENABLE, enable, OnEnable)
#define ON_WM_ACTIVATE() DV_WM_ENTRY(WM_ACTIVATE, activate, OnActivate)
#define ON_WM_ACTIVATEAPP() DV_WM_ENTRY(WM_ACTIVATEAPP, activateApp, OnActivateApp)
#define ON_WM_SETFOCUS() DV_WM_ENTRY(WM_SETFOCUS, focus, OnSetFocus)
#define ON_WM_KILLFOCUS() DV_WM_ENTRY(WM_KILLFOCUS, focus, OnKillFocus)
#define ON_WM_PAINT() DV_WM_ENTRY(WM_PAINT, v, OnPaint)
#define ON_WM_ERASEBKGND() DV_WM_ENTRY(WM_ERASEBKGND, eraseBkgnd, OnEraseBkgnd)
#define ON_WM_NCPAINT() DV_WM_ENTRY(WM_NCPAINT, v, OnNcPaint)
#define ON_WM_TIMER() DV_WM_ENTRY(WM_TIMER, timer, OnTimer)
#define ON_WM_CONTEXTMENU() DV_WM_ENTRY(WM_CONTEXTMENU, contextMenu, OnContextMenu)
#define ON_WM_INITMENUPOPUP() DV_WM_ENTRY(WM_INITMENUPOPUP, initMenuPopup, OnInitMenuPopup)
#define ON_WM_MOUSEMOVE() DV_WM_ENTRY(WM_MOUSEMOVE, mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() DV_WM_ENTRY(WM_LBUTTONDOWN, mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() DV_WM_ENTRY(WM_LBUTTONUP, mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() DV_WM_ENTRY(WM_LBUTTONDBLCLK, mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() DV_WM_ENTRY(WM_RBUTTONDOWN, mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() DV_WM_ENTRY(WM_RBUTTONUP, mouse, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() DV_WM_ENTRY(WM_MBUTTONDOWN, mouse, OnMButtonDown)
#define ON_WM_MBUTTONDBLCLK() DV_WM_ENTRY(WM_MBUTTONDBLCLK, mouse, OnMButtonDblClk)
#define ON_WM_MBUTTONUP() DV_WM_ENTRY(WM_MBUTTONUP, mouse, OnMButtonUp)
#define ON_WM_MOUSEWHEEL() DV_WM_ENTRY(WM_MOUSEWHEEL, mouseWheel, OnMouseWheel)
#define ON_WM_KEYDOWN() DV_WM_ENTRY(WM_KEYDOWN, key, OnKeyDown)
#define ON_WM_KEYUP() DV_WM_ENTRY(WM_KEYUP, key, OnKeyUp)
#define ON_WM_SYSKEYDOWN() DV_WM_ENTRY(WM_SYSKEYDOWN, key, OnSysKeyDown)
#define ON_WM_CHAR() DV_WM_ENTRY(WM_CHAR, key, OnChar)
#define ON_WM_SYSCOMMAND() DV_WM_ENTRY(WM_SYSCOMMAND, sysCommand, OnSysCommand)
#define ON_WM_GETMINMAXINFO() DV_WM_ENTRY(WM_GETMINMAXINFO, minMaxInfo, OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGED() DV_WM_ENTRY(WM_WINDOWPOSCHANGED, windowPos, OnWindowPosChanged)
#define ON_WM_NCHITTEST() DV_WM_ENTRY(WM_NCHITTEST, ncHitTest, OnNcHitTest)
#define ON_WM_MOUSEACTIVATE() DV_WM_ENTRY(WM_MOUSEACTIVATE, mouseActivate, OnMouseActivate)
#define ON_WM_SETCURSOR() DV_WM_ENTRY(WM_SETCURSOR, setCursor, OnSetCursor)
#define ON_WM_QUERYENDSESSION() DV_WM_ENTRY(WM_QUERYENDSESSION, queryEndSession, OnQueryEndSession)
#define ON_WM_ENDSESSION() DV_WM_ENTRY(WM_ENDSESSION, endSession, OnEndSession)
#define ON_WM_CHILDACTIVATE() DV_WM_ENTRY(WM_CHILDACTIVATE, v, OnChildActivate)
#define ON_WM_MENUSELECT() DV_WM_ENTRY(WM_MENUSELECT, menuSelect, OnMenuSelect)
#define ON_WM_MDIACTIVATE() DV_WM_ENTRY(WM_MDIACTIVATE, mdiActivate, OnMDIActivate)
#define ON_WM_SETTINGCHANGE() DV_WM_ENTRY(WM_SETTINGCHANGE, settingChange, OnSettingChange)
#define ON_WM_DROPFILES() DV_WM_ENTRY(WM_DROPFILES, dropFiles, OnDropFiles)
#define ON_THREAD_MESSAGE(message, memberFxn)                                                                \
    {static_cast<UINT>(message), 0, 0, 0, nullptr, (&::afx::thunk::threadMessage<ThisClass, memberFxn>)},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                                            \
    {0xC000u, 0, 0, 0, &(nMessageVariable), (&::afx::thunk::threadMessage<ThisClass, memberFxn>)},

DV_EXPORTS_END
