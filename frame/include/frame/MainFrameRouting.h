// What a main frame's routing offers its messages to outside the frame, in one place: the
// kernel's module proxy and the document's action history, the auto-menu hints, the command
// bars, the space mouse, the UI module's Alt mode and input window, a running command's claim
// on the keys. The program's answers are the real listeners'; a test installs its own to see
// the order the frame asks them in.
#pragma once

#include "afxwin.h"
#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class CMainFrame;
class CXTPCommandBars;

class MainFrameRouting {
public:
    virtual ~MainFrameRouting() = default;

    // The installed routing, else the program's.
    static MainFrameRouting& Instance();
    // Puts `routing` in place of the program's (null puts the program's back); answers the
    // one it replaces.
    static MainFrameRouting* Install(MainFrameRouting* routing);

    // The command's entry in the document's action history; `hint` is the auto-menu hint.
    virtual void PushCommandAction(CDvw32Doc& document, UINT id, const std::wstring& hint);
    // The hint of an auto-menu button; empty without the controller.
    virtual std::wstring GetAutoMenuHint(UINT id);
    // True when the kernel's module proxy handled the command.
    virtual bool OfferToModuleProxy(UINT id, CDvw32Doc* document);
    // A command or an update request on the frame's road, offered to the kernel's registered
    // commands with the active document; true when one of them took it.
    virtual bool OfferToKernelCommands(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo,
                                       CDvw32Doc* document);
    // The add-ons in the manager's order; true from the first that handled the message.
    virtual bool OfferToAddOns(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Which bars a message is offered to.
    enum class Bars { AutoMenu, Frameless };
    virtual bool OfferToBars(Bars which, CXTPCommandBars& bars, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result);
    virtual bool PreTranslateForBars(Bars which, CXTPCommandBars& bars, MSG& msg);
    // The find-command pane shows the help of its tooltip's command; true when it did.
    virtual bool ShowFindCommandToolTipHelp(CWnd* findCommandWindow);
    // A wheel message for the window under its cursor position; true when it was taken.
    virtual bool OfferWheel(HWND under, WPARAM wParam, LPARAM lParam);
    // The registered message of the space mouse; 0 without one.
    virtual UINT GetSpaceMouseMessage();
    // The UI module's Alt mode.
    virtual bool IsAltMode();
    virtual void SetAltMode(int mode);
    // The command running in the active view wants the keys to itself.
    virtual bool SuppressAccelerators(CView* activeView);
    // The UI module's current input window; null when none.
    virtual HWND GetInputWindow();
    // A visible manipulator edit box in the selection-filter or system-panel tool bar.
    virtual bool HasVisibleManipulatorEdit(CMainFrame& frame);
    virtual bool IsEditBox(HWND window);
    // The UI module is told that a resource was not available.
    virtual void ResourceNotAvailable();
};

DV_EXPORTS_END
