#include "xtp/ToolTipContext.h"

#include "xtp/PaintManager.h"

IMPLEMENT_DYNAMIC(CXTPToolTipContextToolTip, CWnd)
IMPLEMENT_DYNCREATE(CXTPToolTipContext, CCmdTarget)

CXTPToolTipContext::CXTPToolTipContext() = default;

CXTPToolTipContext::~CXTPToolTipContext() {
    if (m_wndToolTip.m_hWnd != nullptr)
        m_wndToolTip.DestroyWindow();
}

COLORREF CXTPToolTipContext::GetTipTextColor() const {
    return m_clrTipText != CLR_NONE ? m_clrTipText : CXTPPaintManager::Current()->GetColors().clrToolTipText;
}

void CXTPToolTipContext::ensureWindow(HWND hwndOwner) {
    if (m_wndToolTip.m_hWnd != nullptr && ::IsWindow(m_wndToolTip.m_hWnd))
        return;
    if (m_wndToolTip.m_hWnd != nullptr)
        m_wndToolTip.Detach();
    // The tip class is one of the common controls; it may not have been registered yet.
    const INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 0, 0, 0, 0, hwndOwner, nullptr, nullptr, nullptr);
    if (tip != nullptr) {
        m_wndToolTip.Attach(tip);
        // A tip of several lines (a title over a description) keeps its breaks and wraps.
        ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 360);
    }
    m_hwndTool = nullptr;
    m_nToolAdded = 0;
}

void CXTPToolTipContext::SetToolTip(HWND hwndOwner, UINT nToolId, CRect rcTool, LPCWSTR lpszText) {
    m_strText = lpszText != nullptr ? lpszText : L"";
    if (!m_bShowToolTips || hwndOwner == nullptr)
        return;
    ensureWindow(hwndOwner);
    if (m_wndToolTip.m_hWnd == nullptr)
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    if (m_nToolAdded != 0) {
        ti.hwnd = m_hwndTool;
        ti.uId = 1;
        ::SendMessageW(m_wndToolTip.m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        m_nToolAdded = 0;
    }
    m_wndToolTip.m_nToolId = nToolId;
    if (m_strText.IsEmpty())
        return;
    ti.hwnd = hwndOwner;
    ti.uId = 1;
    ti.rect = rcTool;
    ti.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(m_strText));
    ::SendMessageW(m_wndToolTip.m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    m_hwndTool = hwndOwner;
    m_nToolAdded = 1;
}

void CXTPToolTipContext::RelayEvent(HWND hwndOwner, UINT message, CPoint point) {
    if (m_wndToolTip.m_hWnd == nullptr || m_nToolAdded == 0)
        return;
    MSG msg{};
    msg.hwnd = hwndOwner;
    msg.message = message;
    msg.lParam = MAKELPARAM(point.x, point.y);
    ::SendMessageW(m_wndToolTip.m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CXTPToolTipContext::CancelToolTips() {
    if (m_wndToolTip.m_hWnd != nullptr && ::IsWindow(m_wndToolTip.m_hWnd))
        ::SendMessageW(m_wndToolTip.m_hWnd, TTM_POP, 0, 0);
}
