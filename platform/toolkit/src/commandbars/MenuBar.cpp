#include "xtp/MenuBar.h"

#include "xtp/CommandBars.h"

IMPLEMENT_DYNCREATE(CXTPMenuBar, CXTPToolBar)

CXTPMenuBar::CXTPMenuBar() {
    m_barType = xtpBarTypeMenuBar;
    m_dwFlags = xtpFlagStretched;
    m_bShowGripper = FALSE;
    m_bCloseable = FALSE;
}

CXTPMenuBar::~CXTPMenuBar() = default;

BOOL CXTPMenuBar::LoadMenu(CMenu* pMenu) {
    m_pControls->RemoveAll();
    if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr)
        return FALSE;
    const BOOL loaded = m_pControls->LoadMenu(pMenu);
    // Items of the bar itself are menus: a command item there stays a button.
    DelayLayout();
    return loaded;
}

int CXTPMenuBar::OnHookMessage(HWND, UINT nMessage, WPARAM&, LPARAM&, LRESULT&) {
    switch (nMessage) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case WM_MDIDESTROY:
    case WM_MDIACTIVATE:
    case WM_MDIRESTORE:
    case WM_MDIMAXIMIZE:
    case WM_MDITILE:
    case WM_MDICASCADE:
        RefreshSysButtons();
        break;
    default:
        break;
    }
    return FALSE;
}
