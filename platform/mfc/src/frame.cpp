#include "afx/frame.h"
#include "afx/app.h"
#include "afx/controlbar.h"
#include "afx/wndmsg.h"
#include "afxres.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

// CFrameWnd -----------------------------------------------------------------------------------

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
ON_WM_MENUSELECT()
ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
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
    // A frame that failed is gone already (PostNcDestroy deleted it).
    if (created)
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

// The keyboard goes on to the active view, so a document window activated or a main window
// given back its activation after a dialog has the keys where the person works.
void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    if (m_pViewActive != nullptr && ::IsWindow(m_pViewActive->m_hWnd))
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
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

// The bars take their height from the top and bottom edges in the order they were made; the
// view (or client) gets the rest.
void CFrameWnd::RecalcLayout(BOOL) {
    const CRect room = LayoutControlBars();
    if (CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST)))
        pane->MoveWindow(&room);
}

CRect CFrameWnd::LayoutControlBars() {
    CRect client;
    GetClientRect(&client);
    for (CControlBar* bar : m_listControlBars) {
        if (bar->m_hWnd == nullptr || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        const CSize size = bar->CalcFixedLayout(TRUE, TRUE);
        const int height = std::min(static_cast<int>(size.cy), client.Height());
        if (bar->m_dwStyle & CBRS_ALIGN_BOTTOM) {
            bar->MoveWindow(client.left, client.bottom - height, client.Width(), height);
            client.bottom -= height;
        } else {
            bar->MoveWindow(client.left, client.top, client.Width(), height);
            client.top += height;
        }
    }
    return client;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    for (CControlBar* bar : m_listControlBars) {
        if (static_cast<UINT>(bar->GetDlgCtrlID()) == nID)
            return bar;
    }
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    if (!bDelay)
        RecalcLayout();
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible) {
    CView* view = GetActiveView();
    if (view == nullptr) {
        // The first pane, inside a splitter when the frame has one.
        HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST));
        while (pane != nullptr && dynamic_cast<CView*>(CWnd::FromHandlePermanent(pane)) == nullptr)
            pane = ::GetDlgItem(pane, static_cast<int>(AFX_IDW_PANE_FIRST));
        view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(pane));
        if (view != nullptr)
            SetActiveView(view, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (bMakeVisible) {
        ActivateFrame();
        if (view != nullptr)
            view->OnActivateView(TRUE, view, view);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText) {
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) {
    SendMessage(WM_SETMESSAGESTRING, nID, 0);
}

// The status bar shows the given text, or the prompt of the command id (nothing for 0, the idle
// text for AFX_IDS_IDLEMESSAGE); the answer is the id shown before.
LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    const UINT previous = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    CWnd* bar = GetDlgItem(static_cast<int>(AFX_IDW_STATUS_BAR));
    if (bar == nullptr)
        return previous;
    CString text;
    if (lParam != 0) {
        text = reinterpret_cast<LPCWSTR>(lParam);
    } else if (wParam == AFX_IDS_IDLEMESSAGE) {
        if (!text.LoadString(AFX_IDS_IDLEMESSAGE))
            text = L"Ready";
    } else if (wParam != 0) {
        GetMessageString(static_cast<UINT>(wParam), text);
    }
    bar->SetWindowText(text);
    return previous;
}

// A menu item under the pointer shows its prompt; popups and separators show nothing, and the
// idle text returns when the menu closes.
void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    constexpr UINT kPopup = 0x0010, kSeparator = 0x0800;
    if (nFlags == 0xFFFF && hSysMenu == nullptr)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    else if (nItemID == 0 || (nFlags & (kPopup | kSeparator)))
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    SendMessage(WM_SETMESSAGESTRING, m_nIDTracking, 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    const int key = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
                    : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                        : VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

void CFrameWnd::BeginModalState() {
    if (m_cModalStack++ > 0)
        return;
    if (IsWindowEnabled()) {
        m_disabledForModal.push_back(m_hWnd);
        EnableWindow(FALSE);
    }
}

void CFrameWnd::EndModalState() {
    if (m_cModalStack == 0 || --m_cModalStack > 0)
        return;
    for (HWND h : m_disabledForModal)
        ::EnableWindow(h, TRUE);
    m_disabledForModal.clear();
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

// The active view (and through it its document) first, then the frame; a top-level frame then
// offers the command to the application (a document window leaves that to its main frame).
BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (GetStyle() & WS_CHILD)
        return FALSE;
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

// Closing the main window asks the application to save first; a refusal keeps it open. Another
// frame asks its document, and closes the document with it when it is the document's last.
void CFrameWnd::OnClose() {
    const HWND self = m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
        // Closing the documents may have taken this frame already.
        if (::IsWindow(self))
            ::DestroyWindow(self);
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc != nullptr) {
        if (!doc->CanCloseFrame(this))
            return;
        bool other = false;
        for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;) {
            CView* view = doc->GetNextView(pos);
            other = other || view->GetParentFrame() != this;
        }
        if (!other && doc->m_pDocTemplate != nullptr) {
            doc->OnCloseDocument();
            if (::IsWindow(self))
                ::DestroyWindow(self);
            return;
        }
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

// The bars bring their buttons and indicators up to date.
LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    const std::vector<CControlBar*> bars = m_listControlBars;
    for (CControlBar* bar : bars) {
        if (bar->m_hWnd != nullptr && bar->IsWindowVisible())
            bar->OnUpdateCmdUI(this, static_cast<BOOL>(wParam == 0 ? TRUE : wParam));
    }
    return 0;
}
