#include "xtp/ToolBar.h"

#include "window_class.h"
#include "xtp/CommandBars.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPToolBar, CXTPCommandBar)

CXTPToolBar::CXTPToolBar() {
    m_barType = xtpBarTypeNormal;
}

BOOL CXTPToolBar::SetButtons(const UINT* pButtons, int nCount) {
    if (pButtons == nullptr && nCount > 0)
        return FALSE;
    m_pControls->RemoveAll();
    BOOL group = FALSE;
    for (int i = 0; i < nCount; ++i) {
        if (pButtons[i] == 0) {
            group = TRUE;
            continue;
        }
        CXTPControl* c = m_pControls->Add(xtpControlButton, static_cast<int>(pButtons[i]));
        if (c != nullptr)
            c->SetBeginGroup(group && m_pControls->GetCount() > 1);
        group = FALSE;
    }
    return TRUE;
}

void CXTPToolBar::EnableDocking(DWORD dwFlags) {
    m_dwDockingFlags = dwFlags;
    // A bar that may no longer stay on its edge floats (or stays where it is when it cannot).
    static const DWORD edge[] = {xtpFlagAlignTop, xtpFlagAlignBottom, xtpFlagAlignLeft, xtpFlagAlignRight};
    if (dwFlags != 0 && m_barPosition <= xtpBarRight && !(dwFlags & edge[m_barPosition]) &&
        (dwFlags & xtpFlagFloating))
        SetPosition(xtpBarFloating);
}

void CXTPToolBar::SetPosition(XTPBarPosition barPosition) {
    SetDockPosition(barPosition, m_nDockRow, m_nDockOffset);
}

void CXTPToolBar::SetDockPosition(XTPBarPosition barPosition, int nRow, int nOffset) {
    if (barPosition > xtpBarFloating && barPosition != xtpBarNone)
        return;
    const BOOL kindChanges = (barPosition == xtpBarFloating) != (m_barPosition == xtpBarFloating);
    m_barPosition = barPosition;
    m_nDockRow = std::clamp(nRow, 0, 64);
    m_nDockOffset = std::clamp(nOffset, 0, 32767);
    if (kindChanges && m_hWnd != nullptr) {
        // Docked bars are children of the frame, floating ones windows of their own.
        DestroyWindow();
        EnsureWindow();
    }
    DelayLayout();
    if (m_pCommandBars != nullptr)
        m_pCommandBars->RecalcFrameLayout(FALSE);
}

void CXTPToolBar::SetVisible(BOOL bVisible) {
    const BOOL changed = (bVisible != FALSE) != (m_bVisible != FALSE);
    m_bVisible = bVisible;
    if (m_hWnd != nullptr)
        ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
    if (!changed || m_pCommandBars == nullptr)
        return;
    m_pCommandBars->RecalcFrameLayout(FALSE);
    if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
        site->SendMessage(WM_XTP_TOOLBARVISIBLECHANGED, 0, reinterpret_cast<LPARAM>(this));
}

BOOL CXTPToolBar::ShouldSerializeBar() {
    return TRUE;
}

CRect CXTPToolBar::GetGripperRect() const {
    if (m_hWnd == nullptr)
        return CRect(0, 0, 0, 0);
    CRect client;
    GetClientRect(&client);
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    if (m_barPosition == xtpBarFloating)
        return CRect(0, 0, client.right, CXTPDpi::ScaleY(20)); // the title strip
    if (!m_bShowGripper)
        return CRect(0, 0, 0, 0);
    if (IsHorizontal())
        return CRect(2, 3, 2 + pm->GetGripperWidth(), client.bottom - 3);
    return CRect(3, 2, client.right - 3, 2 + pm->GetGripperWidth());
}

CSize CXTPToolBar::CalcDynamicSize(int nLength, DWORD dwMode) {
    const bool stretched = (m_dwFlags & xtpFlagStretched) && nLength > 0 && m_barPosition != xtpBarFloating;
    // Right-aligned controls end where the row does; the content's own extent is what the row
    // would need without them moving.
    m_nStretchedLength = stretched && IsHorizontal() ? nLength : 0;
    const CSize content = CXTPCommandBar::CalcDynamicSize(nLength, dwMode);
    const int thickness = CXTPPaintManager::Current()->GetButtonHeight() + 4;
    CSize size = IsHorizontal() ? CSize(content.cx + 4, std::max<int>(content.cy + 2, thickness))
                                : CSize(std::max<int>(content.cx + 2, thickness), content.cy + 4);
    if ((m_dwFlags & xtpFlagStretched) && nLength > 0 && m_barPosition != xtpBarFloating)
        (IsHorizontal() ? size.cx : size.cy) = nLength;
    if (m_barPosition == xtpBarFloating)
        size.cx = std::max<int>(size.cx, CXTPDpi::ScaleX(80));
    return size;
}

BOOL CXTPToolBar::EnsureWindow() {
    if (m_hWnd != nullptr)
        return TRUE;
    CWnd* site = GetSite();
    if (site == nullptr || site->m_hWnd == nullptr)
        return FALSE;
    const BOOL floating = m_barPosition == xtpBarFloating;
    const DWORD style = (floating ? WS_POPUP : WS_CHILD | WS_CLIPSIBLINGS) | (m_bVisible ? WS_VISIBLE : 0);
    if (!CreateEx(floating ? WS_EX_TOOLWINDOW : 0, pal::xtp::barWindowClass(), m_strTitle, style, 0, 0, 0, 0,
                  site->m_hWnd, nullptr))
        return FALSE;
    m_bLayoutPending = TRUE;
    return TRUE;
}

void CXTPToolBar::DoPropExchange(CXTPPropExchange* pPX) {
    PX_String(pPX, L"Title", m_strTitle, m_strTitle);
    int position = m_barPosition;
    PX_Int(pPX, L"Position", position, m_barPosition);
    int row = m_nDockRow;
    PX_Int(pPX, L"Row", row, m_nDockRow);
    int offset = m_nDockOffset;
    PX_Int(pPX, L"Offset", offset, m_nDockOffset);
    CPoint floating = m_ptFloating;
    PX_Point(pPX, L"FloatingPosition", floating, m_ptFloating);
    BOOL visible = m_bVisible;
    PX_Bool(pPX, L"Visible", visible, m_bVisible);
    if (pPX->IsStoring())
        return;
    SetTitle(m_strTitle);
    m_ptFloating =
        CPoint(std::clamp<LONG>(floating.x, -32000, 32000), std::clamp<LONG>(floating.y, -32000, 32000));
    // A row or an offset out of range, or a place the bar may not take, keeps the one it has.
    if (row < 0 || row > 64)
        row = m_nDockRow;
    if (offset < 0 || offset > 32767)
        offset = m_nDockOffset;
    static const DWORD allowed[] = {xtpFlagAlignTop, xtpFlagAlignBottom, xtpFlagAlignLeft, xtpFlagAlignRight,
                                    xtpFlagFloating};
    if (position >= xtpBarTop && position <= xtpBarFloating &&
        (m_dwDockingFlags == 0 || (m_dwDockingFlags & allowed[position])))
        SetDockPosition(static_cast<XTPBarPosition>(position), row, offset);
    else
        SetDockPosition(m_barPosition, row, offset);
    if (m_hWnd != nullptr && m_barPosition == xtpBarFloating)
        SetWindowPos(nullptr, m_ptFloating.x, m_ptFloating.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetVisible(visible);
}

void CXTPToolBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    CXTPCommandBar::Copy(pCommandBar, bRecursive);
    if (auto* other = dynamic_cast<CXTPToolBar*>(pCommandBar)) {
        m_dwDockingFlags = other->m_dwDockingFlags;
        m_bBuiltIn = other->m_bBuiltIn;
        m_bCloseable = other->m_bCloseable;
        m_bContextMenuPresent = other->m_bContextMenuPresent;
        m_bShowGripper = other->m_bShowGripper;
    }
}

// --- dragging ---

XTPBarPosition CXTPToolBar::GetDropPosition(CPoint ptScreen) const {
    CWnd* site = GetSite();
    if (site == nullptr || site->m_hWnd == nullptr)
        return xtpBarFloating;
    CRect client;
    site->GetClientRect(&client);
    site->ClientToScreen(&client);
    if (!client.PtInRect(ptScreen))
        return xtpBarFloating;
    // Near an edge the bar docks there (when it may); anywhere else in the frame it floats.
    const int band = CXTPDpi::ScaleX(32);
    struct Edge {
        bool near;
        XTPBarPosition position;
        DWORD flag;
    } edges[] = {
        {ptScreen.y < client.top + band + CXTPDpi::ScaleY(60), xtpBarTop, xtpFlagAlignTop},
        {ptScreen.y >= client.bottom - band, xtpBarBottom, xtpFlagAlignBottom},
        {ptScreen.x < client.left + band, xtpBarLeft, xtpFlagAlignLeft},
        {ptScreen.x >= client.right - band, xtpBarRight, xtpFlagAlignRight},
    };
    for (const Edge& e : edges) {
        if (e.near && (m_dwDockingFlags & e.flag))
            return e.position;
    }
    return xtpBarFloating;
}

void CXTPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    const BOOL movable = m_barPosition == xtpBarFloating || (m_dwDockingFlags & xtpFlagFloating);
    if (!GetGripperRect().PtInRect(point) || !movable || m_pCommandBars == nullptr ||
        m_pCommandBars->IsCustomizeMode()) {
        CXTPCommandBar::OnLButtonDown(nFlags, point);
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect rc;
    GetWindowRect(&rc);
    m_bDragging = TRUE;
    m_ptDragStart = screen;
    m_szDragOffset = CSize(screen.x - rc.left, screen.y - rc.top);
    ::SetCapture(m_hWnd);
}

void CXTPToolBar::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_bDragging) {
        CXTPCommandBar::OnMouseMove(nFlags, point);
        return;
    }
    // A floating bar follows the pointer; a docked one moves when it is let go.
    if (m_barPosition != xtpBarFloating)
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    m_ptFloating = CPoint(screen.x - m_szDragOffset.cx, screen.y - m_szDragOffset.cy);
    SetWindowPos(nullptr, m_ptFloating.x, m_ptFloating.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTPToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!m_bDragging) {
        CXTPCommandBar::OnLButtonUp(nFlags, point);
        return;
    }
    m_bDragging = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CPoint screen = point;
    ClientToScreen(&screen);
    const int threshold = CXTPDpi::ScaleX(4);
    if (std::abs(screen.x - m_ptDragStart.x) <= threshold &&
        std::abs(screen.y - m_ptDragStart.y) <= threshold)
        return; // a click on the gripper is no drag
    const XTPBarPosition drop = GetDropPosition(screen);
    if (drop == xtpBarFloating) {
        m_ptFloating = CPoint(screen.x - m_szDragOffset.cx, screen.y - m_szDragOffset.cy);
        SetPosition(xtpBarFloating);
        if (m_hWnd != nullptr)
            SetWindowPos(nullptr, m_ptFloating.x, m_ptFloating.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // A new row after the bars already on that edge.
    int row = 0;
    for (int i = 0; m_pCommandBars != nullptr && i < m_pCommandBars->GetCount(); ++i) {
        CXTPToolBar* other = m_pCommandBars->GetAt(i);
        if (other != this && other->GetPosition() == drop)
            row = std::max(row, other->GetDockRow() + 1);
    }
    SetDockPosition(drop, row, 0);
}
