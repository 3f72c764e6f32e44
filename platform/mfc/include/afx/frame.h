// Frames: the windows that hold a document's views and the control bars around them. A command
// offered to a frame goes to its active view, which offers it to its document (and the document
// to its template) after the view's own map; then the frame's map, then the application's.
#pragma once

#include "afx/document.h"
#include "afx/view.h"
#include "afx/wnd.h"
#include "pal/visibility.h"

#include <vector>

DV_EXPORTS_BEGIN

class CControlBar;

// What a frame is created with: the view class to make and the document it shows.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;
constexpr UINT AFX_IDS_IDLEMESSAGE = 0xE001;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    // Shows the document's frame for the first time: the first view becomes active, every view
    // hears OnInitialUpdate, the title follows the document.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows or hides a bar of the frame and lays the frame out again.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    CControlBar* GetControlBar(UINT nID);
    // The status bar (AFX_IDW_STATUS_BAR) shows the prompt of command nID, or the idle text for 0.
    void SetMessageText(LPCWSTR lpszText);
    void SetMessageText(UINT nID);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    // The CAP, NUM and SCRL indicators show while their key is toggled on.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // While a modal window of the frame is up, its other top-level windows are disabled.
    virtual void BeginModalState();
    virtual void EndModalState();
    BOOL InModalState() const { return m_cModalStack > 0; }
    // A document of the frame asks before the frame closes; a frame that is its document's
    // last closes the document.
    virtual BOOL CanCloseFrame() { return TRUE; }
    UINT m_nIDTracking = 0;
    UINT m_nIDLastMessage = 0;

    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // The title is the first part (up to "\n") of string resource nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Gives the view (the child with id AFX_IDW_PANE_FIRST) the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Lays the frame's control bars out from its edges, in the order they were made, and returns
    // the room they leave for the view; the view itself is not moved.
    CRect LayoutControlBars();
    // Shows the frame (nCmdShow -1: as it should be shown now) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual CDocument* GetActiveDocument();
    CView* GetActiveView() const { return m_pViewActive; }
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    virtual BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int OnCreate(LPCREATESTRUCTW lpcs);
    // Brings the items of a popup menu up to date through the update handlers before it shows; an
    // item that no handler updates is enabled exactly when some target handles its command.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    BOOL m_bAutoMenuEnable = TRUE;
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    CString m_strTitle;
    // The frame's keyboard accelerators: a key that matches one becomes the command before any
    // window sees the key. The frame does not destroy the table.
    HACCEL m_hAccelTable = nullptr;
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

protected:
    // Frames belong to their window: the object goes with it.
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()

    friend class CControlBar;
    std::vector<CControlBar*> m_listControlBars;
    int m_cModalStack = 0;
    std::vector<HWND> m_disabledForModal;

private:
    CView* m_pViewActive = nullptr;
    CCreateContext* creating_ = nullptr;
};

DV_EXPORTS_END
