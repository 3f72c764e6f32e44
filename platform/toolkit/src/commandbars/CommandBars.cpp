#include "xtp/CommandBars.h"

#include "xtp/ControlEdit.h"
#include "xtp/MouseManager.h"
#include "xtp/PaintManager.h"
#include "xtp/ShortcutManager.h"
#include "xtp/ToolTipContext.h"

#include "pal/responder.h"

#include <algorithm>
#include <map>
#include <optional>

IMPLEMENT_DYNCREATE(CXTPCommandBars, CCmdTarget)

namespace {

constexpr UINT kMenuBarId = 0xE81A;
constexpr UINT kToolbarsListFirst = 0xE850;

bool isKey(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
           message == WM_SYSKEYUP || message == WM_CHAR || message == WM_SYSCHAR;
}

// The sets that dock along a site's edges beside the site's own, by site.
std::map<const CWnd*, std::vector<CXTPCommandBars*>>& dockingSets() {
    static auto* sets = new std::map<const CWnd*, std::vector<CXTPCommandBars*>>;
    return *sets;
}

void leaveDockingSets(CXTPCommandBars* bars, const CWnd* site) {
    const auto found = dockingSets().find(site);
    if (found == dockingSets().end())
        return;
    std::erase(found->second, bars);
    if (found->second.empty())
        dockingSets().erase(found);
}

} // namespace

CXTPCommandBars::CXTPCommandBars()
    : m_pOptions(new CXTPCommandBarsOptions), m_pToolTipContext(new CXTPToolTipContext) {}

CXTPCommandBars::~CXTPCommandBars() {
    leaveDockingSets(this, m_pFrame);
    RemoveAll();
    m_pOptions->InternalRelease();
    m_pToolTipContext->InternalRelease();
}

CXTPCommandBars* CXTPCommandBars::CreateCommandBars(CRuntimeClass* pCommandBarsClass) {
    if (pCommandBarsClass == nullptr)
        return new CXTPCommandBars;
    if (!pCommandBarsClass->IsDerivedFrom(RUNTIME_CLASS(CXTPCommandBars)))
        return nullptr;
    CObject* made = pCommandBarsClass->CreateObject();
    auto* bars = dynamic_cast<CXTPCommandBars*>(made);
    if (bars == nullptr)
        delete made;
    return bars;
}

void CXTPCommandBars::SetSite(CWnd* pFrame) {
    if (pFrame != m_pFrame)
        leaveDockingSets(this, m_pFrame);
    m_pFrame = pFrame;
}

void CXTPCommandBars::EnableDocking() {
    m_bDocking = TRUE;
    if (m_pFrame == nullptr)
        return;
    std::vector<CXTPCommandBars*>& sets = dockingSets()[m_pFrame];
    if (std::find(sets.begin(), sets.end(), this) == sets.end())
        sets.push_back(this);
}

std::vector<CXTPCommandBars*> CXTPCommandBars::GetDockingSetsOf(const CWnd* pSite) {
    const auto found = dockingSets().find(pSite);
    return found != dockingSets().end() ? found->second : std::vector<CXTPCommandBars*>{};
}

void CXTPCommandBars::SetToolTipContext(CXTPToolTipContext* pContext) {
    if (pContext == nullptr || pContext == m_pToolTipContext)
        return;
    m_pToolTipContext->InternalRelease();
    m_pToolTipContext = pContext;
}

// --- bars ---

CXTPToolBar* CXTPCommandBars::Add(LPCWSTR lpszName, XTPBarPosition xtpPosition,
                                  CRuntimeClass* pToolbarClass) {
    CRuntimeClass* cls = pToolbarClass != nullptr ? pToolbarClass : RUNTIME_CLASS(CXTPToolBar);
    if (!cls->IsDerivedFrom(RUNTIME_CLASS(CXTPToolBar)))
        return nullptr;
    CObject* made = cls->CreateObject();
    auto* bar = dynamic_cast<CXTPToolBar*>(made);
    if (bar == nullptr) {
        delete made;
        return nullptr;
    }
    if (!Add(bar, lpszName, xtpPosition))
        return nullptr;
    return bar;
}

BOOL CXTPCommandBars::Add(CXTPToolBar* pToolBar, LPCWSTR lpszName, XTPBarPosition xtpPosition) {
    if (pToolBar == nullptr)
        return FALSE;
    pToolBar->SetCommandBars(this);
    pToolBar->m_strTitle = lpszName != nullptr ? lpszName : L"";
    // A bar of no edge (xtpBarNone) stays out of the layout until it is placed.
    if (xtpPosition <= xtpBarFloating || xtpPosition == xtpBarNone)
        pToolBar->m_barPosition = xtpPosition;
    // A new bar takes a row of its own after the others on its edge.
    int row = 0;
    for (CXTPToolBar* other : m_arrBars) {
        if (other->GetPosition() == pToolBar->GetPosition())
            row = std::max(row, other->GetDockRow() + 1);
    }
    pToolBar->m_nDockRow = std::min(row, 64);
    m_arrBars.push_back(pToolBar);
    if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr && !pToolBar->EnsureWindow()) {
        m_arrBars.pop_back();
        pToolBar->InternalRelease();
        return FALSE;
    }
    RecalcFrameLayout(TRUE);
    return TRUE;
}

CXTPMenuBar* CXTPCommandBars::SetMenu(LPCWSTR lpszName, UINT nID) {
    if (CXTPMenuBar* old = CXTPCommandBars::GetMenuBar())
        Remove(old);
    auto* bar = new CXTPMenuBar;
    bar->m_nBarID = nID != 0 ? nID : kMenuBarId;
    bar->m_nDockRow = 0;
    if (!Add(bar, lpszName, xtpBarTop))
        return nullptr;
    // The menu bar takes the first row: the others move down one.
    for (CXTPToolBar* other : m_arrBars) {
        if (other != bar && other->GetPosition() == xtpBarTop)
            other->m_nDockRow = std::min(other->m_nDockRow + 1, 64);
    }
    bar->m_nDockRow = 0;
    return bar;
}

CXTPMenuBar* CXTPCommandBars::GetMenuBar() const {
    for (CXTPToolBar* bar : m_arrBars) {
        if (auto* menu = dynamic_cast<CXTPMenuBar*>(bar))
            return menu;
    }
    return nullptr;
}

CXTPToolBar* CXTPCommandBars::AddCustomBar(LPCWSTR lpszName, UINT nID, BOOL bTearOffBar) {
    CXTPToolBar* bar = Add(lpszName, bTearOffBar ? xtpBarFloating : xtpBarTop);
    if (bar != nullptr) {
        bar->m_nBarID = nID;
        bar->m_bBuiltIn = FALSE;
    }
    return bar;
}

CXTPToolBar* CXTPCommandBars::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_arrBars[static_cast<size_t>(nIndex)];
}

CXTPToolBar* CXTPCommandBars::GetToolBar(UINT nID) const {
    if (nID == 0)
        return nullptr;
    for (CXTPToolBar* bar : m_arrBars) {
        if (bar->GetBarID() == nID)
            return bar;
    }
    return nullptr;
}

void CXTPCommandBars::Remove(CXTPToolBar* pToolBar) {
    const auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pToolBar);
    if (it == m_arrBars.end())
        return;
    m_arrBars.erase(it);
    popTracking(pToolBar);
    pToolBar->SetTrackingMode(FALSE);
    if (pToolBar->m_hWnd != nullptr)
        pToolBar->DestroyWindow();
    OnToolBarRemoved(pToolBar);
    pToolBar->m_pCommandBars = nullptr;
    pToolBar->InternalRelease();
    RecalcFrameLayout(TRUE);
}

void CXTPCommandBars::RemoveAll() {
    ClosePopups();
    while (!m_arrBars.empty())
        Remove(m_arrBars.back());
}

void CXTPCommandBars::DockRightOf(CXTPToolBar* pBarToDock, CXTPToolBar* pBarOnLeft) {
    if (pBarToDock == nullptr || pBarOnLeft == nullptr || pBarToDock == pBarOnLeft ||
        pBarOnLeft->GetPosition() > xtpBarRight)
        return;
    const BOOL horizontal = pBarOnLeft->GetPosition() <= xtpBarBottom;
    CRect rc(0, 0, 0, 0);
    if (pBarOnLeft->m_hWnd != nullptr)
        pBarOnLeft->GetWindowRect(&rc);
    const CSize size = rc.IsRectEmpty() ? pBarOnLeft->CalcDynamicSize(-1, 0) : rc.Size();
    pBarToDock->SetDockPosition(pBarOnLeft->GetPosition(), pBarOnLeft->GetDockRow(),
                                pBarOnLeft->GetDockOffset() + (horizontal ? size.cx : size.cy));
}

void CXTPCommandBars::ToggleVisible(int nIndex) {
    if (CXTPToolBar* bar = GetAt(nIndex))
        bar->SetVisible(!bar->IsVisible());
}

// --- controls ---

CXTPControl* CXTPCommandBars::CreateControl(XTPControlType type, int nId, CXTPCommandBar* pBar, CMenu* pMenu,
                                            int nIndex, LPCWSTR lpszCaption) {
    XTP_COMMANDBARS_CREATECONTROL cs;
    cs.nID = static_cast<UINT>(nId);
    cs.controlType = type;
    cs.pCommandBar = pBar;
    cs.pMenu = pMenu;
    cs.nIndex = nIndex;
    cs.strCaption = lpszCaption != nullptr ? lpszCaption : L"";
    cs.bToolBar = pBar != nullptr && !pBar->IsPopupBar() && pBar->GetType() != xtpBarTypeMenuBar;
    if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) {
        cs.hwndOwner = m_pFrame->m_hWnd;
        if (m_pFrame->SendMessage(WM_XTP_CREATECONTROL, 0, reinterpret_cast<LPARAM>(&cs)) != 0 &&
            cs.pControl != nullptr)
            return cs.pControl;
    }
    CXTPControl* control = CXTPControl::CreateControl(cs.controlType);
    control->m_nId = nId;
    if (cs.buttonStyle != xtpButtonAutomatic)
        control->m_buttonStyle = cs.buttonStyle;
    return control;
}

CXTPControl* CXTPCommandBars::FindControl(XTPControlType type, int nId, BOOL bVisible,
                                          BOOL bRecursive) const {
    for (int pass = 0; pass < 2; ++pass) {
        for (CXTPToolBar* bar : m_arrBars) {
            if ((pass == 0) != (bar->IsVisible() != FALSE))
                continue;
            if (CXTPControl* c = bar->GetControls()->FindControl(type, nId, bVisible, bRecursive))
                return c;
        }
    }
    return nullptr;
}

void CXTPCommandBars::HideCommands(const UINT* pCommands, int nCount) {
    for (int i = 0; pCommands != nullptr && i < nCount; ++i)
        HideCommand(pCommands[i]);
}

void CXTPCommandBars::HideCommand(UINT nCommand) {
    if (std::find(m_hiddenCommands.begin(), m_hiddenCommands.end(), nCommand) == m_hiddenCommands.end())
        m_hiddenCommands.push_back(nCommand);
}

BOOL CXTPCommandBars::IsControlHidden(CXTPControl* pControl) const {
    return pControl != nullptr && !m_pOptions->bAlwaysShowFullMenus &&
           std::find(m_hiddenCommands.begin(), m_hiddenCommands.end(),
                     static_cast<UINT>(pControl->GetID())) != m_hiddenCommands.end();
}

// --- layout ---

CRect CXTPCommandBars::LayoutDockedBars(CRect rcAvail) {
    // Top and bottom rows first (across the whole width), then left and right columns in what
    // is left between them.
    static const XTPBarPosition order[] = {xtpBarTop, xtpBarBottom, xtpBarLeft, xtpBarRight};
    for (XTPBarPosition side : order) {
        std::map<int, std::vector<CXTPToolBar*>> rows;
        for (CXTPToolBar* bar : m_arrBars) {
            if (bar->GetPosition() == side && bar->m_bVisible && !m_bPreviewMode && m_bDocking &&
                bar->EnsureWindow())
                rows[bar->GetDockRow()].push_back(bar);
        }
        const BOOL horizontal = side == xtpBarTop || side == xtpBarBottom;
        for (auto& [row, bars] : rows) {
            std::stable_sort(bars.begin(), bars.end(), [](CXTPToolBar* a, CXTPToolBar* b) {
                return a->GetDockOffset() < b->GetDockOffset();
            });
            const int length = horizontal ? rcAvail.Width() : rcAvail.Height();
            int thickness = 0;
            std::vector<CSize> sizes;
            for (CXTPToolBar* bar : bars) {
                const CSize s = bar->CalcDynamicSize(length, 0);
                sizes.push_back(s);
                thickness = std::max<int>(thickness, horizontal ? s.cy : s.cx);
            }
            int along = 0;
            for (size_t i = 0; i < bars.size(); ++i) {
                CXTPToolBar* bar = bars[i];
                const int extent = std::min<int>(horizontal ? sizes[i].cx : sizes[i].cy, length);
                int start = std::max(along, bar->GetDockOffset());
                // A bar that would run past the end slides back as far as the bars before allow.
                if (start + extent > length)
                    start = std::max(along, length - extent);
                CRect rc;
                if (side == xtpBarTop)
                    rc = CRect(rcAvail.left + start, rcAvail.top, rcAvail.left + start + extent,
                               rcAvail.top + thickness);
                else if (side == xtpBarBottom)
                    rc = CRect(rcAvail.left + start, rcAvail.bottom - thickness,
                               rcAvail.left + start + extent, rcAvail.bottom);
                else if (side == xtpBarLeft)
                    rc = CRect(rcAvail.left, rcAvail.top + start, rcAvail.left + thickness,
                               rcAvail.top + start + extent);
                else
                    rc = CRect(rcAvail.right - thickness, rcAvail.top + start, rcAvail.right,
                               rcAvail.top + start + extent);
                bar->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                bar->OnRecalcLayout();
                bar->Invalidate(FALSE);
                along = start + extent;
            }
            if (side == xtpBarTop)
                rcAvail.top += thickness;
            else if (side == xtpBarBottom)
                rcAvail.bottom -= thickness;
            else if (side == xtpBarLeft)
                rcAvail.left += thickness;
            else
                rcAvail.right -= thickness;
            if (rcAvail.bottom < rcAvail.top)
                rcAvail.bottom = rcAvail.top;
            if (rcAvail.right < rcAvail.left)
                rcAvail.right = rcAvail.left;
        }
    }
    // Floating bars stand where they were put, sized to their controls.
    for (CXTPToolBar* bar : m_arrBars) {
        if (bar->GetPosition() != xtpBarFloating || !bar->m_bVisible || m_bPreviewMode ||
            !bar->EnsureWindow())
            continue;
        const CSize s = bar->CalcDynamicSize(-1, 0);
        bar->SetWindowPos(nullptr, bar->m_ptFloating.x, bar->m_ptFloating.y, s.cx, s.cy,
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        bar->OnRecalcLayout();
        bar->Invalidate(FALSE);
    }
    for (CXTPToolBar* bar : m_arrBars) {
        if ((!bar->m_bVisible || m_bPreviewMode || bar->GetPosition() > xtpBarFloating) &&
            bar->m_hWnd != nullptr && bar->IsWindowVisible())
            bar->ShowWindow(SW_HIDE);
    }
    return rcAvail;
}

void CXTPCommandBars::RecalcFrameLayout(BOOL bDelay) {
    auto* frame = dynamic_cast<CFrameWnd*>(m_pFrame);
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    if (bDelay) {
        if (!m_bDelayedLayout) {
            m_bDelayedLayout = TRUE;
            // A message makes sure an idle cycle follows, where the layout is done.
            frame->PostMessage(WM_NULL);
        }
        return;
    }
    m_bDelayedLayout = FALSE;
    frame->RecalcLayout();
}

void CXTPCommandBars::UpdateCommandBars() {
    if (m_bDelayedLayout)
        RecalcFrameLayout(FALSE);
    const std::vector<CXTPToolBar*> bars = m_arrBars;
    for (CXTPToolBar* bar : bars) {
        if (bar->m_bVisible && bar->m_hWnd != nullptr)
            bar->OnIdleUpdateCmdUI();
    }
    const std::vector<CXTPCommandBar*> tracking = m_tracking;
    for (CXTPCommandBar* bar : tracking) {
        if (bar->IsPopupBar())
            bar->OnIdleUpdateCmdUI();
    }
}

void CXTPCommandBars::OnSetPreviewMode(BOOL bPreview) {
    if ((bPreview != FALSE) == (m_bPreviewMode != FALSE))
        return;
    ClosePopups();
    m_bPreviewMode = bPreview;
    RecalcFrameLayout(FALSE);
}

// --- messages and keys ---

BOOL CXTPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_IDLEUPDATECMDUI:
        UpdateCommandBars();
        return FALSE; // the frame's own bars update as well
    case WM_SYSCOMMAND:
        // The window menu key (F10 or Alt alone) selects the menu bar.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
            if (CXTPMenuBar* menu = GetMenuBar(); menu != nullptr && menu->IsVisible()) {
                menu->SetTrackingMode(TRUE, TRUE, TRUE);
                *pResult = 0;
                return TRUE;
            }
        }
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            ClosePopups();
        return FALSE;
    case WM_ERASEBKGND: {
        // What the rows of bars leave uncovered is the bars' ground, not the frame's class brush.
        CRect rc;
        m_pFrame->GetClientRect(&rc);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), CXTPPaintManager::Current()->GetColors().clrBarFace);
        ::ExtTextOutW(reinterpret_cast<HDC>(wParam), 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        *pResult = 1;
        return TRUE;
    }
    case WM_ENABLE:
    case WM_CANCELMODE:
        ClosePopups();
        return FALSE;
    default:
        return FALSE;
    }
}

CXTPCommandBar* CXTPCommandBars::GetTrackingBar() const {
    return m_tracking.empty() ? nullptr : m_tracking.back();
}

void CXTPCommandBars::pushTracking(CXTPCommandBar* pBar) {
    if (std::find(m_tracking.begin(), m_tracking.end(), pBar) == m_tracking.end())
        m_tracking.push_back(pBar);
}

void CXTPCommandBars::popTracking(CXTPCommandBar* pBar) {
    m_tracking.erase(std::remove(m_tracking.begin(), m_tracking.end(), pBar), m_tracking.end());
    if (m_tracking.empty())
        m_bKeyboardCues = FALSE;
}

void CXTPCommandBars::ClosePopups() {
    // From the deepest: closing a popup takes the ones opened from it along.
    while (!m_tracking.empty()) {
        CXTPCommandBar* bar = m_tracking.back();
        if (auto* popup = dynamic_cast<CXTPPopupBar*>(bar))
            popup->Close();
        else
            bar->SetTrackingMode(FALSE);
        popTracking(bar);
    }
    m_bKeyboardCues = FALSE;
    m_pToolTipContext->CancelToolTips();
}

void CXTPCommandBars::ShowKeyboardCues(BOOL bShow) {
    m_bKeyboardCues = bShow;
    for (CXTPToolBar* bar : m_arrBars) {
        if (bar->m_hWnd != nullptr)
            bar->Invalidate(FALSE);
    }
}

BOOL CXTPCommandBars::handleAltKey(MSG* pMsg) {
    // Alt pressed and released alone selects the menu bar; Alt with a letter opens the menu of
    // that letter.
    if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYDOWN) && pMsg->wParam == VK_MENU) {
        m_bAltPressed = TRUE;
        return FALSE;
    }
    if ((pMsg->message == WM_SYSKEYUP || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_MENU) {
        const BOOL alone = m_bAltPressed;
        m_bAltPressed = FALSE;
        CXTPMenuBar* menu = GetMenuBar();
        if (!alone || menu == nullptr || !menu->IsVisible())
            return FALSE;
        if (!m_tracking.empty()) {
            ClosePopups();
            return TRUE;
        }
        m_bKeyboardCues = TRUE;
        menu->SetTrackingMode(TRUE, TRUE, TRUE);
        return TRUE;
    }
    if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_KEYDOWN)
        m_bAltPressed = FALSE;
    if (pMsg->message == WM_SYSCHAR && m_tracking.empty()) {
        CXTPMenuBar* menu = GetMenuBar();
        if (menu == nullptr || !menu->IsVisible())
            return FALSE;
        const int index = menu->FindAccel(static_cast<WCHAR>(pMsg->wParam));
        if (index < 0)
            return FALSE;
        m_bKeyboardCues = TRUE;
        menu->SetTrackingMode(TRUE, FALSE, TRUE);
        menu->SetSelected(index, TRUE);
        if (CXTPControl* c = menu->GetControl(index))
            c->OnClick(TRUE);
        return TRUE;
    }
    return FALSE;
}

BOOL CXTPCommandBars::PreTranslateFrameMessage(MSG* pMsg) {
    if (pMsg == nullptr)
        return FALSE;
    // A click outside every tracking bar ends the tracking (the menu bar's own click toggles).
    if ((pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_RBUTTONDOWN ||
         pMsg->message == WM_MBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN) &&
        !m_tracking.empty()) {
        const bool onTracking =
            std::any_of(m_tracking.begin(), m_tracking.end(),
                        [pMsg](CXTPCommandBar* bar) { return bar->m_hWnd == pMsg->hwnd; });
        if (!onTracking)
            ClosePopups();
        return FALSE;
    }
    if (!isKey(pMsg->message))
        return FALSE;
    if (handleAltKey(pMsg))
        return TRUE;
    CXTPCommandBar* bar = GetTrackingBar();
    // Outside tracking, the shortcuts a person assigned run their commands in the site.
    if (bar == nullptr)
        return m_pShortcutManager && m_pFrame != nullptr &&
               m_pShortcutManager->TranslateAccelerator(m_pFrame->m_hWnd, pMsg);
    // The keys belong to the tracking bar; an edit of a control with the focus keeps its own.
    if (CWnd* focus = CWnd::GetFocus();
        focus != nullptr && dynamic_cast<CXTPControlEditCtrl*>(focus) != nullptr)
        return FALSE;
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const UINT key = static_cast<UINT>(pMsg->wParam);
        if (key == VK_MENU || key == VK_SHIFT || key == VK_CONTROL)
            return TRUE;
        if (!bar->OnHookKeyDown(key, pMsg->lParam)) {
            // A letter: its character arrives next and picks the control with that letter.
            ::TranslateMessage(pMsg);
        }
        return TRUE;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
        const int index = bar->FindAccel(static_cast<WCHAR>(pMsg->wParam));
        if (index >= 0) {
            bar->SetSelected(index, TRUE);
            if (CXTPControl* c = bar->GetControl(index))
                c->OnClick(TRUE);
        }
        return TRUE;
    }
    default:
        return TRUE;
    }
}

// --- popups ---

int CXTPCommandBars::TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT rcExclude,
                                    CWnd* pWndOwner) {
    if (pMenu == nullptr || pMenu->GetSafeHmenu() == nullptr)
        return 0;
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(this);
    popup->GetControls()->LoadMenu(pMenu);
    const int result = TrackPopupMenu(popup, nFlags, x, y, pWnd, rcExclude, pWndOwner);
    popup->InternalRelease();
    return result;
}

int CXTPCommandBars::TrackPopupMenu(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pWnd,
                                    LPCRECT rcExclude, CWnd* pWndOwner) {
    if (pPopup == nullptr)
        return 0;
    ClosePopups();
    pPopup->InternalAddRef();
    if (pPopup->GetCommandBars() == nullptr)
        pPopup->SetCommandBars(this);
    if (pWndOwner != nullptr)
        pPopup->SetOwner(pWndOwner);
    const BOOL wasModal = m_bTrackingModal;
    m_bTrackingModal = TRUE;
    m_nTrackedCommand = 0;
    if (!pPopup->Popup(x, y, rcExclude)) {
        m_bTrackingModal = wasModal;
        pPopup->InternalRelease();
        return 0;
    }
    // The popup's own loop: messages are handled until the popup closes (a choice, Esc, a click
    // elsewhere) or the program quits. With nothing to do, a person at the display answers, or
    // else the responder, by command id or by caption.
    pal::responder::Prompt prompt;
    prompt.kind = "PopupMenu";
    prompt.text = L"command bars popup";
    bool journaled = false;
    bool fromResponder = false;
    MSG msg{};
    while (pPopup->IsOpen()) {
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!PreTranslateFrameMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            continue;
        }
        if (pal::responder::personAnswers()) {
            ::WaitMessage();
            continue;
        }
        const std::optional<pal::responder::Answer> answer = pal::responder::take();
        if (!answer) {
            pal::responder::unanswered(prompt, "0");
            journaled = true;
            break;
        }
        fromResponder = true;
        if (answer->number && *answer->number == 0)
            break;
        CXTPControl* found = nullptr;
        if (answer->number) {
            found = pPopup->GetControls()->FindControl(xtpControlError, *answer->number, TRUE, TRUE);
        } else {
            for (CXTPControl* c : *pPopup->GetControls()) {
                if (CXTPDrawHelpers::StripMnemonics(c->GetCaption().GetString()) ==
                    CXTPDrawHelpers::StripMnemonics(answer->text.c_str()))
                    found = c;
            }
        }
        if (found == nullptr || !found->GetEnabled()) {
            pal::responder::refused(prompt, *answer,
                                    found == nullptr ? "the popup has no such item" : "the item is disabled");
            journaled = true;
            break;
        }
        m_nTrackedCommand = static_cast<UINT>(found->GetID());
        break;
    }
    if (!journaled)
        pal::responder::answered(prompt, std::to_string(m_nTrackedCommand),
                                 fromResponder ? "responder" : "input");
    pPopup->Close();
    m_bTrackingModal = wasModal;
    const UINT chosen = m_nTrackedCommand;
    m_nTrackedCommand = 0;
    pPopup->InternalRelease();
    if (nFlags & TPM_RETURNCMD)
        return static_cast<int>(chosen);
    CWnd* target = pWnd != nullptr ? pWnd : m_pFrame;
    if (chosen != 0 && target != nullptr && target->m_hWnd != nullptr)
        target->SendMessage(WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return chosen != 0;
}

CXTPPopupBar* CXTPCommandBars::GetToolbarsPopup() {
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(this);
    for (int i = 0; i < GetCount(); ++i) {
        CXTPToolBar* bar = GetAt(i);
        if (!bar->IsContextMenuPresent() || bar->GetTitle().IsEmpty() ||
            dynamic_cast<CXTPMenuBar*>(bar) != nullptr)
            continue;
        CXTPControl* c =
            popup->GetControls()->Add(new CXTPControlButton, static_cast<int>(kToolbarsListFirst) + i);
        c->SetCaption(bar->GetTitle());
        c->SetChecked(bar->IsVisible());
        c->SetFlags(xtpFlagManualUpdate);
    }
    return popup;
}

void CXTPCommandBars::ContextMenu(CXTPToolBar*, CPoint point) {
    if (m_bCustomizeMode)
        return;
    CXTPPopupBar* popup = GetToolbarsPopup();
    if (popup->GetControlCount() > 0) {
        const int chosen = TrackPopupMenu(popup, TPM_RETURNCMD, point.x, point.y);
        const int index = chosen - static_cast<int>(kToolbarsListFirst);
        if (chosen != 0 && index >= 0 && index < GetCount())
            ToggleVisible(index);
    }
    popup->InternalRelease();
}
