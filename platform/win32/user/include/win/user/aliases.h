// The names without the W suffix, as a program built for wide characters has them.
#pragma once

#include "pal/visibility.h"
#include "win/user/display.h"
#include "win/user/messages.h"
#include "win/user/sync.h"
#include "win/user/window.h"

DV_EXPORTS_BEGIN

using WNDCLASSEX = WNDCLASSEXW;
using WNDCLASS = WNDCLASSW;
using CREATESTRUCT = CREATESTRUCTW;
using LPCREATESTRUCT = CREATESTRUCTW*;
using MONITORINFOEX = MONITORINFOEXW;

inline LRESULT SendMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    return SendMessageW(h, m, w, l);
}
inline LRESULT SendMessageTimeout(HWND h, UINT m, WPARAM w, LPARAM l, UINT flags, UINT ms, PDWORD_PTR r) {
    return SendMessageTimeoutW(h, m, w, l, flags, ms, r);
}
inline BOOL SendNotifyMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    return SendNotifyMessageW(h, m, w, l);
}
inline BOOL PostMessage(HWND h, UINT m, WPARAM w, LPARAM l) {
    return PostMessageW(h, m, w, l);
}
inline BOOL PostThreadMessage(DWORD t, UINT m, WPARAM w, LPARAM l) {
    return PostThreadMessageW(t, m, w, l);
}
inline BOOL PeekMessage(LPMSG msg, HWND h, UINT lo, UINT hi, UINT remove) {
    return PeekMessageW(msg, h, lo, hi, remove);
}
inline BOOL GetMessage(LPMSG msg, HWND h, UINT lo, UINT hi) {
    return GetMessageW(msg, h, lo, hi);
}
inline LRESULT DispatchMessage(const MSG* msg) {
    return DispatchMessageW(msg);
}
inline LRESULT DefWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}
inline LRESULT CallWindowProc(WNDPROC p, HWND h, UINT m, WPARAM w, LPARAM l) {
    return CallWindowProcW(p, h, m, w, l);
}
inline UINT RegisterWindowMessage(LPCWSTR name) {
    return RegisterWindowMessageW(name);
}
inline ATOM RegisterClassEx(const WNDCLASSEXW* wc) {
    return RegisterClassExW(wc);
}
inline ATOM RegisterClass(const WNDCLASSW* wc) {
    return RegisterClassW(wc);
}
inline BOOL UnregisterClass(LPCWSTR name, HINSTANCE instance) {
    return UnregisterClassW(name, instance);
}
inline BOOL GetClassInfoEx(HINSTANCE instance, LPCWSTR name, LPWNDCLASSEXW wc) {
    return GetClassInfoExW(instance, name, wc);
}
inline BOOL GetClassInfo(HINSTANCE instance, LPCWSTR name, LPWNDCLASSW wc) {
    return GetClassInfoW(instance, name, wc);
}
inline int GetClassName(HWND h, LPWSTR buffer, int size) {
    return GetClassNameW(h, buffer, size);
}
inline HWND CreateWindowEx(DWORD exStyle, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int cx,
                           int cy, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(exStyle, cls, name, style, x, y, cx, cy, parent, menu, instance, param);
}
inline HWND CreateWindow(LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int cx, int cy, HWND parent,
                         HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(0, cls, name, style, x, y, cx, cy, parent, menu, instance, param);
}
inline BOOL SetWindowText(HWND h, LPCWSTR text) {
    return SetWindowTextW(h, text);
}
inline int GetWindowText(HWND h, LPWSTR buffer, int size) {
    return GetWindowTextW(h, buffer, size);
}
inline int GetWindowTextLength(HWND h) {
    return GetWindowTextLengthW(h);
}
inline LONG_PTR GetWindowLongPtr(HWND h, int index) {
    return GetWindowLongPtrW(h, index);
}
inline LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
    return SetWindowLongPtrW(h, index, value);
}
inline LONG GetWindowLong(HWND h, int index) {
    return GetWindowLongW(h, index);
}
inline LONG SetWindowLong(HWND h, int index, LONG value) {
    return SetWindowLongW(h, index, value);
}
inline BOOL SetProp(HWND h, LPCWSTR name, HANDLE data) {
    return SetPropW(h, name, data);
}
inline HANDLE GetProp(HWND h, LPCWSTR name) {
    return GetPropW(h, name);
}
inline HANDLE RemoveProp(HWND h, LPCWSTR name) {
    return RemovePropW(h, name);
}
inline BOOL GetMonitorInfo(HMONITOR m, LPMONITORINFO info) {
    return GetMonitorInfoW(m, info);
}
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES sa, BOOL manual, BOOL initial, LPCWSTR name) {
    return CreateEventW(sa, manual, initial, name);
}
inline HANDLE OpenEvent(DWORD access, BOOL inherit, LPCWSTR name) {
    return OpenEventW(access, inherit, name);
}
inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES sa, BOOL owner, LPCWSTR name) {
    return CreateMutexW(sa, owner, name);
}
inline HANDLE OpenMutex(DWORD access, BOOL inherit, LPCWSTR name) {
    return OpenMutexW(access, inherit, name);
}
inline ATOM GlobalAddAtom(LPCWSTR name) {
    return GlobalAddAtomW(name);
}
inline ATOM GlobalFindAtom(LPCWSTR name) {
    return GlobalFindAtomW(name);
}
inline UINT GlobalGetAtomName(ATOM atom, LPWSTR buffer, int size) {
    return GlobalGetAtomNameW(atom, buffer, size);
}

DV_EXPORTS_END
