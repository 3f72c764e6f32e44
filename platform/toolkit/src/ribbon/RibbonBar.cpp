#include "xtp/RibbonBar.h"

#include "RibbonGroupsLayout.h"
#include "xtp/ControlEdit.h"
#include "xtp/RibbonBackstageView.h"
#include "xtp/ToolTipContext.h"

#include <algorithm>

namespace {

CXTPRibbonPaintManager* paint() {
    return CXTPRibbonPaintManager::Current();
}

int quickAccessRowHeight() {
    return CXTPDpi::ScaleY(26);
}

int captionButtonWidth() {
    return CXTPDpi::ScaleX(46);
}

} // namespace

// What lies under a point of the ribbon.
struct CXTPRibbonBar::Hit {
    CXTPControl* control = nullptr; // a group's, the quick access bar's or the File button
    CXTPRibbonTab* tab = nullptr;
    CXTPRibbonGroup* launcher = nullptr; // a group's launcher, or a collapsed group
    BOOL collapsed = FALSE;
    UINT captionButton = 0;
    BOOL caption = FALSE;
};

// ---- the tab strip control --------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPRibbonControlTab, CXTPControlPopup)

CXTPRibbonControlTab::CXTPRibbonControlTab() : m_pPaintManager(std::make_unique<CXTPTabPaintManager>()) {
    m_controlType = xtpControlPopup;
    m_dwFlags |= xtpFlagNoMovable | xtpFlagManualUpdate;
}

CXTPRibbonControlTab::~CXTPRibbonControlTab() = default;

CXTPRibbonBar* CXTPRibbonControlTab::GetRibbonBar() const {
    return dynamic_cast<CXTPRibbonBar*>(GetParent());
}

CXTPTabPaintManager* CXTPRibbonControlTab::GetPaintManager() const {
    return m_pPaintManager.get();
}

void CXTPRibbonControlTab::SetSelectedItem(CXTPTabManagerItem* pItem) {
    // Selection from the tab manager's side goes through the ribbon, which asks first.
    if (CXTPRibbonBar* ribbon = GetRibbonBar(); ribbon && pItem)
        ribbon->SetCurSel(pItem->GetIndex());
    else
        CXTPTabManager::SetSelectedItem(pItem);
}

void CXTPRibbonControlTab::RedrawControl() {
    if (CXTPRibbonBar* ribbon = GetRibbonBar(); ribbon && !ribbon->m_bSelectingTab)
        ribbon->DelayLayout();
}

HWND CXTPRibbonControlTab::GetMeasureWindow() const {
    CXTPRibbonBar* ribbon = GetRibbonBar();
    return ribbon ? ribbon->m_hWnd : nullptr;
}

void CXTPRibbonControlTab::Copy(CXTPControl* pControl, BOOL bRecursive) {
    CXTPControlPopup::Copy(pControl, bRecursive);
}

// ---- the File button --------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPRibbonControlSystemButton, CXTPControlPopup)

CXTPRibbonControlSystemButton::CXTPRibbonControlSystemButton() {
    m_controlType = xtpControlPopup;
    m_strCaption = L"&File";
    m_dwFlags |= xtpFlagNoMovable | xtpFlagManualUpdate;
}

BOOL CXTPRibbonControlSystemButton::OnSetPopup(BOOL bPopup) {
    if (auto* view = dynamic_cast<CXTPRibbonBackstageView*>(GetCommandBar())) {
        if (bPopup)
            return view->Popup(this);
        view->OnCancel();
        return TRUE;
    }
    return CXTPControlPopup::OnSetPopup(bPopup);
}

void CXTPRibbonControlSystemButton::OnClick(BOOL, CPoint) {
    auto* view = dynamic_cast<CXTPRibbonBackstageView*>(GetCommandBar());
    OnSetPopup(view ? !view->IsOpen() : !GetPopuped());
}

IMPLEMENT_DYNCREATE(CXTPRibbonQuickAccessControls, CXTPControls)

// ---- the ribbon -------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPRibbonBar, CXTPMenuBar)

CXTPRibbonBar::CXTPRibbonBar() {
    m_barType = xtpBarTypeRibbon;
    m_dwFlags |= xtpFlagStretched;
    m_bShowGripper = FALSE;
    m_dwDockingFlags = xtpFlagAlignTop;
    m_pSystemButton = new CXTPRibbonControlSystemButton;
    m_pControls->Add(m_pSystemButton, XTP_ID_RIBBONCONTROLSYSTEMBUTTON);
    m_pControlTab = new CXTPRibbonControlTab;
    m_pControls->Add(m_pControlTab, XTP_ID_RIBBONCONTROLTAB);
    m_pQuickAccessControls = new CXTPRibbonQuickAccessControls;
    m_pQuickAccessControls->SetParent(this);
}

CXTPRibbonBar::~CXTPRibbonBar() {
    HideKeyTips();
    if (m_pTabPopup) {
        m_pTabPopup->Close();
        m_pTabPopup->InternalRelease();
    }
    if (m_pGroupPopup) {
        m_pGroupPopup->Close();
        m_pGroupPopup->InternalRelease();
    }
    m_pControlTab->DeleteAllItems();
    m_pQuickAccessControls->RemoveAll();
    m_pQuickAccessControls->InternalRelease();
}

// ---- tabs -------------------------------------------------------------------------------------

CXTPRibbonTab* CXTPRibbonBar::AddTab(LPCWSTR lpszCaption, int nId) {
    return InsertTab(GetTabCount(), lpszCaption, nId);
}

CXTPRibbonTab* CXTPRibbonBar::InsertTab(int nIndex, LPCWSTR lpszCaption, int nId) {
    std::unique_ptr<CXTPRibbonTab> tab(CreateRibbonTab());
    tab->m_pRibbonBar = this;
    tab->m_nId = nId;
    tab->SetCaption(lpszCaption);
    auto* made = static_cast<CXTPRibbonTab*>(m_pControlTab->AttachItem(nIndex, std::move(tab)));
    // The first tab is selected as it comes, without asking anyone.
    if (!m_pControlTab->GetSelectedItem())
        m_pControlTab->CXTPTabManager::SetSelectedItem(made);
    DelayLayout();
    return made;
}

void CXTPRibbonBar::RemoveTab(int nIndex) {
    OnControlsChanged();
    m_pHotTab = nullptr;
    m_pControlTab->DeleteItem(nIndex);
    DelayLayout();
}

void CXTPRibbonBar::RemoveAllTabs() {
    HideKeyTips();
    m_pHotTab = nullptr;
    m_pHotControl = m_pPressedControl = nullptr;
    m_pHotLauncher = m_pPressedLauncher = nullptr;
    m_pControlTab->DeleteAllItems();
    DelayLayout();
}

int CXTPRibbonBar::GetTabCount() const {
    return m_pControlTab->GetItemCount();
}

CXTPRibbonTab* CXTPRibbonBar::GetTab(int nIndex) const {
    return static_cast<CXTPRibbonTab*>(m_pControlTab->GetItem(nIndex));
}

CXTPRibbonTab* CXTPRibbonBar::FindTab(int nId) const {
    for (int i = 0; i < GetTabCount(); ++i) {
        if (GetTab(i)->GetID() == nId && nId != 0)
            return GetTab(i);
    }
    return nullptr;
}

CXTPRibbonTab* CXTPRibbonBar::GetSelectedTab() const {
    return static_cast<CXTPRibbonTab*>(m_pControlTab->GetSelectedItem());
}

int CXTPRibbonBar::GetCurSel() const {
    return m_pControlTab->GetCurSel();
}

BOOL CXTPRibbonBar::OnTabChanging(CXTPRibbonTab*) {
    return FALSE;
}

void CXTPRibbonBar::OnTabChanged(CXTPRibbonTab*) {}

BOOL CXTPRibbonBar::SetCurSel(int nIndex) {
    CXTPRibbonTab* tab = GetTab(nIndex);
    if (!tab || !tab->IsVisible())
        return FALSE;
    if (tab == GetSelectedTab())
        return TRUE;
    if (OnTabChanging(tab))
        return FALSE;
    CWnd* site = GetSite();
    NMXTPTABCHANGE nm{{m_hWnd, static_cast<UINT_PTR>(XTP_ID_RIBBONCONTROLTAB), TCN_XTP_SELCHANGING}, tab};
    if (site && site->m_hWnd &&
        site->SendMessage(WM_NOTIFY, XTP_ID_RIBBONCONTROLTAB, reinterpret_cast<LPARAM>(&nm)) != 0)
        return FALSE;
    if (!GetTab(nIndex) || GetTab(nIndex) != tab)
        return FALSE; // the ribbon changed while it was asked
    m_bSelectingTab = true;
    m_pControlTab->CXTPTabManager::SetSelectedItem(tab);
    m_bSelectingTab = false;
    if (m_pTabPopup && m_pTabPopup->GetRibbonTab() != tab)
        m_pTabPopup->Close();
    // A tab chosen while scrolled out of its row (by a key tip, say) is brought into it.
    if (!m_rcTabScroll[0].IsRectEmpty() && m_hWnd) {
        m_nFirstTab = std::min(m_nFirstTab, nIndex);
        OnRecalcLayout();
        while (tab->GetRect().IsRectEmpty() && m_nFirstTab < nIndex) {
            ++m_nFirstTab;
            OnRecalcLayout();
        }
    }
    RecalcRibbonLayout();
    OnTabChanged(tab);
    nm.hdr.code = TCN_XTP_SELCHANGE;
    if (site && site->m_hWnd)
        site->SendMessage(WM_NOTIFY, XTP_ID_RIBBONCONTROLTAB, reinterpret_cast<LPARAM>(&nm));
    return TRUE;
}

// ---- File button, quick access, minimise, frame ---------------------------------------------

void CXTPRibbonBar::ShowSystemButton(BOOL bShow) {
    m_bSystemButtonVisible = bShow;
    m_pSystemButton->SetVisible(bShow);
    DelayLayout();
}

void CXTPRibbonBar::SetBackstageView(CXTPRibbonBackstageView* pView) {
    if (pView && !pView->GetCommandBars())
        pView->SetCommandBars(GetCommandBars());
    m_pSystemButton->SetCommandBar(pView);
}

CXTPRibbonBackstageView* CXTPRibbonBar::GetBackstageView() const {
    return dynamic_cast<CXTPRibbonBackstageView*>(m_pSystemButton->GetCommandBar());
}

void CXTPRibbonBar::ShowQuickAccess(BOOL bShow) {
    m_bShowQuickAccess = bShow;
    RecalcLayout();
}

void CXTPRibbonBar::ShowQuickAccessBelowRibbon(BOOL bBelow) {
    if (!bBelow == !m_bQuickAccessBelow)
        return;
    m_bQuickAccessBelow = bBelow;
    RecalcLayout();
}

void CXTPRibbonBar::SetRibbonMinimized(BOOL bMinimized) {
    if (!bMinimized == !m_bMinimized)
        return;
    m_bMinimized = bMinimized;
    if (!bMinimized && m_pTabPopup)
        m_pTabPopup->Close();
    RecalcLayout();
    if (CWnd* site = GetSite(); site != nullptr && site->m_hWnd != nullptr)
        site->SendMessage(WM_XTP_RIBBONMINIMIZED, 0, reinterpret_cast<LPARAM>(this));
}

CXTPRibbonTabPopupToolBar* CXTPRibbonBar::CreateTabPopupToolBar(CXTPRibbonTab* pTab) {
    return new CXTPRibbonTabPopupToolBar(pTab);
}

void CXTPRibbonBar::EnableFrameTheme(BOOL bEnable) {
    if (!bEnable == !m_bFrameTheme)
        return;
    m_bFrameTheme = bEnable;
    // The frame's own caption gives way to the ribbon's, and comes back with it off.
    if (CWnd* site = GetSite(); site && site->m_hWnd) {
        const LONG_PTR style = ::GetWindowLongPtrW(site->m_hWnd, GWL_STYLE);
        if (bEnable) {
            m_savedFrameStyle = style & WS_CAPTION;
            ::SetWindowLongPtrW(site->m_hWnd, GWL_STYLE, style & ~WS_CAPTION);
        } else {
            ::SetWindowLongPtrW(site->m_hWnd, GWL_STYLE, style | m_savedFrameStyle);
        }
        ::SetWindowPos(site->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RecalcLayout();
}

void CXTPRibbonBar::OnControlsChanged() {
    // What the pointer was over may be gone.
    HideKeyTips();
    m_pHotControl = m_pPressedControl = nullptr;
    m_pHotLauncher = m_pPressedLauncher = nullptr;
    DelayLayout();
}

HICON CXTPRibbonBar::GetControlIcon(CXTPControl*, int) {
    return nullptr;
}

CSize CXTPRibbonBar::GetIconSize() const {
    const int size = paint()->GetSmallIconSize();
    return CSize(size, size);
}

CSize CXTPRibbonBar::GetLargeIconSize() const {
    const int size = paint()->GetLargeIconSize();
    return CSize(size, size);
}

void CXTPRibbonBar::RecalcLayout() {
    if (m_pCommandBars)
        m_pCommandBars->RecalcFrameLayout();
    if (m_hWnd) {
        OnRecalcLayout();
        Invalidate(FALSE);
    }
}

void CXTPRibbonBar::RecalcRibbonLayout() {
    CRect window;
    if (m_hWnd == nullptr || !::GetWindowRect(m_hWnd, &window) ||
        CalcDynamicSize(window.Width(), 0).cy != window.Height()) {
        RecalcLayout();
        return;
    }
    OnRecalcLayout();
    Invalidate(FALSE);
}

// ---- layout -----------------------------------------------------------------------------------

CSize CXTPRibbonBar::CalcDynamicSize(int nLength, DWORD) {
    const BOOL captionRow = m_bFrameTheme || (m_bShowQuickAccess && !m_bQuickAccessBelow &&
                                              m_pQuickAccessControls->GetCount() > 0);
    int height = paint()->GetTabsHeight();
    if (captionRow)
        height += m_bFrameTheme ? paint()->GetCaptionHeight() : quickAccessRowHeight();
    if (!m_bMinimized)
        height += paint()->GetGroupsHeight();
    if (m_bShowQuickAccess && m_bQuickAccessBelow && m_pQuickAccessControls->GetCount() > 0)
        height += quickAccessRowHeight();
    return CSize(nLength > 0 ? nLength : CXTPDpi::ScaleX(600), height);
}

void CXTPRibbonBar::LayoutQuickAccess(CDC*) {
    const int size = CXTPDpi::ScaleX(24);
    int x = m_rcQuickAccess.left + 4;
    for (CXTPControl* c : *m_pQuickAccessControls) {
        if (!c->IsVisible() || !m_bShowQuickAccess) {
            c->SetRect(CRect());
            continue;
        }
        const int top = m_rcQuickAccess.CenterPoint().y - size / 2;
        c->SetRect(CRect(x, top, x + size, top + size));
        x += size + 1;
    }
    m_rcQuickAccess.right = std::min<int>(m_rcQuickAccess.right, x + 4);
}

void CXTPRibbonBar::LayoutCaption(CDC* pDC) {
    m_captionButtons.clear();
    m_rcCaptionText = m_rcCaption;
    int right = m_rcCaption.right;
    if (m_bFrameTheme) {
        CWnd* site = GetSite();
        const BOOL zoomed = site && site->m_hWnd && ::IsZoomed(site->m_hWnd);
        for (UINT command : {UINT(SC_CLOSE), UINT(zoomed ? SC_RESTORE : SC_MAXIMIZE), UINT(SC_MINIMIZE)}) {
            m_captionButtons.emplace_back(
                command, CRect(right - captionButtonWidth(), m_rcCaption.top, right, m_rcCaption.bottom));
            right -= captionButtonWidth();
        }
    }
    m_rcQuickAccess = CRect(m_rcCaption.left + 4, m_rcCaption.top, right, m_rcCaption.bottom);
    if (m_bShowQuickAccess && !m_bQuickAccessBelow)
        LayoutQuickAccess(pDC);
    else
        m_rcQuickAccess.right = m_rcQuickAccess.left;
    m_rcCaptionText = CRect(m_rcQuickAccess.right + 8, m_rcCaption.top, right - 8, m_rcCaption.bottom);
}

void CXTPRibbonBar::LayoutTabs(CDC* pDC) {
    m_pControlTab->SetRect(m_rcTabs);
    int x = m_rcTabs.left;
    CFont* old = pDC->SelectObject(CXTPPaintManager::Current()->GetRegularFont());
    if (m_bSystemButtonVisible) {
        const int width =
            pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(m_pSystemButton->GetCaption())).cx +
            CXTPDpi::ScaleX(28);
        m_pSystemButton->SetRect(CRect(x, m_rcTabs.top, x + width, m_rcTabs.bottom));
        x += width;
    } else {
        m_pSystemButton->SetRect(CRect());
    }
    x += CXTPDpi::ScaleX(4);
    std::vector<int> widths(static_cast<size_t>(GetTabCount()), 0);
    int total = 0;
    for (int i = 0; i < GetTabCount(); ++i) {
        CXTPRibbonTab* tab = GetTab(i);
        if (tab->IsVisible())
            widths[static_cast<size_t>(i)] =
                pDC->GetTextExtent(CXTPDrawHelpers::StripMnemonics(tab->GetCaption())).cx +
                CXTPDpi::ScaleX(22);
        total += widths[static_cast<size_t>(i)];
    }
    pDC->SelectObject(old);
    // Too many tabs for the row: an arrow at each end, and the tabs from the first shown on, as
    // many as fit whole.
    int right = m_rcTabs.right;
    m_rcTabScroll[0].SetRectEmpty();
    m_rcTabScroll[1].SetRectEmpty();
    if (total > right - x) {
        const int arrow = CXTPDpi::ScaleX(18);
        m_rcTabScroll[0] = CRect(x, m_rcTabs.top + 2, x + arrow, m_rcTabs.bottom);
        m_rcTabScroll[1] = CRect(right - arrow, m_rcTabs.top + 2, right, m_rcTabs.bottom);
        x += arrow;
        right -= arrow;
        // Never scrolled further than needed to show the last tab.
        int fromEnd = 0, first = GetTabCount();
        while (first > 0 && fromEnd + widths[static_cast<size_t>(first - 1)] <= right - x)
            fromEnd += widths[static_cast<size_t>(--first)];
        m_nFirstTab = std::clamp(m_nFirstTab, 0, first);
    } else {
        m_nFirstTab = 0;
    }
    m_bTabsCutOff = FALSE;
    for (int i = 0; i < GetTabCount(); ++i) {
        CXTPRibbonTab* tab = GetTab(i);
        const int width = widths[static_cast<size_t>(i)];
        if (!tab->IsVisible() || i < m_nFirstTab || m_bTabsCutOff || x + width > right) {
            m_bTabsCutOff = m_bTabsCutOff || (tab->IsVisible() && i >= m_nFirstTab);
            tab->SetRect(CRect());
            continue;
        }
        tab->SetRect(CRect(x, m_rcTabs.top + 2, x + width, m_rcTabs.bottom));
        x += width;
    }
}

void CXTPRibbonBar::OnRecalcLayout() {
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    int y = rc.top;
    m_rcCaption.SetRectEmpty();
    m_rcQuickAccess.SetRectEmpty();
    const BOOL quickAbove =
        m_bShowQuickAccess && !m_bQuickAccessBelow && m_pQuickAccessControls->GetCount() > 0;
    if (m_bFrameTheme || quickAbove) {
        const int height = m_bFrameTheme ? paint()->GetCaptionHeight() : quickAccessRowHeight();
        m_rcCaption = CRect(rc.left, y, rc.right, y + height);
        y += height;
    }
    LayoutCaption(&dc);
    m_rcTabs = CRect(rc.left, y, rc.right, y + paint()->GetTabsHeight());
    y += m_rcTabs.Height();
    LayoutTabs(&dc);
    if (!m_bMinimized) {
        m_rcGroups = CRect(rc.left, y, rc.right, y + paint()->GetGroupsHeight());
        y += m_rcGroups.Height();
        CXTPRibbonGroupsLayout::Layout(&dc, this, GetSelectedTab(), m_rcGroups);
    } else {
        m_rcGroups.SetRectEmpty();
    }
    // The edit fields of the selected tab's controls take the keys in windows of their own; the
    // other tabs' have none.
    for (int t = 0; t < GetTabCount(); ++t) {
        CXTPRibbonTab* tab = GetTab(t);
        const BOOL selected = !m_bMinimized && m_hWnd != nullptr && tab == GetSelectedTab();
        for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
            for (int i = 0; i < group->GetCount(); ++i) {
                CXTPControl* c = group->GetAt(i);
                if (auto* edit = dynamic_cast<CXTPControlEdit*>(c))
                    edit->OnShowWindow(selected && group->IsVisible() && c->IsVisible() &&
                                       !c->GetRect().IsRectEmpty());
            }
        }
    }
    if (m_bShowQuickAccess && m_bQuickAccessBelow && m_pQuickAccessControls->GetCount() > 0) {
        m_rcQuickAccess = CRect(rc.left, y, rc.right, y + quickAccessRowHeight());
        LayoutQuickAccess(&dc);
        m_rcQuickAccess.right = rc.right;
    }
    if (!m_keyTips.empty())
        BuildKeyTips(m_nKeyTipLevel, GetSelectedTab());
    m_bLayoutPending = FALSE;
}

// ---- painting ---------------------------------------------------------------------------------

int CXTPRibbonBar::ButtonState(CXTPControl* pControl) const {
    int state = 0;
    if (!pControl->GetEnabled())
        return xtpRibbonButtonDisabled;
    if (pControl == m_pHotControl)
        state |= xtpRibbonButtonHot;
    if (pControl == m_pPressedControl && pControl == m_pHotControl)
        state |= xtpRibbonButtonPressed;
    if (auto* popup = dynamic_cast<CXTPControlPopup*>(pControl); popup && popup->GetPopuped())
        state |= xtpRibbonButtonPressed;
    if (pControl->GetChecked())
        state |= xtpRibbonButtonChecked;
    return state;
}

void CXTPRibbonBar::DrawQuickAccess(CDC* pDC) {
    for (CXTPControl* c : *m_pQuickAccessControls) {
        if (!c->IsVisible() || c->GetRect().IsRectEmpty())
            continue;
        DrawQuickAccessControl(pDC, c);
    }
}

void CXTPRibbonBar::DrawQuickAccessControl(CDC* pDC, CXTPControl* pControl) {
    paint()->DrawButton(pDC, pControl->GetRect(), pControl->GetCaption(),
                        GetControlIcon(pControl, GetIconSize().cx), 2, ButtonState(pControl), FALSE,
                        GetIconSize().cx);
}

BOOL CXTPRibbonBar::IsFreeControl(const CXTPControl* pControl) const {
    return pControl != m_pSystemButton && pControl != m_pControlTab && pControl->IsVisible() &&
           !pControl->GetRect().IsRectEmpty();
}

void CXTPRibbonBar::DrawFreeControls(CDC* pDC) {
    for (CXTPControl* c : *m_pControls) {
        if (!IsFreeControl(c))
            continue;
        const BOOL iconOnly = c->GetStyle() == xtpButtonIcon;
        const CString caption = iconOnly ? CString() : c->GetCaption();
        const BOOL dropDown = dynamic_cast<CXTPControlPopup*>(c) != nullptr;
        HICON icon = GetControlIcon(c, GetIconSize().cx);
        if (!m_rcCaption.IsRectEmpty() && c->GetRect().top < m_rcCaption.bottom)
            paint()->DrawCaptionControl(pDC, c->GetRect(), caption, icon, GetIconSize().cx, ButtonState(c),
                                        dropDown);
        else
            paint()->DrawButton(pDC, c->GetRect(), caption, icon, iconOnly ? 2 : 1, ButtonState(c), dropDown,
                                GetIconSize().cx);
    }
}

void CXTPRibbonBar::DrawCommandBar(CDC* pDC, CRect) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, paint()->GetTabsFace());
    paint()->FillRibbonBar(pDC, m_rcCaption, m_rcTabs, m_rcGroups);
    if (!m_rcCaption.IsRectEmpty()) {
        CRect text = m_rcCaptionText;
        // Contextual headers stand above their tabs, in the caption row.
        for (int i = 0; i < GetTabCount();) {
            CXTPRibbonTab* tab = GetTab(i);
            if (!tab->IsVisible() || tab->GetContextColor() == xtpRibbonTabContextColorNone) {
                ++i;
                continue;
            }
            CRect header(tab->GetRect().left, m_rcCaption.top, tab->GetRect().right, m_rcCaption.bottom);
            int j = i + 1;
            for (; j < GetTabCount(); ++j) {
                CXTPRibbonTab* next = GetTab(j);
                if (!next->IsVisible())
                    continue;
                if (next->GetContextColor() != tab->GetContextColor() ||
                    next->GetContextCaption() != tab->GetContextCaption())
                    break;
                header.right = next->GetRect().right;
            }
            if (m_bFrameTheme)
                paint()->DrawContextHeader(pDC, header, tab->GetContextCaption(), tab->GetContextColor());
            if (header.left < text.CenterPoint().x)
                text.left = std::max<int>(text.left, header.right + 4);
            else
                text.right = std::min<int>(text.right, header.left - 4);
            i = j;
        }
        if (m_bFrameTheme) {
            CString title;
            if (CWnd* site = GetSite(); site && site->m_hWnd)
                site->GetWindowText(title);
            paint()->DrawCaptionText(pDC, text, title);
            for (const auto& [command, rc] : m_captionButtons)
                paint()->DrawCaptionButton(pDC, rc, command,
                                           command == m_nHotCaptionButton ? xtpRibbonButtonHot : 0);
        }
        if (!m_bQuickAccessBelow)
            DrawQuickAccess(pDC);
    }
    if (m_bSystemButtonVisible)
        paint()->DrawSystemButton(pDC, m_pSystemButton->GetRect(), m_pSystemButton->GetCaption(),
                                  ButtonState(m_pSystemButton));
    for (int i = 0; i < GetTabCount(); ++i) {
        CXTPRibbonTab* tab = GetTab(i);
        if (!tab->IsVisible() || tab->GetRect().IsRectEmpty())
            continue;
        const BOOL selected =
            tab == GetSelectedTab() && (!m_bMinimized || (m_pTabPopup && m_pTabPopup->IsOpen()));
        paint()->DrawTab(pDC, tab->GetRect(), tab->GetCaption(), selected,
                         tab == m_pHotTab ? xtpRibbonButtonHot : 0, tab->GetContextColor());
    }
    DrawTabScrollButtons(pDC);
    DrawFreeControls(pDC);
    if (!m_bMinimized)
        CXTPRibbonGroupsLayout::Draw(pDC, this, GetSelectedTab());
    if (m_bQuickAccessBelow && !m_rcQuickAccess.IsRectEmpty()) {
        pDC->FillSolidRect(&m_rcQuickAccess, paint()->GetTabsFace());
        DrawQuickAccess(pDC);
    }
    DrawKeyTips(pDC);
}

// ---- the mouse --------------------------------------------------------------------------------

CXTPRibbonBar::Hit CXTPRibbonBar::HitTestRibbon(CPoint point) const {
    Hit hit;
    for (const auto& [command, rc] : m_captionButtons) {
        if (rc.PtInRect(point)) {
            hit.captionButton = command;
            return hit;
        }
    }
    for (CXTPControl* c : *m_pQuickAccessControls) {
        if (c->IsVisible() && c->GetRect().PtInRect(point)) {
            hit.control = c;
            return hit;
        }
    }
    if (m_bSystemButtonVisible && m_pSystemButton->GetRect().PtInRect(point)) {
        hit.control = m_pSystemButton;
        return hit;
    }
    for (CXTPControl* c : *m_pControls) {
        if (IsFreeControl(c) && c->GetRect().PtInRect(point)) {
            hit.control = c;
            return hit;
        }
    }
    if (m_rcTabs.PtInRect(point)) {
        for (int i = 0; i < GetTabCount(); ++i) {
            if (GetTab(i)->IsVisible() && GetTab(i)->GetRect().PtInRect(point))
                hit.tab = GetTab(i);
        }
        return hit;
    }
    if (m_rcGroups.PtInRect(point)) {
        const CXTPRibbonGroupsLayout::Hit g = CXTPRibbonGroupsLayout::HitTest(GetSelectedTab(), point);
        hit.control = g.control;
        if (g.launcher || (g.group && g.group->IsReduced())) {
            hit.launcher = g.group;
            hit.collapsed = g.group->IsReduced();
        }
        return hit;
    }
    hit.caption = m_rcCaption.PtInRect(point);
    return hit;
}

XTP_RIBBON_HITINFO CXTPRibbonBar::HitTestPoint(CPoint point) const {
    const Hit hit = HitTestRibbon(point);
    XTP_RIBBON_HITINFO info;
    info.pControl = hit.control;
    info.pTab = hit.tab;
    info.bCaption = hit.caption;
    info.bTabRow = m_rcTabs.PtInRect(point);
    info.bGroups = m_rcGroups.PtInRect(point);
    info.bGroupButton = hit.launcher != nullptr;
    if (info.bGroups && GetSelectedTab() != nullptr)
        info.pGroup = CXTPRibbonGroupsLayout::HitTest(GetSelectedTab(), point).group;
    return info;
}

void CXTPRibbonBar::SetHot(CXTPControl* pControl, CXTPRibbonTab* pTab, CXTPRibbonGroup* pLauncher) {
    if (pControl == m_pHotControl && pTab == m_pHotTab && pLauncher == m_pHotLauncher)
        return;
    m_pHotControl = pControl;
    m_pHotTab = pTab;
    m_pHotLauncher = pLauncher;
    Invalidate(FALSE);
}

void CXTPRibbonBar::OnRibbonMouseMove(CPoint point) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
    const Hit hit = HitTestRibbon(point);
    if (hit.captionButton != m_nHotCaptionButton) {
        m_nHotCaptionButton = hit.captionButton;
        Invalidate(FALSE);
    }
    SetHot(hit.control, hit.tab, hit.launcher);
    if (m_pCommandBars && hit.control && hit.control != m_pSystemButton) {
        m_pCommandBars->GetToolTipContext()->SetToolTip(m_hWnd, static_cast<UINT>(hit.control->GetID()),
                                                        hit.control->GetRect(), hit.control->GetTooltip());
        m_pCommandBars->GetToolTipContext()->RelayEvent(m_hWnd, WM_MOUSEMOVE, point);
    }
}

void CXTPRibbonBar::OnRibbonLButtonDown(CPoint point) {
    HideKeyTips();
    if (m_pCommandBars)
        m_pCommandBars->GetToolTipContext()->CancelToolTips();
    if (const int way = HitTestTabScroll(point)) {
        ScrollTabs(way);
        return;
    }
    const Hit hit = HitTestRibbon(point);
    if (hit.control == m_pSystemButton) {
        m_pSystemButton->OnClick(FALSE, point);
        return;
    }
    if (hit.tab) {
        const BOOL wasSelected = hit.tab == GetSelectedTab();
        if (!SetCurSel(hit.tab->GetIndex()))
            return;
        if (m_bMinimized) {
            if (wasSelected && m_pTabPopup && m_pTabPopup->IsOpen()) {
                m_pTabPopup->Close();
                Invalidate(FALSE);
                return;
            }
            if (m_pTabPopup) {
                m_pTabPopup->Close();
                m_pTabPopup->InternalRelease();
            }
            m_pTabPopup = CreateTabPopupToolBar(hit.tab);
            if (m_pTabPopup) {
                m_pTabPopup->SetCommandBars(GetCommandBars());
                m_pTabPopup->PopupUnder(this);
            }
            Invalidate(FALSE);
        }
        return;
    }
    if (hit.collapsed) {
        OpenCollapsedGroup(hit.launcher);
        return;
    }
    if (hit.launcher) {
        m_pPressedLauncher = hit.launcher;
        ::SetCapture(m_hWnd);
        Invalidate(FALSE);
        return;
    }
    if (hit.captionButton) {
        ::SetCapture(m_hWnd);
        return;
    }
    if (hit.caption && m_bFrameTheme) {
        // The ribbon's caption is the frame's: a press there moves the frame.
        if (CWnd* site = GetSite(); site && site->m_hWnd) {
            CPoint screen = point;
            ClientToScreen(&screen);
            site->SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    CXTPControl* c = hit.control;
    if (!c || !c->GetEnabled())
        return;
    if (auto* popup = dynamic_cast<CXTPControlPopup*>(c);
        popup && c->GetType() != xtpControlSplitButtonPopup && popup->GetCommandBar()) {
        // The control may fill its popup first, or refuse to open it.
        popup->OnSetPopup(TRUE);
        return;
    }
    if (!CXTPRibbonGroupsLayout::IsButton(c) && m_pQuickAccessControls->IndexOf(c) < 0) {
        c->OnClick(FALSE, point);
        return;
    }
    m_pPressedControl = c;
    ::SetCapture(m_hWnd);
    Invalidate(FALSE);
}

void CXTPRibbonBar::OnRibbonLButtonUp(CPoint point) {
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    const Hit hit = HitTestRibbon(point);
    CXTPControl* pressed = m_pPressedControl;
    CXTPRibbonGroup* launcher = m_pPressedLauncher;
    m_pPressedControl = nullptr;
    m_pPressedLauncher = nullptr;
    Invalidate(FALSE);
    if (pressed && hit.control == pressed && pressed->GetEnabled()) {
        pressed->OnExecute();
        return;
    }
    if (launcher && hit.launcher == launcher && !hit.collapsed) {
        if (CWnd* site = GetSite(); site && site->m_hWnd)
            site->SendMessage(WM_COMMAND, MAKEWPARAM(launcher->GetID(), 0), 0);
        return;
    }
    if (hit.captionButton) {
        if (CWnd* site = GetSite(); site && site->m_hWnd)
            site->PostMessage(WM_SYSCOMMAND, hit.captionButton, 0);
    }
}

void CXTPRibbonBar::OnRibbonLButtonDblClk(CPoint point) {
    const Hit hit = HitTestRibbon(point);
    if (hit.tab) {
        SetRibbonMinimized(!m_bMinimized);
        return;
    }
    if (hit.caption && m_bFrameTheme) {
        CWnd* site = GetSite();
        if (site && site->m_hWnd)
            site->PostMessage(WM_SYSCOMMAND, ::IsZoomed(site->m_hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
        return;
    }
    OnRibbonLButtonDown(point);
}

BOOL CXTPRibbonBar::OpenCollapsedGroup(CXTPRibbonGroup* pGroup) {
    if (!pGroup || !pGroup->IsReduced() || !m_hWnd)
        return FALSE;
    // The group's controls, copied into a popup under the collapsed group; the ribbon keeps it
    // until the next one.
    if (m_pGroupPopup) {
        m_pGroupPopup->Close();
        m_pGroupPopup->InternalRelease();
    }
    CXTPPopupBar* popup = CXTPPopupBar::CreatePopupBar(GetCommandBars());
    m_pGroupPopup = popup;
    for (int i = 0; i < pGroup->GetCount(); ++i) {
        if (pGroup->GetAt(i)->IsVisible())
            popup->GetControls()->AddClone(pGroup->GetAt(i));
    }
    CRect rc = pGroup->GetRect();
    ClientToScreen(&rc);
    return popup->Popup(rc.left, rc.bottom, &rc);
}

void CXTPRibbonBar::OnUpdateCmdUI() {
    CXTPMenuBar::OnUpdateCmdUI();
    CWnd* site = GetSite();
    if (!site)
        return;
    for (CXTPControl* c : *m_pQuickAccessControls)
        c->OnIdleUpdate(site);
    if (CXTPRibbonTab* tab = GetSelectedTab()) {
        for (int g = 0; g < tab->GetGroups()->GetCount(); ++g) {
            CXTPRibbonGroup* group = tab->GetGroups()->GetAt(g);
            for (int i = 0; i < group->GetCount(); ++i) {
                if (!(group->GetAt(i)->GetFlags() & xtpFlagManualUpdate))
                    group->GetAt(i)->OnIdleUpdate(site);
            }
        }
    }
}

LRESULT CXTPRibbonBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_MOUSEMOVE:
        OnRibbonMouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        m_nHotCaptionButton = 0;
        if (::GetCapture() != m_hWnd)
            SetHot(nullptr, nullptr, nullptr);
        if (m_pCommandBars)
            m_pCommandBars->GetToolTipContext()->CancelToolTips();
        Invalidate(FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        OnRibbonLButtonDown(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnRibbonLButtonDblClk(point);
        return 0;
    case WM_LBUTTONUP:
        OnRibbonLButtonUp(point);
        return 0;
    case WM_MOUSEWHEEL: {
        // Over a row of tabs too long for the ribbon the wheel scrolls it, a tab a notch.
        CPoint at = point;
        ScreenToClient(&at);
        if (m_rcTabs.PtInRect(at) && !m_rcTabScroll[0].IsRectEmpty()) {
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            ScrollTabs(notches != 0 ? -notches : (GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : -1));
            return 0;
        }
        return CXTPMenuBar::WindowProc(message, wParam, lParam);
    }
    case WM_SIZE: {
        const LRESULT result = CXTPMenuBar::WindowProc(message, wParam, lParam);
        OnRecalcLayout();
        Invalidate(FALSE);
        return result;
    }
    default:
        return CXTPMenuBar::WindowProc(message, wParam, lParam);
    }
}

int CXTPRibbonBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) {
    if (m_hWnd && (nMessage == WM_SETTEXT || nMessage == WM_NCACTIVATE || nMessage == WM_SIZE))
        ::InvalidateRect(m_hWnd, &m_rcCaption, FALSE);
    return CXTPMenuBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

// ---- a minimised ribbon's tab popup -----------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTPRibbonTabPopupToolBar, CXTPPopupBar)

CXTPRibbonTabPopupToolBar::CXTPRibbonTabPopupToolBar() : m_pCopies(std::make_unique<CXTPRibbonTab>()) {}

CXTPRibbonTabPopupToolBar::CXTPRibbonTabPopupToolBar(CXTPRibbonTab* pRibbonTab)
    : m_pRibbonTab(pRibbonTab), m_pCopies(std::make_unique<CXTPRibbonTab>()) {
    if (pRibbonTab == nullptr)
        return;
    // The copies are made with the ribbon's group class and icons, but act in the popup: a copy
    // that runs tells the site of itself, not of the ribbon's control.
    m_pCopies->m_pRibbonBar = pRibbonTab->GetRibbonBar();
    m_pCopies->SetCaption(pRibbonTab->GetCaption());
    CXTPRibbonGroups* groups = pRibbonTab->GetGroups();
    for (int g = 0; g < groups->GetCount(); ++g) {
        CXTPRibbonGroup* source = groups->GetAt(g);
        CXTPRibbonGroup* copy = m_pCopies->GetGroups()->Add(source->GetCaption(), source->GetID());
        copy->SetVisible(source->IsVisible());
        copy->ShowOptionButton(source->IsOptionButtonVisible());
        copy->SetReducePriority(source->GetReducePriority());
        copy->SetIconId(source->GetIconId());
        for (CXTPControl* control : *source->GetControls())
            if (control->IsVisible())
                copy->GetControls()->AddClone(control, -1, TRUE);
        copy->GetControls()->SetParent(this);
    }
}

CXTPRibbonTabPopupToolBar::~CXTPRibbonTabPopupToolBar() = default;

CXTPRibbonGroups* CXTPRibbonTabPopupToolBar::GetGroups() const {
    return m_pCopies->GetGroups();
}

CXTPRibbonBar* CXTPRibbonTabPopupToolBar::GetRibbonBar() const {
    return m_pRibbonTab ? m_pRibbonTab->GetRibbonBar() : nullptr;
}

BOOL CXTPRibbonTabPopupToolBar::PopupUnder(CXTPRibbonBar* pRibbon) {
    CRect tabs = pRibbon->GetTabsRect();
    pRibbon->ClientToScreen(&tabs);
    m_nWidth = tabs.Width();
    return Popup(tabs.left, tabs.bottom, &tabs);
}

CSize CXTPRibbonTabPopupToolBar::GetLargeIconSize() const {
    CXTPRibbonBar* ribbon = GetRibbonBar();
    return ribbon ? ribbon->GetLargeIconSize()
                  : CSize(paint()->GetLargeIconSize(), paint()->GetLargeIconSize());
}

CSize CXTPRibbonTabPopupToolBar::CalcDynamicSize(int, DWORD) {
    return CSize(std::max(m_nWidth, CXTPDpi::ScaleX(200)), paint()->GetGroupsHeight());
}

void CXTPRibbonTabPopupToolBar::OnRecalcLayout() {
    if (!m_hWnd || !GetRibbonBar())
        return;
    CClientDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CXTPRibbonGroupsLayout::Layout(&dc, GetRibbonBar(), m_pCopies.get(), rc);
    m_bLayoutPending = FALSE;
}

void CXTPRibbonTabPopupToolBar::DrawCommandBar(CDC* pDC, CRect) {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, paint()->GetGroupsFace());
    pDC->Draw3dRect(&rc, CXTPPaintManager::Current()->GetColors().clrBarBorder,
                    CXTPPaintManager::Current()->GetColors().clrBarBorder);
    if (GetRibbonBar())
        CXTPRibbonGroupsLayout::Draw(pDC, GetRibbonBar(), m_pCopies.get());
}

LRESULT CXTPRibbonTabPopupToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP && GetRibbonBar()) {
        const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        const CXTPRibbonGroupsLayout::Hit hit = CXTPRibbonGroupsLayout::HitTest(m_pCopies.get(), point);
        CXTPRibbonBar* ribbon = GetRibbonBar();
        if (hit.control && hit.control->GetEnabled()) {
            CXTPControl* control = hit.control;
            Close();
            control->OnExecute();
            // The groups go back to the ribbon's own layout.
            ribbon->RecalcLayout();
        } else if (hit.launcher && hit.group) {
            const int id = hit.group->GetID();
            Close();
            if (CWnd* site = ribbon->GetSite(); site && site->m_hWnd)
                site->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
        return 0;
    }
    if (message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE)
        return 0;
    if (message == WM_SIZE) {
        const LRESULT result = CXTPPopupBar::WindowProc(message, wParam, lParam);
        OnRecalcLayout();
        return result;
    }
    return CXTPPopupBar::WindowProc(message, wParam, lParam);
}
