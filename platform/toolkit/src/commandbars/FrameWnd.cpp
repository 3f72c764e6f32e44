#include "xtp/FrameWnd.h"
#include "xtp/MessageBar.h"

#include <map>

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

namespace {

struct RoomTaker {
    ClientRoomTaker taker;
    void* context;
};

std::map<CFrameWnd*, RoomTaker>& roomTakers() {
    static auto* takers = new std::map<CFrameWnd*, RoomTaker>;
    return *takers;
}

} // namespace

void setClientRoomTaker(CFrameWnd* pFrame, ClientRoomTaker taker, void* context) {
    if (taker == nullptr)
        roomTakers().erase(pFrame);
    else
        roomTakers()[pFrame] = RoomTaker{taker, context};
}

void siteRecalcLayout(CFrameWnd* pFrame, CXTPCommandBars* pBars, const CRect* given) {
    auto taker = roomTakers().find(pFrame);
    if (pFrame->m_hWnd == nullptr)
        return;
    // The client (MDI client or view) stands where the frame's own bars left room; the command
    // bars dock inside that room and the client takes the rest.
    HWND client = nullptr;
    if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(pFrame))
        client = mdi->m_hWndMDIClient;
    if (client == nullptr)
        client = ::GetDlgItem(pFrame->m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST));
    if (pBars == nullptr && taker == roomTakers().end()) {
        if (given != nullptr && client != nullptr)
            ::MoveWindow(client, given->left, given->top, given->Width(), given->Height(), TRUE);
        return;
    }
    CRect room;
    if (given != nullptr) {
        room = *given;
    } else if (client != nullptr) {
        ::GetWindowRect(client, &room);
        pFrame->ScreenToClient(&room);
    } else {
        pFrame->GetClientRect(&room);
    }
    CRect rest = pBars != nullptr ? pBars->LayoutDockedBars(room) : room;
    for (CXTPCommandBars* further : CXTPCommandBars::GetDockingSetsOf(pFrame))
        if (further != pBars)
            rest = further->LayoutDockedBars(rest);
    // Message bars stand under the docked bars, above the panes and the client.
    rest = CXTPMessageBar::LayoutUnderCommandBars(pFrame, rest);
    if (taker != roomTakers().end())
        rest = taker->second.taker(taker->second.context, rest);
    if (client != nullptr)
        ::MoveWindow(client, rest.left, rest.top, rest.Width(), rest.Height(), TRUE);
}

} // namespace pal::xtp
