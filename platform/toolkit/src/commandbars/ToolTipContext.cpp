#include "xtp/ToolTipContext.h"

#include "afx/gdi.h"
#include "xtp/PaintManager.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CXTPToolTipContextToolTip, CWnd)
IMPLEMENT_DYNCREATE(CXTPToolTipContext, CCmdTarget)

// --- the tip window ---

CSize CXTPToolTipContextToolTip::CalcToolSize(CDC*) {
    return CSize(0, 0);
}

void CXTPToolTipContextToolTip::DrawContent(CDC*, CRect) {}

void CXTPToolTipContextToolTip::DrawBackground(CDC*, CRect) {}

void CXTPToolTipContextToolTip::OnVisibleChanged(BOOL) {}

void CXTPToolTipContextToolTip::SetOwnWindowPos(int x, int y, int cx, int cy, UINT flags) {
    const BOOL was = m_bOwnSizing;
    m_bOwnSizing = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, cx, cy, flags | SWP_NOACTIVATE);
    m_bOwnSizing = was;
}

void CXTPToolTipContextToolTip::EnsureIsVisible() {
    CRect rc;
    GetWindowRect(&rc);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const CRect screen(mi.rcWork);
    CPoint at = rc.TopLeft();
    // The right and bottom edges first, so that a tip larger than the screen keeps its top left.
    at.x = std::max(screen.left, std::min(at.x, screen.right - rc.Width()));
    at.y = std::max(screen.top, std::min(at.y, screen.bottom - rc.Height()));
    if (at != rc.TopLeft())
        SetOwnWindowPos(at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

LRESULT CXTPToolTipContextToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING: {
        // The control places and sizes the tip before it shows it: that is where the tip is
        // measured. Its own moves (kept on the screen, grown) are not measured again.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (m_bOwnSizing || pos == nullptr || (pos->flags & SWP_NOMOVE) != 0)
            break;
        CDC* dc = GetDC();
        const CSize size = dc != nullptr ? CalcToolSize(dc) : CSize(0, 0);
        if (dc != nullptr)
            ReleaseDC(dc);
        m_bOwnDrawn = size.cx > 0 && size.cy > 0;
        if (m_bOwnDrawn) {
            pos->cx = size.cx;
            pos->cy = size.cy;
            pos->flags &= ~SWP_NOSIZE;
        }
        break;
    }
    case WM_SHOWWINDOW:
        OnVisibleChanged(static_cast<BOOL>(wParam));
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (!m_bOwnDrawn)
            break;
        PAINTSTRUCT ps{};
        HDC hdc = message == WM_PAINT ? ::BeginPaint(m_hWnd, &ps) : reinterpret_cast<HDC>(wParam);
        CRect client;
        GetClientRect(&client);
        {
            CDC dc;
            dc.Attach(hdc);
            DrawBackground(&dc, client);
            DrawContent(&dc, client);
            dc.Detach();
        }
        if (message == WM_PAINT)
            ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// --- the context ---

CXTPToolTipContext::CXTPToolTipContext() = default;

CXTPToolTipContext::~CXTPToolTipContext() {
    destroyToolTip();
}

void CXTPToolTipContext::destroyToolTip() {
    if (m_pToolTip == nullptr)
        return;
    if (m_pToolTip->m_hWnd != nullptr) {
        if (::IsWindow(m_pToolTip->m_hWnd))
            m_pToolTip->DestroyWindow();
        else
            m_pToolTip->Detach();
    }
    delete m_pToolTip;
    m_pToolTip = nullptr;
}

COLORREF CXTPToolTipContext::GetTipTextColor() const {
    return m_clrTipText != CLR_NONE ? m_clrTipText : CXTPPaintManager::Current()->GetColors().clrToolTipText;
}

CFont* CXTPToolTipContext::GetFont() const {
    return CXTPPaintManager::Current()->GetRegularFont();
}

CFont* CXTPToolTipContext::GetBoldFont() const {
    return CXTPPaintManager::Current()->GetRegularBoldFont();
}

CXTPToolTipContextToolTip* CXTPToolTipContext::CreateToolTip(CWnd* pParentWnd) {
    auto* tip = new CXTPToolTipContextToolTip(this);
    if (!tip->CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", GetControlStyle(), 0, 0, 0, 0,
                       pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr)) {
        delete tip;
        return nullptr;
    }
    return tip;
}

void CXTPToolTipContext::ensureWindow(HWND hwndOwner) {
    if (m_pToolTip != nullptr && m_pToolTip->m_hWnd != nullptr && ::IsWindow(m_pToolTip->m_hWnd))
        return;
    destroyToolTip();
    // The tip class is one of the common controls; it may not have been registered yet.
    const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    m_pToolTip = CreateToolTip(CWnd::FromHandle(hwndOwner));
    if (m_pToolTip != nullptr)
        // A tip of several lines (a title over a description) keeps its breaks and wraps.
        ::SendMessageW(m_pToolTip->m_hWnd, TTM_SETMAXTIPWIDTH, 0, 360);
    m_hwndTool = nullptr;
    m_nToolAdded = 0;
}

void CXTPToolTipContext::SetToolTip(HWND hwndOwner, UINT nToolId, CRect rcTool, LPCWSTR lpszText) {
    const CString text = lpszText != nullptr ? lpszText : L"";
    if (m_nToolAdded != 0 && m_pToolTip != nullptr && hwndOwner == m_hwndTool &&
        nToolId == m_pToolTip->m_nToolId && rcTool == m_rcTool && text == m_strText &&
        ::IsWindow(m_pToolTip->m_hWnd))
        return;
    m_strText = text;
    if (!m_bShowToolTips || hwndOwner == nullptr)
        return;
    ensureWindow(hwndOwner);
    if (m_pToolTip == nullptr)
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    if (m_nToolAdded != 0) {
        ti.hwnd = m_hwndTool;
        ti.uId = 1;
        ::SendMessageW(m_pToolTip->m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        m_nToolAdded = 0;
    }
    m_pToolTip->m_nToolId = nToolId;
    m_rcTool = rcTool;
    if (m_strText.IsEmpty())
        return;
    ti.hwnd = hwndOwner;
    ti.uId = 1;
    ti.rect = rcTool;
    ti.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(m_strText));
    ::SendMessageW(m_pToolTip->m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    m_hwndTool = hwndOwner;
    m_nToolAdded = 1;
}

void CXTPToolTipContext::RelayEvent(HWND hwndOwner, UINT message, CPoint point) {
    if (m_pToolTip == nullptr || m_nToolAdded == 0)
        return;
    MSG msg{};
    msg.hwnd = hwndOwner;
    msg.message = message;
    msg.lParam = MAKELPARAM(point.x, point.y);
    ::SendMessageW(m_pToolTip->m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

BOOL CXTPToolTipContext::FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM, LPARAM lParam) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN &&
        message != WM_MBUTTONDOWN && message != WM_LBUTTONUP && message != WM_RBUTTONUP &&
        message != WM_MOUSELEAVE)
        return FALSE;
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    const INT_PTR id = message == WM_MOUSELEAVE ? -1 : pWnd->OnToolHitTest(point, &ti);
    CString text;
    if (ti.lpszText != nullptr && ti.lpszText != LPSTR_TEXTCALLBACKW) {
        text = ti.lpszText;
        std::free(ti.lpszText);
    }
    if (id <= 0) {
        if (m_hwndTool == pWnd->m_hWnd || m_hwndTool == nullptr)
            CancelToolTips();
        return FALSE;
    }
    if (text.IsEmpty())
        text = GetToolText(static_cast<UINT>(id));
    // The tip control shows no tool without a text; a command's card draws its own.
    SetToolTip(pWnd->m_hWnd, static_cast<UINT>(id), CRect(ti.rect), text.IsEmpty() ? L" " : text);
    RelayEvent(pWnd->m_hWnd, message, point);
    return FALSE;
}

CString CXTPToolTipContext::GetToolText(UINT) const {
    return CString();
}

void CXTPToolTipContext::CancelToolTips() {
    if (m_pToolTip != nullptr && m_pToolTip->m_hWnd != nullptr && ::IsWindow(m_pToolTip->m_hWnd))
        ::SendMessageW(m_pToolTip->m_hWnd, TTM_POP, 0, 0);
}
