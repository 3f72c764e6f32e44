// Frames, views and documents, as far as command routing and the first frames need them.
// A command offered to a frame goes to its active view, which offers it to its document
// (and the document to its template) before the view's own map; then the frame's map, then
// the application's.
#pragma once

#include "afx/wnd.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CView;
class CDocTemplate;
class CFrameWnd;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCWSTR lpszTitle) { m_strTitle = lpszTitle; }
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {}

    CDocument* m_pDocument = nullptr;

protected:
    // Views belong to their window: the object goes with it.
    void PostNcDestroy() override { delete this; }
};

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

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // The title is the first part (up to "\n") of string resource nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Gives the view (the child with id AFX_IDW_PANE_FIRST) the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
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

private:
    CView* m_pViewActive = nullptr;
    CCreateContext* creating_ = nullptr;
};

DV_EXPORTS_END
