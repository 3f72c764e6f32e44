#include "afx/view.h"
#include "afx/controls.h"
#include "afx/dialog.h"
#include "afx/frame.h"
#include "afx/gdi.h"
#include "afx/wndmsg.h"
#include "afxres.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMessage)
ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

// A view first, then its document.
BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

// The document named by the creation context gains the view.
int CView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    const auto* context = static_cast<const CCreateContext*>(lpcs->lpCreateParams);
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

// The frame forgets a view that goes, and the document loses it (and may close with it).
void CView::OnDestroy() {
    if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnUpdate(CView* pSender, LPARAM, CObject*) {
    if (pSender != this)
        Invalidate(TRUE);
}

// The view takes the keyboard only while its top-level window is the active one: a document
// activated under a modal dialog would otherwise activate the disabled main window.
void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (!bActivate || pActivateView != this || GetFocus() == this)
        return;
    CWnd* top = GetTopLevelParent();
    if (top != nullptr && top->m_hWnd == ::GetActiveWindow())
        SetFocus();
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    const int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT)
        return result;
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
    return result;
}

void CView::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && frame->GetActiveView() != this)
        frame->SetActiveView(this, FALSE);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

// No printer is available: a view that declines to prepare the job (the default) ends it there.
void CView::OnFilePrint() {
    CPrintInfo info;
    OnPreparePrinting(&info);
}

void CView::OnFilePrintPreview() {
    CPrintInfo info;
    info.m_bPreview = TRUE;
    OnPreparePrinting(&info);
}

// CScrollView ---------------------------------------------------------------------------------

const SIZE CScrollView::sizeDefault = {0, 0};

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
    m_nMapMode = nMapMode;
    m_totalLog = CSize(std::max(sizeTotal.cx, LONG{0}), std::max(sizeTotal.cy, LONG{0}));
    m_pageDev = sizePage.cx == 0 && sizePage.cy == 0 ? CSize(m_totalLog.cx / 10, m_totalLog.cy / 10)
                                                     : CSize(sizePage);
    m_lineDev =
        sizeLine.cx == 0 && sizeLine.cy == 0 ? CSize(m_pageDev.cx / 10, m_pageDev.cy / 10) : CSize(sizeLine);
    ScrollToPosition(m_pos);
}

void CScrollView::ScrollToPosition(POINT pt) {
    CRect client;
    if (m_hWnd != nullptr)
        GetClientRect(&client);
    const LONG maxX = std::max(LONG{0}, m_totalLog.cx - client.Width());
    const LONG maxY = std::max(LONG{0}, m_totalLog.cy - client.Height());
    const CPoint next(std::clamp(pt.x, LONG{0}, maxX), std::clamp(pt.y, LONG{0}, maxY));
    if (next == m_pos)
        return;
    m_pos = next;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (m_nMapMode != 0)
        pDC->SetMapMode(m_nMapMode);
    pDC->SetViewportOrg(-m_pos.x, -m_pos.y);
    CView::OnPrepareDC(pDC, pInfo);
}

// CFormView -----------------------------------------------------------------------------------

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

// A missing template or a control that cannot be made fails the view (which deletes itself with
// its window). The template's dialog units are those of the system's dialog font.
BOOL CFormView::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    const AFX_DLGTEMPLATE* t = pal::win::findDialogTemplate(static_cast<WORD>(m_nIDTemplate));
    if (t == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    if (!CScrollView::Create(lpszClassName, lpszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID,
                             pContext))
        return FALSE;
    const INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&common);
    const LONG units = ::GetDialogBaseUnits();
    const int baseX = LOWORD(units), baseY = HIWORD(units);
    const auto px = [&](int v) { return v * baseX / 4; };
    const auto py = [&](int v) { return v * baseY / 8; };
    for (size_t i = 0; i < t->count; ++i) {
        const AFX_DLGITEM& item = t->items[i];
        const DWORD style = item.style | WS_CHILD | (item.hidden ? 0 : WS_VISIBLE);
        if (::CreateWindowExW(item.exStyle, item.className, item.text, style, px(item.x), py(item.y),
                              px(item.cx), py(item.cy), m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), nullptr,
                              nullptr) == nullptr) {
            DestroyWindow();
            return FALSE;
        }
    }
    SetScrollSizes(MM_TEXT, CSize(px(t->cx), py(t->cy)));
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}
