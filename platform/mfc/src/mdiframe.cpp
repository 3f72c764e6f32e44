#include "afx/app.h"
#include "afx/mdi.h"
#include "afx/wndmsg.h"
#include "afxres.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

// CMDIFrameWnd --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_SIZE()
ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, &CMDIFrameWnd::OnWindowCommand)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTW, HMENU hWindowMenu) {
    CLIENTCREATESTRUCT ccs{hWindowMenu, AFX_IDM_FIRST_MDICHILD};
    m_hWndMDIClient = ::CreateWindowExW(
        0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(),
        &ccs);
    return m_hWndMDIClient != nullptr;
}

// The menu bar the frame already has names the window menu.
BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext*) {
    return CreateClient(lpcs, GetWindowMenuPopup(::GetMenu(m_hWnd)));
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (hMenuBar == nullptr || !::IsMenu(hMenuBar))
        return nullptr;
    for (int i = 0; i < ::GetMenuItemCount(hMenuBar); ++i) {
        HMENU popup = ::GetSubMenu(hMenuBar, i);
        if (popup == nullptr)
            continue;
        for (int k = 0; k < ::GetMenuItemCount(popup); ++k) {
            const UINT id = ::GetMenuItemID(popup, k);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT)
                return popup;
        }
    }
    return nullptr;
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
    const LRESULT old = ::SendMessageW(
        m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
        reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->m_hMenu : nullptr));
    return CMenu::FromHandle(reinterpret_cast<HMENU>(old));
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnSize(UINT nType, int, int) {
    // Not the default: the frame procedure would give the MDI client the whole client area,
    // over the bars, until the layout puts it in its place.
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    if (pWndActivate != nullptr)
        ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (m_hWndMDIClient == nullptr) {
        if (pbMaximized != nullptr)
            *pbMaximized = FALSE;
        return nullptr;
    }
    const HWND active = reinterpret_cast<HWND>(
        ::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(active));
}

void CMDIFrameWnd::MDINext() {
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIPrev() {
    ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    if (pWnd != nullptr)
        ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    if (pWnd != nullptr)
        ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDICascade(int nType) {
    ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDITile(int nType) {
    ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDIIconArrange() {
    ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

BOOL CMDIFrameWnd::OnWindowCommand(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        return TRUE;
    case ID_WINDOW_CASCADE:
        MDICascade();
        return TRUE;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        return TRUE;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        return TRUE;
    default:
        return FALSE;
    }
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* child = MDIGetActive();
    return child != nullptr ? static_cast<CFrameWnd*>(child) : this;
}

// The active document window (its view, the view's document, itself) first; then this frame
// and the application.
BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CMDIChildWnd* child = MDIGetActive();
        child != nullptr && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// The window menu's entries belong to the client.
BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0 && LOWORD(wParam) >= AFX_IDM_FIRST_MDICHILD) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

// "Application - Document"; with a maximised document window the client adds its title.
void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CString title = m_strTitle;
    BOOL maximised = FALSE;
    CMDIChildWnd* child = MDIGetActive(&maximised);
    if (bAddToTitle && child != nullptr && !maximised) {
        if (CDocument* doc = child->GetActiveDocument(); doc != nullptr && !doc->GetTitle().IsEmpty())
            title = m_strTitle + L" - " + doc->GetTitle();
    }
    SetWindowText(title);
}

// CMDIChildWnd --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_MDIACTIVATE()
ON_WM_CLOSE()
ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CHILD;
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (pParentWnd == nullptr)
        pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = lpszWindowName;
    const bool byDefault = rect.left == CW_USEDEFAULT;
    // Shown by ActivateFrame once the document is ready.
    return CreateEx(0, lpszClassName, lpszWindowName, (dwStyle | WS_CHILD) & ~WS_VISIBLE, rect.left,
                    byDefault ? CW_USEDEFAULT : rect.top, byDefault ? CW_USEDEFAULT : rect.right - rect.left,
                    byDefault ? CW_USEDEFAULT : rect.bottom - rect.top, pParentWnd->m_hWndMDIClient, nullptr,
                    pContext);
}

HWND CMDIChildWnd::CreateHandle(CREATESTRUCTW& cs) {
    MDICREATESTRUCTW mcs{cs.lpszClass,
                         cs.lpszName,
                         cs.hInstance,
                         cs.x,
                         cs.y,
                         cs.cx,
                         cs.cy,
                         static_cast<DWORD>(cs.style),
                         reinterpret_cast<LPARAM>(cs.lpCreateParams)};
    return reinterpret_cast<HWND>(
        ::SendMessageW(cs.hwndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
    CString title;
    title.LoadString(nIDResource);
    const int newline = title.Find(L'\n');
    if (newline >= 0)
        title = title.Left(newline);
    return Create(nullptr, title, dwDefaultStyle & ~FWS_ADDTOTITLE, rectDefault,
                  dynamic_cast<CMDIFrameWnd*>(pParentWnd), pContext);
}

// The creation context rides in the client's creation parameter.
int CMDIChildWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    const auto* mcs = static_cast<const MDICREATESTRUCTW*>(lpcs->lpCreateParams);
    auto* context = mcs != nullptr ? reinterpret_cast<CCreateContext*>(mcs->lParam) : nullptr;
    return OnCreateClient(lpcs, context) ? 0 : -1;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    CWnd* client = GetParent();
    return client != nullptr ? dynamic_cast<CMDIFrameWnd*>(client->GetParent()) : nullptr;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::MDIDestroy() {
    if (CWnd* client = GetParent())
        ::SendMessageW(client->m_hWnd, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIActivate() {
    if (CWnd* client = GetParent())
        ::SendMessageW(client->m_hWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
    if (CWnd* client = GetParent())
        ::SendMessageW(client->m_hWnd, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
    if (CWnd* client = GetParent())
        ::SendMessageW(client->m_hWnd, WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == SW_SHOWMAXIMIZED) {
        ShowWindow(SW_SHOW);
        MDIMaximize();
    } else if (!IsWindowVisible()) {
        ShowWindow(SW_SHOW);
    } else if (IsIconic()) {
        MDIRestore();
    }
    MDIActivate();
    UpdateWindow();
}

// The active view hears that its frame became active or stopped being so; the main frame's
// title follows the active document.
void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    if (CView* view = GetActiveView())
        view->OnActivateView(bActivate, view, view);
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CString title = m_strTitle;
    if (bAddToTitle) {
        if (CDocument* doc = GetActiveDocument(); doc != nullptr)
            title = doc->GetTitle();
    }
    SetWindowText(title);
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnUpdateFrameTitle(TRUE);
}

// Maximised or not, the main caption changes with it.
void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    CFrameWnd::OnSize(nType, cx, cy);
    if (CMDIFrameWnd* frame = GetMDIFrame())
        frame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnClose() {
    CFrameWnd::OnClose();
}

const UINT AFX_WM_CHANGING_ACTIVE_TAB = ::RegisterWindowMessageW(L"AFX_WM_CHANGING_ACTIVE_TAB");
