#include "xtp/CommandBar.h"
#include "../shortcuts/ControlTooltip.h"
#include "xtp/Customize.h"

#include "xtp/CommandBars.h"
#include "xtp/ControlEdit.h"
#include "xtp/MouseManager.h"
#include "xtp/PaintManager.h"
#include "xtp/PropExchange.h"
#include "xtp/ToolTipContext.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPCommandBar, CWnd)

CXTPCommandBar::CXTPCommandBar() : m_pControls(new CXTPControls) {
    m_pControls->SetParent(this);
}

CXTPCommandBar::~CXTPCommandBar() {
    XTPMouseManager()->RemoveTrackArray(this);
    if (m_pCommandBars != nullptr)
        m_pCommandBars->popTracking(this);
    m_pControls->SetParent(nullptr);
    m_pControls->RemoveAll();
    m_pControls->InternalRelease();
    if (m_hWnd != nullptr)
        DestroyWindow();
}

DWORD CXTPCommandBar::InternalRelease() {
    const LONG left = --m_dwRef;
    if (left == 0)
        delete this;
    return static_cast<DWORD>(left < 0 ? 0 : left);
}

void CXTPCommandBar::SetControls(CXTPControls* pControls) {
    if (pControls == nullptr || pControls == m_pControls)
        return;
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
    controlsChanged();
}

void CXTPCommandBar::SetTitle(LPCWSTR lpszTitle) {
    m_strTitle = lpszTitle != nullptr ? lpszTitle : L"";
    if (m_hWnd != nullptr)
        SetWindowText(m_strTitle);
}

void CXTPCommandBar::SetFlags(DWORD dwFlagsAdd, DWORD dwFlagsRemove) {
    const DWORD before = m_dwFlags;
    m_dwFlags = (m_dwFlags | dwFlagsAdd) & ~dwFlagsRemove;
    if (before != m_dwFlags)
        DelayLayout();
}

void CXTPCommandBar::SetWidth(int nWidth) {
    m_nMRUWidth = std::clamp(nWidth, 0, 10000);
    DelayLayout();
}

BOOL CXTPCommandBar::IsVisible() const {
    return m_bVisible && m_hWnd != nullptr && ::IsWindowVisible(m_hWnd);
}

void CXTPCommandBar::SetVisible(BOOL bVisible) {
    m_bVisible = bVisible;
    if (m_hWnd != nullptr)
        ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
}

void CXTPCommandBar::SetCommandBars(CXTPCommandBars* pCommandBars) {
    m_pCommandBars = pCommandBars;
    m_pControls->SetCommandBars(pCommandBars);
    // The popups of the controls belong to the same bars.
    for (CXTPControl* c : *m_pControls) {
        if (auto* popup = dynamic_cast<CXTPControlPopup*>(c);
            popup != nullptr && popup->GetCommandBar() != nullptr &&
            popup->GetCommandBar()->GetCommandBars() == nullptr)
            popup->GetCommandBar()->SetCommandBars(pCommandBars);
    }
}

CWnd* CXTPCommandBar::GetSite() const {
    if (m_pOwner != nullptr)
        return m_pOwner;
    return m_pCommandBars != nullptr ? m_pCommandBars->GetSite() : nullptr;
}

CXTPCommandBar* CXTPCommandBar::GetRootParent() const {
    const CXTPCommandBar* bar = this;
    for (int guard = 0;
         bar->m_pControlPopup != nullptr && bar->m_pControlPopup->GetParent() != nullptr && guard < 64;
         ++guard)
        bar = bar->m_pControlPopup->GetParent();
    return const_cast<CXTPCommandBar*>(bar);
}

void CXTPCommandBar::controlsChanged() {
    if (m_nSelected >= GetControlCount())
        m_nSelected = -1;
    DelayLayout();
}

// --- selection, popups, tracking ---

BOOL CXTPCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
    if (nSelected >= GetControlCount())
        nSelected = -1;
    m_bKeyboardSelect = bKeyboard;
    if (nSelected == m_nSelected)
        return FALSE;
    if (CXTPControl* old = GetControl(m_nSelected))
        old->OnSetSelected(FALSE);
    m_nSelected = nSelected;
    if (CXTPControl* now = GetControl(m_nSelected)) {
        now->OnSetSelected(bKeyboard ? 2 : 1);
        // The frame's status bar shows what the control does.
        if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
            site->SendMessage(WM_SETMESSAGESTRING, 0,
                              reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(
                                  now->GetPrompt().IsEmpty() ? now->GetDescription() : now->GetPrompt())));
    }
    return TRUE;
}

BOOL CXTPCommandBar::SetPopuped(int nPopuped, BOOL bKeyboard) {
    if (nPopuped == m_nPopuped)
        return FALSE;
    // Close what is open first (with everything opened from it).
    if (m_nPopuped >= 0) {
        auto* open = dynamic_cast<CXTPControlPopup*>(GetControl(m_nPopuped));
        m_nPopuped = -1;
        if (open != nullptr) {
            open->m_bPopup = FALSE;
            if (auto* bar = dynamic_cast<CXTPPopupBar*>(open->GetCommandBar()))
                bar->Close();
            open->RedrawParent();
        }
    }
    auto* control = dynamic_cast<CXTPControlPopup*>(GetControl(nPopuped));
    if (control == nullptr || control->GetCommandBar() == nullptr)
        return nPopuped < 0;
    auto* popup = dynamic_cast<CXTPPopupBar*>(control->GetCommandBar());
    if (popup == nullptr)
        return FALSE;
    SetSelected(nPopuped, bKeyboard);
    m_nPopuped = nPopuped;
    control->m_bPopup = TRUE;
    control->RedrawParent();
    popup->m_bKeyboardSelect = bKeyboard;
    if (!popup->Popup(control, bKeyboard)) {
        control->m_bPopup = FALSE;
        m_nPopuped = -1;
        return FALSE;
    }
    return TRUE;
}

BOOL CXTPCommandBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    if ((bMode != 0) == (m_bTracking != FALSE))
        return FALSE;
    m_bTracking = bMode != 0;
    if (m_bTracking) {
        XTPMouseManager()->AddTrackArray(this);
        if (m_pCommandBars != nullptr)
            m_pCommandBars->pushTracking(this);
        m_bKeyboardSelect = bKeyboard;
        if (bSelectFirst)
            SetSelected(GetNextFocusable(-1, +1), bKeyboard);
    } else {
        SetPopuped(-1);
        SetSelected(-1);
        m_bKeyboardSelect = FALSE;
        XTPMouseManager()->RemoveTrackArray(this);
        if (m_pCommandBars != nullptr)
            m_pCommandBars->popTracking(this);
    }
    if (m_pCommandBars != nullptr)
        m_pCommandBars->OnTrackingModeChanged(this, bMode);
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
    return TRUE;
}

BOOL CXTPCommandBar::IsKeyboardCuesVisible() const {
    return m_bKeyboardSelect || (m_pCommandBars != nullptr && m_pCommandBars->IsKeyboardCuesVisible());
}

int CXTPCommandBar::GetNextFocusable(int nIndex, int nDirection) const {
    const int count = GetControlCount();
    if (count == 0)
        return -1;
    int i = nIndex;
    for (int step = 0; step < count; ++step) {
        i += nDirection;
        if (i < 0)
            i = count - 1;
        if (i >= count)
            i = 0;
        CXTPControl* c = GetControl(i);
        if (c->IsFocusable() && !c->GetRect().IsRectEmpty())
            return i;
    }
    return -1;
}

int CXTPCommandBar::HitTest(CPoint point) const {
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (c->IsVisible() && c->GetRect().PtInRect(point))
            return i;
    }
    return -1;
}

int CXTPCommandBar::FindAccel(WCHAR chAccel) const {
    if (chAccel == 0)
        return -1;
    const CString key(std::wstring(1, chAccel).c_str());
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (!c->IsVisible() || c->GetRect().IsRectEmpty())
            continue;
        const WCHAR m = CXTPDrawHelpers::GetMnemonic(c->GetCaption());
        if (m != 0 && CXTPDrawHelpers::GetMnemonic(CString(L"&") + key) == m)
            return i;
    }
    return -1;
}

BOOL CXTPCommandBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    CXTPControl* selected = GetControl(m_nSelected);
    if (selected != nullptr && selected->OnHookKeyDown(nChar, lParam))
        return TRUE;
    const BOOL vertical = IsPopupBar() || !IsHorizontal();
    const UINT next = vertical ? VK_DOWN : VK_RIGHT;
    const UINT previous = vertical ? VK_UP : VK_LEFT;
    if (nChar == next || nChar == previous || nChar == VK_TAB) {
        const int to = GetNextFocusable(m_nSelected, nChar == previous ? -1 : +1);
        const BOOL reopen = m_nPopuped >= 0;
        SetSelected(to, TRUE);
        if (reopen && to >= 0)
            SetPopuped(to, TRUE);
        return TRUE;
    }
    switch (nChar) {
    case VK_RETURN:
    case VK_SPACE:
        if (selected != nullptr && selected->GetEnabled())
            selected->OnClick(TRUE);
        return TRUE;
    case VK_ESCAPE:
        if (m_pCommandBars != nullptr && !IsPopupBar())
            m_pCommandBars->ClosePopups();
        return TRUE;
    default:
        return FALSE;
    }
}

// --- layout and painting ---

CSize CXTPCommandBar::CalcDynamicSize(int nLength, DWORD dwMode) {
    for (CXTPControl* c : *m_pControls)
        c->OnCalcDynamicSize(dwMode);
    OnRecalcLayout();
    CRect all(0, 0, 0, 0);
    for (CXTPControl* c : *m_pControls) {
        if (c->IsVisible())
            all.UnionRect(&all, &c->m_rcControl);
    }
    return CSize(all.right, all.bottom);
}

void CXTPCommandBar::OnRecalcLayout() {
    m_bLayoutPending = FALSE;
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    CClientDC dc(m_hWnd != nullptr ? this : nullptr);
    CFont* old = dc.SelectObject(pm->GetRegularFont());
    const BOOL horizontal = IsHorizontal();
    const CRect gripper = GetGripperRect();
    int x = 2;
    int y = 2;
    if (m_barPosition == xtpBarFloating || !horizontal)
        y = gripper.bottom + 2;
    else
        x = gripper.right + 2;
    const int separator = CXTPDpi::ScaleX(7);
    const int thickness = pm->GetButtonHeight();
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (!c->IsVisible()) {
            c->m_rcControl.SetRectEmpty();
            continue;
        }
        if (IsSeparatorShown(i))
            (horizontal ? x : y) += separator;
        const CSize size = c->GetSize(&dc);
        if (horizontal) {
            c->m_rcControl = CRect(x, y, x + size.cx, y + std::max<int>(size.cy, thickness));
            x += size.cx;
        } else {
            c->m_rcControl = CRect(x, y, x + std::max<int>(size.cx, thickness), y + size.cy);
            y += size.cy;
        }
    }
    dc.SelectObject(old);
    // In a stretched row the controls from the first right-aligned one on move to its end.
    if (horizontal && m_nStretchedLength > 0) {
        int first = -1, right = 0;
        for (int i = 0; i < GetControlCount(); ++i) {
            CXTPControl* c = GetControl(i);
            if (!c->IsVisible())
                continue;
            if (first < 0 && (c->GetFlags() & xtpFlagRightAlign))
                first = i;
            right = std::max<int>(right, c->m_rcControl.right);
        }
        const int shift = m_nStretchedLength - 4 - right;
        for (int i = first; first >= 0 && shift > 0 && i < GetControlCount(); ++i)
            if (CXTPControl* c = GetControl(i); c->IsVisible())
                c->m_rcControl.OffsetRect(shift, 0);
    }
    for (CXTPControl* c : *m_pControls)
        c->OnShowWindow(m_hWnd != nullptr && c->IsVisible());
}

void CXTPCommandBar::DelayLayout() {
    m_bLayoutPending = TRUE;
    if (m_pCommandBars != nullptr && !IsPopupBar())
        m_pCommandBars->RecalcFrameLayout(TRUE);
    // An open popup is small: it takes its new size at once.
    if (IsPopupBar() && m_hWnd != nullptr && ::IsWindowVisible(m_hWnd))
        applyPendingLayout();
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

BOOL CXTPCommandBar::IsSeparatorShown(int nIndex) const {
    CXTPControl* c = GetControl(nIndex);
    if (c == nullptr || !c->GetBeginGroup() || !c->IsVisible())
        return FALSE;
    for (int i = 0; i < nIndex; ++i) {
        if (GetControl(i)->IsVisible())
            return TRUE; // not the first visible control
    }
    return FALSE;
}

void CXTPCommandBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CXTPPaintManager* pm = CXTPPaintManager::Current();
    pm->FillCommandBarEntry(pDC, this);
    const CRect gripper = GetGripperRect();
    if (!gripper.IsRectEmpty())
        pm->DrawGripper(pDC, this, gripper);
    CFont* old = pDC->SelectObject(pm->GetRegularFont());
    for (int i = 0; i < GetControlCount(); ++i) {
        CXTPControl* c = GetControl(i);
        if (!c->IsVisible() || c->m_rcControl.IsRectEmpty())
            continue;
        if (IsSeparatorShown(i))
            pm->DrawSeparator(pDC, this, c, IsHorizontal() && !IsPopupBar());
        CRect meet;
        if (meet.IntersectRect(&rcClipBox, &c->m_rcControl))
            c->Draw(pDC);
    }
    pDC->SelectObject(old);
}

// --- command update ---

void CXTPCommandBar::OnUpdateCmdUI() {
    CWnd* site = GetSite();
    if (site == nullptr)
        return;
    for (CXTPControl* c : *m_pControls) {
        if (c->IsVisible() || IsPopupBar())
            c->OnIdleUpdate(site);
    }
}

void CXTPCommandBar::applyPendingLayout() {
    // An open popup takes the size its controls now ask for.
    if (IsPopupBar()) {
        const CSize size = CalcDynamicSize(-1, 0);
        CRect rc;
        GetWindowRect(&rc);
        if (rc.Size() != size)
            SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnRecalcLayout();
}

void CXTPCommandBar::OnIdleUpdateCmdUI() {
    if (m_bLayoutPending && m_hWnd != nullptr) {
        applyPendingLayout();
        Invalidate(FALSE);
    }
    OnUpdateCmdUI();
}

// --- storage ---

void CXTPCommandBar::DoPropExchange(CXTPPropExchange* pPX) {
    PX_String(pPX, L"Title", m_strTitle, m_strTitle);
    UINT id = m_nBarID;
    PX_UInt(pPX, L"BarId", id, m_nBarID);
    m_nBarID = id;
    PX_DWord(pPX, L"Flags", m_dwFlags, m_dwFlags);
    CXTPPropExchangeSection controls(pPX, L"Controls");
    m_pControls->DoPropExchange(controls);
}

void CXTPCommandBar::Copy(CXTPCommandBar* pCommandBar, BOOL bRecursive) {
    if (pCommandBar == nullptr || pCommandBar == this)
        return;
    m_strTitle = pCommandBar->m_strTitle;
    m_nBarID = pCommandBar->m_nBarID;
    m_dwFlags = pCommandBar->m_dwFlags;
    m_barType = pCommandBar->m_barType;
    m_nMRUWidth = pCommandBar->m_nMRUWidth;
    m_bCustomizable = pCommandBar->m_bCustomizable;
    if (m_pCommandBars == nullptr)
        SetCommandBars(pCommandBar->m_pCommandBars);
    m_pControls->Copy(pCommandBar->m_pControls, bRecursive);
}

CXTPCommandBar* CXTPCommandBar::Clone(BOOL bRecursive) {
    CObject* made = GetRuntimeClass()->CreateObject();
    auto* bar = dynamic_cast<CXTPCommandBar*>(made);
    if (bar == nullptr) {
        delete made;
        bar = IsPopupBar() ? static_cast<CXTPCommandBar*>(new CXTPPopupBar) : new CXTPToolBar;
    }
    bar->SetCommandBars(m_pCommandBars);
    bar->Copy(this, bRecursive);
    return bar;
}

// --- window ---

BOOL CXTPCommandBar::EnsureWindow() {
    return m_hWnd != nullptr;
}

LRESULT CXTPCommandBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeMode() &&
        CXTPCustomizeDropSource::OnBarMouse(this, message, point))
        return 0;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return 0;
    case WM_MOUSELEAVE:
        if (m_nPopuped < 0 && !m_bKeyboardSelect && ::GetCapture() != m_hWnd)
            SetSelected(-1);
        if (m_pCommandBars != nullptr)
            m_pCommandBars->GetToolTipContext()->CancelToolTips();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (CXTPControl* c = GetControl(HitTest(point));
            c != nullptr && (m_pCommandBars == nullptr || !m_pCommandBars->IsCustomizeMode()) &&
            c->OnLButtonDblClk(point))
            return 0;
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), point);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), point);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // The edit fields of controls in the theme's colours.
        const XTP_THEME_COLORS& c = CXTPPaintManager::Current()->GetColors();
        ::SetTextColor(reinterpret_cast<HDC>(wParam), c.clrWindowText);
        ::SetBkColor(reinterpret_cast<HDC>(wParam), c.clrEditFace);
        return reinterpret_cast<LRESULT>(CXTPPaintManager::Current()->GetEditBrush());
    }
    case WM_MOUSEACTIVATE:
        // Bars never take the activation from their frame.
        return IsPopupBar() ? MA_NOACTIVATE : CWnd::WindowProc(message, wParam, lParam);
    case WM_SIZE:
        OnRecalcLayout();
        Invalidate(FALSE);
        break;
    case WM_COMMAND:
        // An edit of a control changed: the control takes the text and tells the frame itself.
        if (HIWORD(wParam) == EN_CHANGE) {
            if (auto* edit = dynamic_cast<CXTPControlEditCtrl*>(
                    CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam)));
                edit != nullptr) {
                if (auto* control = dynamic_cast<CXTPControlEdit*>(edit->GetControl()))
                    control->textFromWindow();
                return 0;
            }
        }
        [[fallthrough]];
    case WM_NOTIFY:
        // The windows of controls (edits) talk to the bar; their commands belong to the frame.
        if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
            return site->SendMessage(message, wParam, lParam);
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPCommandBar::OnPaint() {
    CPaintDC dc(this);
    if (m_bRedrawSuppressed)
        return;
    CRect clip;
    dc.GetClipBox(&clip);
    if (clip.IsRectEmpty())
        GetClientRect(&clip);
    if (m_bLayoutPending)
        OnRecalcLayout();
    DrawCommandBar(&dc, clip);
}

void CXTPCommandBar::updateToolTip(CPoint point) {
    if (m_pCommandBars == nullptr)
        return;
    CXTPToolTipContext* tips = m_pCommandBars->GetToolTipContext();
    const int hit = HitTest(point);
    if (hit != m_nToolTip) {
        m_nToolTip = hit;
        CXTPControl* c = GetControl(hit);
        // Menus carry their captions already: only bars and button popups show tips.
        const BOOL wanted = c != nullptr && (!IsPopupBar() || (c->GetFlags() & xtpFlagShowPopupBarTip));
        tips->SetToolTip(m_hWnd, c != nullptr ? static_cast<UINT>(c->GetID()) : 0,
                         c != nullptr ? c->GetRect() : CRect(),
                         wanted ? dv::toolkit::tooltipOf(c) : CString());
    }
    tips->RelayEvent(m_hWnd, WM_MOUSEMOVE, point);
}

void CXTPCommandBar::OnMouseMove(UINT, CPoint point) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
    updateToolTip(point);
    const int hit = HitTest(point);
    CXTPControl* c = GetControl(hit);
    if (c != nullptr)
        c->OnMouseMove(point);
    if (hit >= 0 && !c->IsFocusable())
        return;
    if (hit < 0 && (m_nPopuped >= 0 || m_bKeyboardSelect))
        return;
    SetSelected(hit, FALSE);
    // Over a bar with an open popup, moving onto another popup control moves the popup.
    if (m_nPopuped >= 0 && hit >= 0 && hit != m_nPopuped && dynamic_cast<CXTPControlPopup*>(c) != nullptr &&
        c->GetType() != xtpControlSplitButtonPopup)
        SetPopuped(hit);
    else if (IsPopupBar() && hit >= 0 && hit != m_nPopuped) {
        // In a menu the submenu under the pointer opens; any other closes.
        if (c->GetType() == xtpControlPopup)
            SetPopuped(hit);
        else if (m_nPopuped >= 0)
            SetPopuped(-1);
    }
}

void CXTPCommandBar::OnLButtonDown(UINT, CPoint point) {
    if (m_pCommandBars != nullptr)
        m_pCommandBars->GetToolTipContext()->CancelToolTips();
    const int hit = HitTest(point);
    CXTPControl* c = GetControl(hit);
    if (c == nullptr)
        return;
    if (m_pCommandBars != nullptr && m_pCommandBars->IsCustomizeMode())
        return;
    auto* popup = dynamic_cast<CXTPControlPopup*>(c);
    if (popup != nullptr && (c->GetType() != xtpControlSplitButtonPopup || popup->IsSplitArrow(point))) {
        SetSelected(hit, FALSE);
        c->OnClick(FALSE, point);
        return;
    }
    if (c->GetType() == xtpControlEdit || c->GetType() == xtpControlComboBox ||
        c->GetType() == xtpControlGallery) {
        c->OnClick(FALSE, point);
        return;
    }
    if (!c->GetEnabled())
        return;
    m_nPressed = hit;
    c->SetPressed(TRUE);
    c->RedrawParent();
    ::SetCapture(m_hWnd);
}

void CXTPCommandBar::OnLButtonUp(UINT, CPoint point) {
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    const int pressed = m_nPressed;
    m_nPressed = -1;
    CXTPControl* c = GetControl(pressed);
    if (c == nullptr)
        return;
    c->SetPressed(FALSE);
    c->RedrawParent();
    if (HitTest(point) == pressed)
        c->OnLButtonUp(point); // may execute, and the bars may be gone afterwards
}

void CXTPCommandBar::OnRButtonUp(UINT, CPoint point) {
    if (m_pCommandBars == nullptr || IsPopupBar())
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    m_pCommandBars->ContextMenu(dynamic_cast<CXTPToolBar*>(this), screen);
}
