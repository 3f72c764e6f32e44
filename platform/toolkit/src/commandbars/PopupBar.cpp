#include "xtp/PopupBar.h"

#include "window_class.h"
#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/ToolBar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPPopupBar, CXTPCommandBar)

namespace {

// Commands the bars hide from short menus take no room there.
bool isHidden(CXTPControl* c) {
    CXTPCommandBars* bars = c->GetCommandBars();
    return bars != nullptr && bars->IsControlHidden(c);
}

int tearOffHeight() {
    return CXTPDpi::ScaleY(9);
}

} // namespace

CXTPPopupBar::CXTPPopupBar() {
    m_barType = xtpBarTypePopup;
    m_barPosition = xtpBarPopup;
    m_bVisible = FALSE;
}

CXTPPopupBar::~CXTPPopupBar() = default;

CXTPPopupBar* CXTPPopupBar::CreatePopupBar(CXTPCommandBars* pCommandBars) {
    auto* bar = new CXTPPopupBar;
    bar->SetCommandBars(pCommandBars);
    return bar;
}

BOOL CXTPPopupBar::EnsureWindow() {
    if (m_hWnd != nullptr)
        return TRUE;
    CWnd* site = GetSite();
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, pal::xtp::popupWindowClass(), L"", WS_POPUP, 0, 0, 0, 0,
                    site != nullptr ? site->m_hWnd : nullptr, nullptr);
}

BOOL CXTPPopupBar::Popup(int x, int y, LPCRECT rcExclude) {
    if (!EnsureWindow())
        return FALSE;
    // The frame finishes the popup before it shows: its controls, then their states.
    if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr) {
        site->SendMessage(WM_XTP_INITCOMMANDSPOPUP, 0, reinterpret_cast<LPARAM>(this));
        site->SendMessage(WM_XTP_INITPOPUP, 0, reinterpret_cast<LPARAM>(static_cast<CXTPCommandBar*>(this)));
    }
    OnUpdateCmdUI();
    const CSize size = CalcDynamicSize(-1, 0);
    // Inside the screen that holds the point; flipped above or to the left of the excluded
    // rectangle when there is no room below or to the right.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoW(::MonitorFromPoint(CPoint(x, y), MONITOR_DEFAULTTONEAREST), &mi);
    const CRect work(mi.rcWork);
    if (x + size.cx > work.right)
        x = rcExclude != nullptr && m_pControlPopup != nullptr && m_pControlPopup->GetParent() != nullptr &&
                    m_pControlPopup->GetParent()->IsPopupBar()
                ? rcExclude->left - size.cx
                : work.right - size.cx;
    if (y + size.cy > work.bottom)
        y = rcExclude != nullptr ? rcExclude->top - size.cy : work.bottom - size.cy;
    x = std::max<int>(x, work.left);
    y = std::max<int>(y, work.top);
    m_bVisible = TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    OnRecalcLayout();
    Invalidate(FALSE);
    SetTrackingMode(TRUE, m_bKeyboardSelect, m_bKeyboardSelect);
    return TRUE;
}

BOOL CXTPPopupBar::Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst) {
    if (pControlPopup == nullptr || pControlPopup->GetParent() == nullptr)
        return FALSE;
    m_pControlPopup = pControlPopup;
    if (m_pCommandBars == nullptr)
        SetCommandBars(pControlPopup->GetCommandBars());
    CXTPCommandBar* parent = pControlPopup->GetParent();
    CRect rc = pControlPopup->GetRect();
    parent->ClientToScreen(&rc);
    m_bKeyboardSelect = bSelectFirst;
    if (parent->IsPopupBar())
        return Popup(rc.right, rc.top - 2, &rc);
    if (!parent->IsHorizontal())
        return Popup(rc.right, rc.top, &rc);
    return Popup(rc.left, rc.bottom, &rc);
}

void CXTPPopupBar::Close() {
    SetTrackingMode(FALSE);
    if (m_pControlPopup != nullptr) {
        CXTPControlPopup* control = m_pControlPopup;
        control->m_bPopup = FALSE;
        if (CXTPCommandBar* parent = control->GetParent();
            parent != nullptr && parent->m_nPopuped == control->GetIndex())
            parent->m_nPopuped = -1;
        control->RedrawParent();
    }
    m_bVisible = FALSE;
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CXTPPopupBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    return CXTPCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
}

BOOL CXTPPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    CXTPControl* selected = GetControl(m_nSelected);
    CXTPCommandBar* parent = m_pControlPopup != nullptr ? m_pControlPopup->GetParent() : nullptr;
    switch (nChar) {
    case VK_ESCAPE:
        Close();
        if (parent != nullptr && !parent->IsPopupBar() && !parent->m_bKeyboardSelect &&
            m_pCommandBars != nullptr)
            m_pCommandBars->ClosePopups();
        return TRUE;
    case VK_LEFT:
        if (parent != nullptr && parent->IsPopupBar()) {
            Close();
            return TRUE;
        }
        if (parent != nullptr && parent->IsHorizontal())
            return parent->OnHookKeyDown(VK_LEFT, lParam);
        return TRUE;
    case VK_RIGHT:
        if (selected != nullptr && selected->GetType() == xtpControlPopup)
            return CXTPCommandBar::OnHookKeyDown(nChar, lParam);
        if (CXTPCommandBar* root = GetRootParent();
            root != this && !root->IsPopupBar() && root->IsHorizontal())
            return root->OnHookKeyDown(VK_RIGHT, lParam);
        return TRUE;
    default:
        return CXTPCommandBar::OnHookKeyDown(nChar, lParam);
    }
}

void CXTPPopupBar::SetTearOffPopup(LPCWSTR lpszCaption, UINT nID, int nWidth) {
    m_bTearOffPopup = TRUE;
    m_strTearOffCaption = lpszCaption != nullptr ? lpszCaption : L"";
    m_nTearOffID = nID;
    m_nTearOffWidth = std::clamp(nWidth, 0, 10000);
    DelayLayout();
}

BOOL CXTPPopupBar::IsTearOffPopup(CString& strCaption, UINT& nID, int& nWidth) const {
    strCaption = m_strTearOffCaption;
    nID = m_nTearOffID;
    nWidth = m_nTearOffWidth;
    return m_bTearOffPopup;
}

CRect CXTPPopupBar::GetTearOffRect() const {
    if (!m_bTearOffPopup || m_hWnd == nullptr)
        return CRect(0, 0, 0, 0);
    CRect client;
    GetClientRect(&client);
    return CRect(2, 2, client.right - 2, 2 + tearOffHeight());
}

CXTPToolBar* CXTPPopupBar::TearOff() {
    if (!m_bTearOffPopup || m_pCommandBars == nullptr)
        return nullptr;
    CXTPCommandBars* bars = m_pCommandBars;
    CXTPToolBar* bar = m_nTearOffID != 0 ? bars->GetToolBar(m_nTearOffID) : nullptr;
    if (bar == nullptr) {
        bar = bars->Add(m_strTearOffCaption, xtpBarFloating);
        if (bar == nullptr)
            return nullptr;
        bar->SetBarID(m_nTearOffID);
        bar->SetBuiltIn(FALSE);
        bar->GetControls()->Copy(m_pControls, TRUE);
        bar->SetWidth(m_nTearOffWidth);
    }
    CRect rc;
    GetWindowRect(&rc);
    bar->SetFloatingPosition(rc.TopLeft());
    bars->ClosePopups();
    bar->SetPosition(xtpBarFloating);
    if (bar->m_hWnd != nullptr)
        bar->SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar->SetVisible(TRUE);
    bars->RecalcFrameLayout(FALSE);
    return bar;
}

void CXTPPopupBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (GetTearOffRect().PtInRect(point)) {
        TearOff();
        return;
    }
    CXTPCommandBar::OnLButtonDown(nFlags, point);
}

CSize CXTPPopupBar::CalcDynamicSize(int, DWORD dwMode) {
    for (CXTPControl* c : *m_pControls)
        c->OnCalcDynamicSize(dwMode);
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    CClientDC dc(m_hWnd != nullptr ? this : nullptr);
    CFont* old = dc.SelectObject(pm->GetRegularFont());
    int width = CXTPDpi::ScaleX(120);
    int height = 2 + (m_bTearOffPopup ? tearOffHeight() + 2 : 0);
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (!c->IsVisible() || isHidden(c))
            continue;
        if (IsSeparatorShown(i))
            height += CXTPDpi::ScaleY(7);
        const CSize size = c->GetSize(&dc);
        width = std::max<int>(width, size.cx);
        height += size.cy;
    }
    dc.SelectObject(old);
    // A width set on the popup is its widest.
    if (m_nMRUWidth > 0)
        width = std::min(width, std::max(m_nMRUWidth, CXTPDpi::ScaleX(40)));
    return CSize(width + 4, height + 2);
}

void CXTPPopupBar::OnRecalcLayout() {
    m_bLayoutPending = FALSE;
    if (m_hWnd == nullptr)
        return;
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    CFont* old = dc.SelectObject(pm->GetRegularFont());
    int y = 2 + (m_bTearOffPopup ? tearOffHeight() + 2 : 0);
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (!c->IsVisible() || isHidden(c)) {
            c->m_rcControl.SetRectEmpty();
            continue;
        }
        if (IsSeparatorShown(i))
            y += CXTPDpi::ScaleY(7);
        const CSize size = c->GetSize(&dc);
        c->m_rcControl = CRect(2, y, client.right - 2, y + size.cy);
        y += size.cy;
    }
    dc.SelectObject(old);
    for (CXTPControl* c : *m_pControls)
        c->OnShowWindow(c->IsVisible());
}

void CXTPPopupBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CXTPCommandBar::DrawCommandBar(pDC, rcClipBox);
    const CRect tear = GetTearOffRect();
    if (!tear.IsRectEmpty()) {
        const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
        pDC->FillSolidRect(&tear, c.clrCaptionFace);
        // Dots across the strip say it can be dragged away.
        for (int x = tear.CenterPoint().x - 12; x <= tear.CenterPoint().x + 12; x += 4)
            pDC->FillSolidRect(x, tear.CenterPoint().y - 1, 2, 2, c.clrCaptionText);
    }
}

void CXTPPopupBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    CXTPCommandBar::Copy(pCommandBar, bRecursive);
    if (auto* other = dynamic_cast<CXTPPopupBar*>(pCommandBar)) {
        m_bTearOffPopup = other->m_bTearOffPopup;
        m_strTearOffCaption = other->m_strTearOffCaption;
        m_nTearOffID = other->m_nTearOffID;
        m_nTearOffWidth = other->m_nTearOffWidth;
    }
}
