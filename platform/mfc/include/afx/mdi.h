// The main frame that holds document windows in its "MDICLIENT", and the document windows.
// A command offered to the main frame goes to the active document window first (its view,
// the view's document, the document window itself), then to the main frame, then to the
// application.
#pragma once

#include "afx/frame.h"
#include "afx/menu.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

// Registered message a tabbed MDI client sends its frame before another document tab becomes
// the active one.
extern const UINT AFX_WM_CHANGING_ACTIVE_TAB;

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    // Makes the client that fills the frame; document windows are numbered from
    // AFX_IDM_FIRST_MDICHILD in the window menu.
    virtual BOOL CreateClient(LPCREATESTRUCTW lpCreateStruct, HMENU hWindowMenu);
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;

    void MDIActivate(CWnd* pWndActivate);
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDINext();
    void MDIPrev();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDICascade(int nType = 0);
    void MDITile(int nType = MDITILE_VERTICAL);
    void MDIIconArrange();
    // A new menu bar and a new window menu (either may be null to keep it); the old menu bar.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    // The popup of the menu bar that holds the window commands (ID_WINDOW_NEW to ID_WINDOW_SPLIT).
    static HMENU GetWindowMenuPopup(HMENU hMenuBar);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // The client follows the frame's layout: it fills what the bars leave.
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnWindowCommand(UINT nID);

protected:
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    // Made through the main frame's client; the parent defaults to the application's main
    // window.
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource,
                   DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    CMDIFrameWnd* GetMDIFrame() const;

    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);

protected:
    HWND CreateHandle(CREATESTRUCTW& cs) override;
    DECLARE_MESSAGE_MAP()
};

DV_EXPORTS_END
