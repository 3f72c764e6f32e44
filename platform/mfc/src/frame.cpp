#include "afx/frame.h"
#include "afx/app.h"
#include "afx/wndmsg.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

void CDocument::SetPathName(LPCWSTR lpszPathName, BOOL) {
    m_strPathName = lpszPathName;
    const int slash = std::max(m_strPathName.ReverseFind(L'\\'), m_strPathName.ReverseFind(L'/'));
    SetTitle(m_strPathName.Mid(slash + 1));
}

// A document first, then its template.
BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// A view first, then its document.
BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// CFrameWnd -----------------------------------------------------------------------------------

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR, DWORD dwExStyle, CCreateContext* pContext) {
    m_strTitle = lpszWindowName;
    creating_ = pContext;
    const int width = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.right - rect.left;
    const int height = rect.left == CW_USEDEFAULT ? CW_USEDEFAULT : rect.bottom - rect.top;
    const BOOL created =
        CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, width, height,
                 pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr, pContext);
    creating_ = nullptr;
    return created;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    CString title;
    title.LoadString(nIDResource);
    const int newline = title.Find(L'\n');
    if (newline >= 0)
        title = title.Left(newline);
    return Create(nullptr, title, dwDefaultStyle & ~FWS_ADDTOTITLE, rectDefault, pParentWnd, nullptr, 0,
                  pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        pal::mfc::registerLibraryClasses();
        cs.lpszClass = pal::mfc::kFrameClass;
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    return OnCreateClient(lpcs, creating_) ? 0 : -1;
}

// The view named by the creation context fills the frame.
BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* pContext) {
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return TRUE;
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    CView* view = DYNAMIC_DOWNCAST(CView, object);
    if (view == nullptr) {
        delete object;
        return FALSE;
    }
    view->m_pDocument = pContext->m_pCurrentDoc;
    CRect client;
    GetClientRect(&client);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, client, this, AFX_IDW_PANE_FIRST, pContext))
        return FALSE; // the view deleted itself
    SetActiveView(view, FALSE);
    return TRUE;
}

void CFrameWnd::RecalcLayout(BOOL) {
    CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST));
    if (pane == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    pane->MoveWindow(&client);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringWindowToTop();
    }
    UpdateWindow();
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString text;
    rMessage.Empty();
    if (!text.LoadString(nID))
        return;
    const int newline = text.Find(L'\n');
    rMessage = newline >= 0 ? text.Left(newline) : text;
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (old == pViewNew)
        return;
    m_pViewActive = pViewNew;
    if (bNotify && old != nullptr)
        old->OnActivateView(FALSE, pViewNew, old);
    if (bNotify && pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CString title = m_strTitle;
    if (bAddToTitle) {
        if (CDocument* doc = GetActiveDocument(); doc != nullptr && !doc->GetTitle().IsEmpty())
            title = doc->GetTitle() + L" - " + m_strTitle;
    }
    SetWindowText(title);
}

// The active view (and through it its document) first, then the frame, then the application.
BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        const HACCEL table = GetDefaultAccelerator();
        if (table != nullptr && ::TranslateAcceleratorW(m_hWnd, table, pMsg))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

// Closing the main window asks the application to save first; a refusal keeps it open.
void CFrameWnd::OnClose() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
    }
    DestroyWindow();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || pPopupMenu == nullptr)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        // Separators and submenus have no command of their own.
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue;
        state.DoUpdate(this, m_bAutoMenuEnable);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    return 0;
}
