// Drag and drop: OLE drop targets and sources with their effects, and the dropped-file lists of
// windows that accept files (WM_DROPFILES).
//
// A drag runs inside DoDragDrop: the source's thread takes the mouse and keyboard input, asks
// the source whether to go on, finds the drop target under the pointer (a window of this
// program or, through the sandbox, of another program) and asks it what the drop would do. A
// window that accepts files and has no drop target of its own takes a drag that offers
// CF_HDROP as a copy, and gets the list in WM_DROPFILES.
#pragma once

#include "pal/visibility.h"
#include "win/global_memory.h"
#include "win/ole/dataobject.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

using DROPEFFECT = DWORD;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
constexpr DROPEFFECT DROPEFFECT_LINK = 4;
constexpr DROPEFFECT DROPEFFECT_SCROLL = 0x80000000;

// The key state of drag and drop: the MK_ flags of mouse messages and the Alt key.
constexpr DWORD MK_ALT = 0x20;

constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102);

struct POINTL {
    LONG x;
    LONG y;
};

inline constexpr IID IID_IDropSource = {0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IDropSource : IUnknown {
    // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to stop.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS for the standard drag cursor of the effect.
    virtual HRESULT GiveFeedback(DWORD effect) = 0;

protected:
    ~IDropSource() = default;
};
using LPDROPSOURCE = IDropSource*;

// Points are in screen coordinates; `effect` comes in as the effects the source allows and
// goes out as the one the target would carry out.
struct IDropTarget : IUnknown {
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;

protected:
    ~IDropTarget() = default;
};
using LPDROPTARGET = IDropTarget*;

// The window's drop target, held (AddRef) until RevokeDragDrop or the window's end. The thread
// must have called OleInitialize (else CO_E_NOTINITIALIZED).
HRESULT RegisterDragDrop(HWND hwnd, LPDROPTARGET target);
HRESULT RevokeDragDrop(HWND hwnd);
// DRAGDROP_S_DROP with the effect the target carried out, or DRAGDROP_S_CANCEL with
// DROPEFFECT_NONE.
HRESULT DoDragDrop(LPDATAOBJECT data, LPDROPSOURCE source, DWORD okEffects, LPDWORD effect);

// Dropped-file lists: a DROPFILES header, then the paths (UTF-16 when fWide, else the ANSI code
// page), each ending with a terminator, and one more terminator after the last.
DV_DECLARE_HANDLE(HDROP);
struct DROPFILES {
    DWORD pFiles; // offset of the list from the start of the block
    POINT pt;     // the drop point, in the client area of the window unless fNC
    BOOL fNC;
    BOOL fWide;
};
static_assert(sizeof(DROPFILES) == 20);

// Sets or clears WS_EX_ACCEPTFILES: the window takes files dropped on it, from this program or
// another program of the sandbox, as WM_DROPFILES with an HDROP in wParam.
void DragAcceptFiles(HWND hwnd, BOOL accept);
// With index 0xFFFFFFFF the number of files; with a null buffer the length of one path in
// characters; else copies the path (truncated to fit, terminated) and returns its length. A
// block that is not a sound list gives 0 for every question.
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR file, UINT size);
// The drop point; TRUE when it lies in the client area.
BOOL DragQueryPoint(HDROP drop, LPPOINT point);
// Frees the list of a WM_DROPFILES.
void DragFinish(HDROP drop);

DV_EXPORTS_END
