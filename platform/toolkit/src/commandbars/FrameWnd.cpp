#include "xtp/FrameWnd.h"
#include "xtp/MessageBar.h"

IMPLEMENT_DYNCREATE(CXTPMDIFrameWnd, CMDIFrameWnd)
IMPLEMENT_DYNCREATE(CXTPFrameWnd, CFrameWnd)

int CXTPCommandBarsFrameHook::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                            LRESULT& lResult) {
    // The menu bar follows the MDI children (its system buttons) through its own hook.
    if (m_pHookedCommandBars != nullptr) {
        if (auto* menu = dynamic_cast<CXTPHookManagerHookAble*>(m_pHookedCommandBars->GetMenuBar()))
            return menu->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
    }
    return FALSE;
}

namespace pal::xtp {

BOOL siteWndMsg(CWnd* pFrame, CXTPCommandBarsFrameHook* pHook, CXTPCommandBars* pBars, UINT message,
                WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (pBars == nullptr)
        return FALSE;
    LRESULT result = 0;
    if (pHook != nullptr && pHook->OnHookMessage(pFrame->m_hWnd, message, wParam, lParam, result)) {
        *pResult = result;
        return TRUE;
    }
    return pBars->OnFrameWndMsg(message, wParam, lParam, pResult);
}

void siteRecalcLayout(CFrameWnd* pFrame, CXTPCommandBars* pBars) {
    if (pBars == nullptr || pFrame->m_hWnd == nullptr)
        return;
    // The client (MDI client or view) stands where the frame's own bars left room; the command
    // bars dock inside that room and the client takes the rest.
    HWND client = nullptr;
    if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(pFrame))
        client = mdi->m_hWndMDIClient;
    if (client == nullptr)
        client = ::GetDlgItem(pFrame->m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST));
    CRect room;
    if (client != nullptr) {
        ::GetWindowRect(client, &room);
        pFrame->ScreenToClient(&room);
    } else {
        pFrame->GetClientRect(&room);
    }
    // Message bars stand under the docked bars, above the client.
    const CRect rest = CXTPMessageBar::LayoutUnderCommandBars(pFrame, pBars->LayoutDockedBars(room));
    if (client != nullptr)
        ::MoveWindow(client, rest.left, rest.top, rest.Width(), rest.Height(), TRUE);
}

} // namespace pal::xtp
